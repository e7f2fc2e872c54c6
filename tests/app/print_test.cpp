#include <gtest/gtest.h>

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStatusBar>

#include "qz1/commands.h"
#include "report/report_painter.h"
#include "support/editor_fixture.h"
#include "support/pdf_text.h"

namespace qz {
namespace {

using test::EditorFixture;

// Print on a machine without a printer: the report goes to a PDF chosen in a save dialog.
// Right after opening a file no table has been shown, yet the report shows its table; an
// open table's value label is not printed, and printing changes nothing on screen.
TEST(Print, AReportOfAnOpenedFileGoesToAPdfWithItsTableAndEveryParameterLine) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is installed";
    for (const bool open : {false, true})
        for (const std::uint8_t kind : {test::k2D, test::k3D}) {
            EditorFixture f(kind);
            f.state.FirmwareID = "QZ-1 V2.1";
            if (open) {
                f.window->mnuEditTimingTable->trigger();
                f.grid().setCurrentCell(1, 1);
                f.chart().setValueLabelText("77.7");  // nowhere else in the report
            }
            f.prompts.answerInput(std::string("SN 4711"));
            const std::string pdf = f.folder.path("tune.pdf");
            f.prompts.answerFile(pdf);
            f.window->mnuPrintTable->trigger();
            const auto& shown = f.prompts.shown();
            EXPECT_EQ(std::tuple(shown.back().kind, shown.back().detail, shown.end()[-2].title),
                      std::tuple(test::ShownPrompt::Kind::SaveFile, std::string("tune.pdf"),
                                 std::string("Optional Information Entry")))
                << "named after the opened file";
            EXPECT_EQ(f.window->editor().tableOpen(), open) << "the report opens no table";
            EXPECT_EQ(f.window->editor().tableOpen() && f.chart().valueLabelVisible(), open)
                << "the screen is left as it was";

            const QString path = QString::fromStdString(pdf);
            QStringList lines = test::pdfLines(path);
            ASSERT_FALSE(lines.isEmpty()) << "pdftotext is needed: scripts/setup.sh installs it";
            // Every page's text, the table's included, as qz1 prints the same file, but for
            // the time of printing: the value label (in no page of qz1's) not printed.
            const std::string tool = f.folder.path("qz1.pdf");
            ASSERT_EQ(qz1::runQz1({"report", f.path, "-o", tool, "--comment", "SN 4711",
                                   "--firmware-id", "QZ-1 V2.1"},
                                  std::cout, std::cerr),
                      0);
            const QRegularExpression printed(QStringLiteral("Printed: .*"));
            EXPECT_EQ(lines.replaceInStrings(printed, ""),
                      test::pdfLines(QString::fromStdString(tool)).replaceInStrings(printed, ""));
            if (open || f.is3D()) continue;

            // A landscape page; the chart drawn across the chart page under its title; the
            // text in the 8 point monospaced font, 0.6 of a point size a character.
            const QImage chartPage = test::pdfPage(path, 1);
            ASSERT_FALSE(chartPage.isNull()) << "pdftoppm is needed: scripts/setup.sh installs it";
            EXPECT_GT(chartPage.width(), chartPage.height());
            int drawn = 0;
            for (int y = chartPage.height() / 4; y < chartPage.height() * 3 / 4; ++y)
                for (int x = chartPage.width() / 4; x < chartPage.width() * 3 / 4; ++x)
                    drawn += chartPage.pixelColor(x, y) != Qt::white;
            EXPECT_GT(drawn, chartPage.width() * chartPage.height() / 200) << "a chart drawn";
            int headings = 0;
            for (const auto& [text, box] : test::pdfWords(path, 3)) {
                if (text != "Kelvane") continue;
                EXPECT_NEAR(box.width() / 7, 0.6 * 8, 0.2);
                ++headings;
            }
            EXPECT_EQ(headings, 1);
        }
}

// The PDF's name is that of a file already there: replaced only on Yes, as Save File asks.
TEST(Print, AReportReplacesAnExistingFileOnlyOnYes) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a printer is installed";
    EditorFixture f(test::k2D);
    const QByteArray tune = f.folder.read("tune.dat");
    f.prompts.answerInput(std::string());
    f.prompts.answerFile(f.path);  // the tune itself
    f.prompts.answer(PromptAnswer::No);
    f.prompts.answerFile("");  // then the dialog left
    f.window->mnuPrintTable->trigger();
    EXPECT_EQ(f.prompts.messages().back(),
              f.path + "\nThis file already exists.\n\nReplace existing file?");
    EXPECT_EQ(f.folder.read("tune.dat"), tune);
}

// A printer whose output is a PDF file gets every page in one file: chart, table and
// parameter pages (which pages a report has is the report's own test).
TEST(Print, APrinterSetUpToPrintToAFileGetsEveryPage) {
    EditorFixture f(test::k3D);
    const QString pdf = QString::fromStdString(f.folder.path("setup.pdf"));
    f.onDialog = [&](QDialog& dialog) {
        auto* setup = &dynamic_cast<QPrintDialog&>(dialog);
        EXPECT_EQ(setup->windowTitle(), "Printer Setup");
        setup->printer()->setOutputFileName(pdf);
    };
    f.window->mnuPrintSetup->trigger();
    f.prompts.answerInput(std::string("SN 4711"));
    f.window->mnuPrintTable->trigger();
    EXPECT_EQ(f.prompts.shown().back().text, "Serial number or comment?");
    const QStringList lines = test::pdfLines(pdf);
    EXPECT_EQ(std::pair(lines.filter("\f").size(), lines.filter("Serial/Comment: SN 4711").size()),
              std::pair(qsizetype(3), qsizetype(3)))
        << "three pages, the comment on each";
    EXPECT_EQ(f.window->statusBar()->currentMessage(), "Report written to " + pdf);
    const QImage page = test::pdfPage(pdf, 1);
    EXPECT_GT(page.width(), page.height()) << "landscape";
}

TEST(Print, TheFontIsCourierNewUnlessMonospac821BTIsThere) {
    EXPECT_EQ(reportFontFamily({"DejaVu Sans", "Liberation Mono"}), "Courier New");
    EXPECT_EQ(reportFontFamily({"monospac821 bt", "Arial", "MONOSPAC821 BT"}), "MONOSPAC821 BT")
        << "any letter case, the last match wins";
}

}  // namespace
}  // namespace qz
