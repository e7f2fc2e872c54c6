#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace qz::test {

// The text of a PDF laid out as on its pages (pdftotext -layout), one string per line.
inline QStringList pdfLines(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000)) return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n');
}

}  // namespace qz::test
