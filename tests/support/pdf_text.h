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

// What a poppler tool writes for a PDF, or nothing when it is missing or hangs.
inline QByteArray pdfTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    return process.waitForFinished(30000) ? process.readAllStandardOutput() : QByteArray();
}

// The text of a PDF laid out as on its pages (pdftotext -layout), one string per line.
inline QStringList pdfLines(const QString& path) {
    const QByteArray text = pdfTool("pdftotext", {"-layout", path, "-"});
    return text.isEmpty() ? QStringList() : QString::fromUtf8(text).split(u'\n');
}

// Page `page` (from 1) of a PDF as a picture at `dpi`, or a null image without pdftoppm.
inline QImage pdfPage(const QString& path, int page, int dpi = 40) {
    const QString n = QString::number(page);
    return QImage::fromData(
        pdfTool("pdftoppm", {"-f", n, "-l", n, "-r", QString::number(dpi), "-png", path}), "PNG");
}

// The words of page `page` with their boxes in points: (text, box).
inline std::vector<std::pair<QString, QRectF>> pdfWords(const QString& path, int page) {
    const QString n = QString::number(page);
    const QString boxes =
        QString::fromUtf8(pdfTool("pdftotext", {"-f", n, "-l", n, "-bbox", path, "-"}));
    std::vector<std::pair<QString, QRectF>> words;
    const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (const auto& m : word.globalMatch(boxes)) {
        const QPointF from(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF to(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.emplace_back(m.captured(5), QRectF(from, to));
    }
    return words;
}

}  // namespace qz::test
