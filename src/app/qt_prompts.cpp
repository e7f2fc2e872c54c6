#include "app/qt_prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QSpacerItem>
#include <QStandardPaths>

#include "link/port_directory.h"
#include "widgets/window_title.h"

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

// Shows the ordinary arrow over a prompt while the window shows the busy cursor.
class ArrowCursor {
  public:
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

// The folder the file dialogs last used, kept in the user's settings.
class LastFolder {
  public:
    LastFolder()
        : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tunewell"),
                    QString::fromLatin1(kSettingsApplication)) {}
    QString path() const { return dialogStartFolder(settings_.value(kKey).toString()); }
    std::string remember(const QString& chosen) {
        if (!chosen.isEmpty()) settings_.setValue(kKey, QFileInfo(chosen).absolutePath());
        return chosen.toStdString();
    }

  private:
    static constexpr auto kKey = "Files/LastFolder";
    QSettings settings_;
};

}  // namespace

QString dialogStartFolder(const QString& remembered) {
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

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
                                const std::string& title, const std::string& detail) {
    const ArrowCursor arrow;
    const QString caption = QString::fromStdString(title);
    QMessageBox box(qtIcon(icon), caption, QString::fromStdString(text), qtButtons(buttons),
                    QApplication::activeWindow());
    if (!detail.empty()) box.setDetailedText(QString::fromStdString(detail));
    // A message box sizes itself to its text alone; a short text would cut a long title.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(widthForTitle(caption), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return answerOf(box.exec());
}

std::optional<std::string> QtPrompts::input(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
    const ArrowCursor arrow;
    bool ok = false;
    const QString text = QInputDialog::getText(
        QApplication::activeWindow(), QString::fromStdString(title), QString::fromStdString(prompt),
        QLineEdit::Normal, QString::fromStdString(defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::string QtPrompts::openFileName(const std::string& title, const std::string& filter) {
    const ArrowCursor arrow;
    LastFolder folder;
    return folder.remember(QFileDialog::getOpenFileName(QApplication::activeWindow(),
                                                        QString::fromStdString(title),
                                                        folder.path(), qtFileFilter(filter)));
}

std::string QtPrompts::saveFileName(const std::string& title, const std::string& filter,
                                    const std::string& proposedName) {
    const ArrowCursor arrow;
    LastFolder folder;
    const QFileInfo proposed(QString::fromStdString(proposedName));
    const QString start = proposedName.empty()    ? folder.path()
                          : proposed.isAbsolute() ? proposed.filePath()
                                                  : folder.path() + '/' + proposed.fileName();
    // The program asks about an existing file itself.
    return folder.remember(QFileDialog::getSaveFileName(
        QApplication::activeWindow(), QString::fromStdString(title), start, qtFileFilter(filter),
        nullptr, QFileDialog::DontConfirmOverwrite));
}

}  // namespace qz
