#include "app/qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace qz {
namespace {

QMessageBox::Icon qtIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Critical:
            return QMessageBox::Critical;
        case PromptIcon::Exclamation:
            return QMessageBox::Warning;
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::OK:
            return QMessageBox::Ok;
        case PromptButtons::OKCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case PromptButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case PromptButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case PromptButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case PromptButtons::AbortRetryIgnore:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

PromptAnswer answerOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return PromptAnswer::OK;
        case QMessageBox::Abort:
            return PromptAnswer::Abort;
        case QMessageBox::Retry:
            return PromptAnswer::Retry;
        case QMessageBox::Ignore:
            return PromptAnswer::Ignore;
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Cancel;
    }
}

}  // namespace

QString qtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString display = parts[i].trimmed();
        display.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)$")));
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        if (patterns.trimmed() == QLatin1String("*.*")) patterns = QStringLiteral("*");
        entries << display + " (" + patterns.trimmed() + ")";
    }
    return entries.join(QStringLiteral(";;"));
}

PromptAnswer QtPrompts::message(const std::string& text, PromptIcon icon, PromptButtons buttons,
                                const std::string& title) {
    QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                    qtButtons(buttons), QApplication::activeWindow());
    return answerOf(box.exec());
}

std::optional<std::string> QtPrompts::input(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(
        QApplication::activeWindow(), QString::fromStdString(title), QString::fromStdString(prompt),
        QLineEdit::Normal, QString::fromStdString(defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::string QtPrompts::openFileName(const std::string& title, const std::string& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                        QString(), qtFileFilter(filter))
        .toStdString();
}

std::string QtPrompts::saveFileName(const std::string& title, const std::string& filter) {
    // The program asks about an existing file itself.
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                        QString(), qtFileFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite)
        .toStdString();
}

}  // namespace qz
