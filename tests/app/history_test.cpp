#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <sstream>

#include "history/compare_window.h"
#include "history/restore_points_window.h"
#include "qz1/qz1_harness.h"
#include "support/editor_fixture.h"
#include "support/transfer_fixture.h"

namespace qz {
namespace {

using test::named;
using test::OK;
using test::tuneFile;

// The window on a simulated module, with tunes to open from files.
struct HistoryFixture : test::TransferFixture {
    using TransferFixture::TransferFixture;
    // Opens a tune (a 2D one, its trigger timing at `trigger`) as the user does.
    EepromBytes open(const QString& name, std::uint8_t trigger) {
        QByteArray bytes = tuneFile(test::k2D);
        bytes[48 - kImageFirstAddress] = static_cast<char>(trigger);
        prompts.answerFile(folder.write(name, bytes));
        if (!state.BufferEmpty) prompts.answer(OK);
        prompts.answer(OK);
        window->mnuOpenFile->trigger();
        return state.EEPROMBuffer;
    }
    void download() {
        if (!state.BufferEmpty) prompts.answer(OK);
        answer({OK, OK});
        window->mnuDownload->trigger();
    }
    std::vector<std::string> origins() const {
        std::vector<std::string> found;
        for (const auto& point : restorePoints()) found.push_back(point.origin.toStdString());
        return found;
    }
};

// Each command that replaces the buffer keeps it first, each transfer keeps what the module
// holds, and exit keeps changes that are nowhere else; never an empty buffer, never the
// newest twice.
TEST(RestorePoints, EachCommandKeepsTheBufferItReplacesOrTransfers) {
    using F = HistoryFixture;
    const auto wizard = [](F& f) {
        f.onDialog = [](QDialog& wizard) { named<QPushButton>(wizard, "cmdOK").click(); };
        f.prompts.answer(PromptAnswer::No);  // keep the open table? there is none
        f.window->mnuNewTable->trigger();
    };
    // clang-format off
    // Why, the module's faults, the commands (giving the newest point's bytes), the origins.
    const std::tuple<const char*, SimulatorFaults, std::function<EepromBytes(F&)>, std::vector<std::string>> cases[] = {
        {"download into an empty buffer", {}, [](F& f) { f.download(); return demoTune(); }, {"downloaded from the module"}},
        {"download over a tune", {}, [](F& f) { f.open("a.dat", 30); f.download(); return demoTune(); }, {"downloaded from the module", "before Download"}},
        {"a failed download", {.silent = true}, [](F& f) { const auto a = f.open("a.dat", 30); f.download(); return a; }, {"before Download"}},
        {"open the same bytes again", {}, [](F& f) { f.open("a.dat", 30); const auto b = f.open("b.dat", 20); f.open("c.dat", 30); return b; }, {"before Open File c.dat", "before Open File b.dat"}},
        {"a verified upload", {}, [](F& f) { f.open("a.dat", 30); f.answer({OK, OK}); f.window->mnuUpload->trigger(); return f.state.EEPROMBuffer; }, {"uploaded to the module"}},
        {"exit with changes in no file", {}, [](F& f) { f.open("a.dat", 30); f.state.CrankPulses = 8; const auto e = encodedImage(f.state); f.prompts.answer(PromptAnswer::No); f.window->close(); return e; }, {"at exit"}},
        {"exit without changes", {}, [](F& f) { f.open("a.dat", 30); f.window->close(); return EepromBytes{}; }, {}},
        {"a wizard's OK", {}, [&](F& f) { const auto a = f.open("a.dat", 30); wizard(f); return a; }, {"before New Timing Table"}},
    };
    // clang-format on
    for (const auto& [why, faults, run, origins] : cases) {
        HistoryFixture f(faults);
        f.window->show();
        const EepromBytes newest = run(f);
        EXPECT_EQ(f.origins(), origins) << why;
        if (!origins.empty()) {
            EXPECT_EQ(RestorePoints::read(f.restorePoints().front()), newest) << why;
        }
    }
}

// Download, a cell changed and saved to the buffer, another tune opened, exit: qz1 lists the
// downloaded image and the edited buffer, and writes out each byte for byte.
TEST(RestorePoints, Qz1ListsAndWritesWhatTheProgramKept) {
    HistoryFixture f;
    f.window->show();
    f.download();
    f.editor().editTable();
    f.editor().writeCells(TableKind::Table3D, {{5, 3, 12.5}}, "x");
    f.editor().saveTable();
    const EepromBytes edited = f.state.EEPROMBuffer;
    ASSERT_NE(edited, demoTune());
    f.open("b.dat", 30);
    f.window->close();
    const std::string folder = f.history.folderPath().toStdString();
    std::ostringstream list, err;
    ASSERT_EQ(qz1::runQz1({"restore", "list", "--folder", folder}, list, err), 0) << err.str();
    const auto points = f.restorePoints();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(list.str(), "1\t" + restorePointTime(points[0]).toStdString() +
                              "\tbefore Open File b.dat\t-\tQZ-1 V2.1 SIM\n2\t" +
                              restorePointTime(points[1]).toStdString() +
                              "\tdownloaded from the module\t-\tQZ-1 V2.1 SIM\n");
    for (const auto& [index, bytes] : {std::pair{"1", edited}, {"2", demoTune()}}) {
        const QString out = QStringLiteral("point%1.dat").arg(index);
        const std::string path = f.history.path(out);
        EXPECT_EQ(qz1::runQz1({"restore", "get", index, "-o", path, "--folder", folder}, list, err),
                  0);
        EXPECT_EQ(f.history.read(out), qz1::test::fileBytes(bytes));
    }
    EXPECT_EQ(qz1::runQz1({"restore", "get", "3", "-o", "x", "--folder", folder}, list, err), 2);
    EXPECT_EQ(err.str(), "qz1: no restore point 3 (there are 2; see qz1 restore list)\n");
}

// Restore puts a point into the buffer as Open File does a file, and keeps the buffer it
// replaces; the list says how each point differs from the buffer.
TEST(RestorePoints, RestoreOpensAPointAsOpenFileDoes) {
    HistoryFixture f;
    f.window->show();
    const EepromBytes a = f.open("a.dat", 30);
    const EepromBytes b = f.open("b.dat", 20);
    std::vector<std::string> shown;
    f.onDialog = [&](QDialog& dialog) {
        if (dialog.objectName() != "frmRestorePoints") return;
        auto& list = named<QTreeWidget>(dialog, "lstRestorePoints");
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            shown.push_back(list.topLevelItem(i)->text(4).toStdString());
        named<QPushButton>(dialog, "cmdRestore").click();
    };
    f.answer({OK, OK});
    f.window->mnuRestorePoints->trigger();
    // Trigger timing 30 against 20: every cell of both tables, and the trigger timing.
    EXPECT_EQ(shown, std::vector<std::string>{"189 cells, 1 parameter"});
    EXPECT_EQ(f.state.EEPROMBuffer, a);
    const RestorePoint restored = f.restorePoints().back();
    EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - Restore Point " +
                               restorePointTime(restored).toStdString());
    EXPECT_EQ(f.prompts.messages().back(), "Loaded the restore point of " +
                                               restorePointTime(restored).toStdString() +
                                               " to buffer. Ready for editing or upload.");
    EXPECT_EQ(f.origins(), (std::vector<std::string>{"before Restore", "before Open File b.dat"}));
    EXPECT_EQ(RestorePoints::read(f.restorePoints().front()), b);
    EXPECT_EQ(f.dialogsShown.back(), "frmModParams");
}

// The compare window against a data file outlines each differing cell and lists each
// differing parameter; the user takes the other's cells as one undo step and a parameter as
// the dialogs' OK would set it.
TEST(CompareWindow, AgainstAFileListsWhatDiffListsAndTakesCellsAndParameters) {
    test::EditorFixture f(test::k3D);
    QByteArray other = tuneFile(test::k3D);
    for (int k = 0; k < 12; ++k) other[112 + 10 * k - kImageFirstAddress] = char(k + 1);
    other[49 - kImageFirstAddress] = 6;   // cranking pulses
    other[81 - kImageFirstAddress] = 40;  // GPIO3 minimum RPM
    const std::string otherPath = f.folder.write("other.dat", other);

    std::vector<std::string> summaries, parameters;
    int outlined = 0;
    int undoSteps = -1;
    f.onDialog = [&](QDialog& dialog) {
        if (dialog.objectName() == "frmCompareSource") {
            named<QPushButton>(dialog, "cmdDataFile").click();
            return;
        }
        auto& grid = named<QTableWidget>(dialog, "grdCompare");
        auto& list = named<QListWidget>(dialog, "lstParameters");
        auto& summary = named<QLabel>(dialog, "lblSummary");
        summaries.push_back(summary.text().toStdString());
        for (int i = 0; i < list.count(); ++i)
            parameters.push_back(list.item(i)->text().toStdString());
        for (int r = 0; r < grid.rowCount(); ++r)
            for (int c = 0; c < grid.columnCount(); ++c)
                outlined += grid.item(r, c)->data(Qt::UserRole).toBool();
        grid.selectAll();
        named<QPushButton>(dialog, "cmdTakeCells").click();
        undoSteps = f.editor().undoStack().count();
        summaries.push_back(summary.text().toStdString());
        list.setCurrentRow(0);
        f.answer({PromptAnswer::Yes});  // save the table edits to the buffer first
        named<QPushButton>(dialog, "cmdTakeParameter").click();
        summaries.push_back(summary.text().toStdString());
    };
    f.prompts.answerFile(otherPath);
    f.window->mnuCompareWith->trigger();
    EXPECT_EQ(std::pair(outlined, undoSteps), std::pair(12, 1));
    EXPECT_EQ(parameters, (std::vector<std::string>{"Cranking Pulses: 4 here, 6 there",
                                                    "GPIO3 Minimum RPM: 0 here, 2000 there"}));
    EXPECT_EQ(summaries, (std::vector<std::string>{
                             "12 cells (largest +6.6 at 9000 RPM, 20 kPa), 2 parameters differ",
                             "2 parameters differ", "1 parameter differs"}));
    EXPECT_EQ(f.state.CrankPulses, 6);
    EXPECT_FALSE(f.editor().tableOpen());
}

// Comparing with the module reads it into a scratch image: buffer, tables, caption and the
// buffer's identification stay, whether the module answers or not.
TEST(CompareWindow, TheModuleIsReadWithoutTouchingTheBuffer) {
    for (const bool silent : {false, true}) {
        HistoryFixture f(SimulatorFaults{.silent = silent});
        f.window->show();
        const EepromBytes a = f.open("a.dat", 30);
        const std::string caption = f.caption();
        std::string summary;
        f.onDialog = [&](QDialog& dialog) {
            if (dialog.objectName() == "frmCompareSource")
                named<QPushButton>(dialog, "cmdModule").click();
            else
                summary = named<QLabel>(dialog, "lblSummary").text().toStdString();
        };
        f.answer({OK, OK});
        f.window->mnuCompareWith->trigger();
        EXPECT_EQ(std::tuple(f.state.EEPROMBuffer, f.caption(), f.state.FirmwareID, summary.empty(),
                             f.origins().empty()),
                  std::tuple(a, caption, std::string(), silent, true))
            << summary;
    }
}

}  // namespace
}  // namespace qz
