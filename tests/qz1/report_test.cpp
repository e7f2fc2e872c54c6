#include <gtest/gtest.h>

#include <QRegularExpression>

#include "qz1/qz1_harness.h"
#include "support/file_size_limit.h"
#include "support/pdf_text.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

// Every "label:  value" line of the parameter page has its value in one column.
void expectValuesAligned(const QStringList& lines) {
    const QRegularExpression labelled(QStringLiteral("^(\\s*)(\\S[^:]*:)(\\s+)(\\S.*)$"));
    int valueColumn = -1;
    int labelColumn = -1;
    int counted = 0;
    for (const QString& line : lines) {
        const auto match = labelled.match(line);
        if (!match.hasMatch() || match.captured(2) == "Serial/Comment:" ||
            match.captured(2).startsWith("Firmware ID") || line.contains("Printed:"))
            continue;
        const int label = static_cast<int>(match.capturedStart(2));
        const int value = static_cast<int>(match.capturedStart(4));
        if (valueColumn < 0) {
            labelColumn = label;
            valueColumn = value;
        }
        EXPECT_EQ(label, labelColumn) << line.toStdString();
        // A plain number prints with a blank before it.
        const bool plainNumber = match.captured(2) == "Cranking Pulses:";
        EXPECT_EQ(value, valueColumn + (plainNumber ? 1 : 0)) << line.toStdString();
        ++counted;
    }
    EXPECT_GE(counted, 8);
}

// The lines themselves are the report's own tests; here, that qz1 prints them as the
// program does, pages and columns, and that a report that cannot be written in full leaves
// the one already there whole.
TEST(Qz1Report, ATuneGivesAPdfWithItsPagesAndAlignedValues) {
    qz::EepromBytes image = sampleImage();
    image[50] = 0x40 | 0x20 | 0x1C;  // the 2D table
    image[64] = image[72] = image[80] = 1;
    image[74] = 0;  // a frequency that decodes
    TempFolder folder;
    const auto in = folder.write("tune.dat", fileBytes(image));
    const auto out = folder.path("report.pdf");
    const ToolRun run = runTool({"report", in, "-o", out, "--comment", "SN 4711"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QStringList lines = qz::test::pdfLines(QString::fromStdString(out));
    ASSERT_FALSE(lines.isEmpty()) << "pdftotext is needed: scripts/setup.sh installs it";
    EXPECT_EQ(lines.filter("\f").size(), 3);
    for (const char* wanted :
         {"Kelvane QZ-1 Ignition Module Data Printed: ", "Serial/Comment: SN 4711",
          "2D Timing Table Enabled", "GPI1 Digital NOS Enable", "GPIO2 Vehicle Speed Input",
          "GPIO3 RPM Window Switch"})
        EXPECT_FALSE(lines.filter(wanted).isEmpty()) << wanted;
    // The parameter page: from "Module Parameters" on.
    const auto start = lines.indexOf(QRegularExpression("\\s*Module Parameters\\s*"));
    ASSERT_GE(start, 0);
    expectValuesAligned(lines.mid(start));
    const QByteArray written = folder.read("report.pdf");
    {
        const qz::test::FileSizeLimit full(1000);
        EXPECT_EQ(runTool({"report", in, "-o", out}).status, 2);
    }
    EXPECT_EQ(folder.read("report.pdf"), written);
}

}  // namespace
}  // namespace qz1::test
