#pragma once

#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace qz::test {

// The text of a PDF laid out as on its pages (pdftotext -layout), one string per line.
inline QStringList pdfLines(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000)) return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n');
}

// Page `page` (from 1) of a PDF as a picture at `dpi`, or a null image without pdftoppm.
inline QImage pdfPage(const QString& path, int page, int dpi = 40) {
    QProcess pdftoppm;
    const QString number = QString::number(page);
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {"-f", number, "-l", number, "-r", QString::number(dpi), "-png", path});
    if (!pdftoppm.waitForFinished(30000)) return {};
    return QImage::fromData(pdftoppm.readAllStandardOutput(), "PNG");
}

// The words of page `page` with their boxes in points: (text, box).
inline std::vector<std::pair<QString, QRectF>> pdfWords(const QString& path, int page) {
    QProcess pdftotext;
    const QString number = QString::number(page);
    pdftotext.start(QStringLiteral("pdftotext"), {"-f", number, "-l", number, "-bbox", path, "-"});
    if (!pdftotext.waitForFinished(30000)) return {};
    std::vector<std::pair<QString, QRectF>> words;
    const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (const auto& m : word.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput()))) {
        const QPointF from(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF to(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.emplace_back(m.captured(5), QRectF(from, to));
    }
    return words;
}

}  // namespace qz::test
