#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSlider>

#include "image/cell_encoding.h"
#include "qz1/qz1_harness.h"
#include "support/editor_fixture.h"
#include "support/grid_input.h"
#include "support/scripted_port.h"
#include "support/widget_input.h"
#include "table/cell_text.h"
#include "wizards/new_2d_table_dialog.h"
#include "wizards/new_3d_table_dialog.h"
#include "wizards/wizard_rules.h"

namespace qz {
namespace {

using test::EditorFixture;
using test::k2D;
using test::k3D;
using test::MainWindowFixture;
using test::named;

// The accepted and refused texts of both grids, with the exact messages; the save writes
// exactly the encoding of the accepted values at the trigger timing, and nothing else.
TEST(TableEditor, TypedValuesReachTheBufferThroughTheSaveAndNothingElseChanges) {
    const std::string message2D =
        "Timing must be numeric value greater than zero and within 22 degrees of trigger timing.";
    const std::string message3D = "Timing must be numeric value between 8 and 30 degrees.";
    for (const bool is3D : {false, true}) {
        EditorFixture f(is3D ? k3D : k2D);
        f.window->mnuEditTimingTable->trigger();
        TimingGrid& grid = is3D ? f.window->views().grid3D() : f.window->views().grid2D();
        ASSERT_TRUE(grid.isVisible());
        for (const char* refused : {"7.9", "30.01", "abc", "", "-0.5"}) {
            f.prompts.answer(PromptAnswer::OK);
            EXPECT_FALSE(test::typeIntoCell(grid, 1, 5, refused))
                << refused << " stays in the editor";
            EXPECT_EQ(f.prompts.messages().back(), is3D ? message3D : message2D) << refused;
            EXPECT_EQ(f.prompts.shown().back().title, "Timing Edit");
            EXPECT_EQ(f.prompts.shown().back().icon, PromptIcon::Critical);
            EXPECT_EQ(test::openEditor(grid)->text(), refused) << "the typed text stays";
            test::cancelEdit(grid);
        }
        EXPECT_TRUE(test::typeIntoCell(grid, 1, 5, "25"));
        EXPECT_TRUE(test::typeIntoCell(grid, 1, 21, "8"));
        EXPECT_EQ(grid.cellText(1, 5), "25") << "the cell keeps the text as typed";
        const double chartValue = is3D ? f.window->views().chart3D().value(5, 8)
                                       : f.window->views().chart2D().value(1, 5);
        EXPECT_EQ(chartValue, 25);
        f.window->mnuSaveTbl->trigger();
        EXPECT_FALSE(f.window->views().tableOpen());
        EepromBytes expected = f.opened;
        const int first = is3D ? 112 : 16;  // grid row 1 is the first row of the table bytes
        expected[static_cast<std::size_t>(first + 4)] = encodeCell(30, 25);
        expected[static_cast<std::size_t>(first + 20)] = encodeCell(30, 8);
        for (int a = 0; a < kEepromSize; ++a)
            ASSERT_EQ(f.state.EEPROMBuffer[static_cast<std::size_t>(a)],
                      expected[static_cast<std::size_t>(a)])
                << a;

        // The same edit through qz1 apply writes the same file as Save File does.
        f.prompts.answerFile(f.folder.file("edited.dat"));
        f.window->mnuSaveFile->trigger();
        const std::string cell = is3D ? "Table3D[5][8]=25" : "Table2D[5]=25";
        const std::string last = is3D ? "Table3D[21][8]=8" : "Table2D[21]=8";
        ASSERT_EQ(qz1::runQz1({"apply", f.path, "--set", cell, "--set", last, "-o",
                               f.folder.file("applied.dat")},
                              std::cout, std::cerr),
                  0);
        const QByteArray edited = f.folder.read("edited.dat");
        const QByteArray applied = f.folder.read("applied.dat");
        ASSERT_EQ(edited.size(), applied.size());
        for (int i = 0; i < edited.size(); ++i)
            EXPECT_EQ(edited[i], applied[i]) << "address " << 16 + i;
    }
}

// Close Timing Table asks; Yes saves, No leaves buffer and working table, Cancel keeps the
// table open; closing empties the copy buffer.
TEST(TableEditor, ClosingAsksWhetherToSave) {
    for (const PromptAnswer answer : {PromptAnswer::Yes, PromptAnswer::No, PromptAnswer::Cancel}) {
        test::OpenTableFixture f(k2D);
        const Table2DCells before = f.state.Table2D;
        EXPECT_TRUE(test::typeIntoCell(f.grid(), 1, 3, "12"));
        f.grid().selectBlock({1, 3, 1, 3});
        f.window->views().Copy(false);
        f.prompts.answer(answer);
        f.window->mnuCloseTbl->trigger();
        EXPECT_EQ(f.prompts.messages().back(), "Save table edits to buffer before closing?");
        EXPECT_EQ(f.prompts.shown().back().title, "Close Table");
        EXPECT_EQ(f.prompts.shown().back().buttons, PromptButtons::YesNoCancel);
        EXPECT_EQ(f.window->views().tableOpen(), answer == PromptAnswer::Cancel);
        EXPECT_EQ(f.state.ClipText, answer == PromptAnswer::Cancel ? "12" : "");
        EXPECT_EQ(f.window->mnuPopUpPaste2D->isEnabled(), answer == PromptAnswer::Cancel);
        EXPECT_EQ(f.state.EEPROMBuffer[18] == encodeCell(30, 12), answer == PromptAnswer::Yes);
        if (answer != PromptAnswer::No) continue;
        EXPECT_EQ(f.state.Table2D, before);
        f.window->mnuEditTimingTable->trigger();  // shows the working table again
        EXPECT_EQ(f.grid().cellText(1, 3), cellNumber(before(3, 1), "#0.0"));
    }
}

TEST(TableEditor, EachSensorShowsItsLabelsAndTemplate) {
    const struct {
        std::uint8_t sensor;
        const char* lowest;
        const char* highest;
        const char* title;
    } cases[] = {{1, "18", "60", "Ignition Advance, 2 Bar MAP Sensor"},
                 {2, "20", "90", "Ignition Advance, 3 Bar MAP Sensor"},
                 {7, "16", "30", "Ignition Advance, 1 Bar MAP Sensor"}};
    for (const auto& c : cases) {
        EditorFixture f(k3D, c.sensor);
        f.window->mnuEditTimingTable->trigger();
        const TimingGrid& grid = f.window->views().grid3D();
        EXPECT_EQ(grid.cellText(1, 0), c.lowest);
        EXPECT_EQ(grid.cellText(8, 0), c.highest);
        EXPECT_EQ(f.window->views().chart3D().chartTemplate()->title, c.title);
        EXPECT_TRUE(f.window->views().chart3D().isVisible());
    }
}

TEST(TableEditor, AMissingTemplateIsReported) {
    for (const bool is3D : {false, true}) {
        MainWindowFixture f({"Kelvane"});
        const QString missing = is3D ? "QZ_3D_3Bar_Timing_Chart.oc3" : "QZ_2D_Timing_Chart.oc2";
        test::ProgramFolder without({missing});
        f.prompts.answer(PromptAnswer::OK);  // the start-up's own message for the 2D template
        frmTunewell_Main window(f.state, f.prompts, without.path());
        window.setDialogRunner([](QDialog& dialog) { return dialog.result(); });
        window.show();
        f.state.BufferEmpty = false;
        f.state.Table2DEnabled = !is3D;
        f.state.Table3DEnabled = is3D;
        f.state.MAPSensorBar = 2;
        f.prompts.answer(PromptAnswer::OK);
        window.mnuEditTimingTable_Click();
        EXPECT_EQ(f.prompts.messages().back(),
                  "Chart template file " + missing.toStdString() + " not found.");
        EXPECT_EQ(f.prompts.shown().back().title, "Edit Timing Table");
        EXPECT_EQ(f.prompts.shown().back().icon, PromptIcon::Critical);
        // The 3D view opens all the same, with the sensor's labels; the 2D one does not.
        EXPECT_EQ(window.views().tableOpen(), is3D);
        if (is3D) {
            EXPECT_EQ(window.views().grid3D().cellText(8, 0), "90");
        }
    }
}

// New Timing Table runs the wizard of the selected kind; what it makes is the open table,
// and the same as qz1 makes from the same file.
TEST(TableEditor, TheWizardsShowTheTableTheyMakeAsQz1MakesIt) {
    for (const bool is3D : {false, true}) {
        EditorFixture f(is3D ? k3D : k2D);
        f.onDialog = [&](QDialog& dialog) {
            if (auto* wizard = qobject_cast<frmNew2DTable*>(&dialog)) {
                // Focus moves, and so boxes are checked, only in the active window.
                wizard->show();
                QApplication::setActiveWindow(wizard);
                ASSERT_TRUE(QTest::qWaitForWindowActive(wizard));
                test::typeInto(wizard->txtStartRPMVal, "1900", wizard->cmdOK);
                wizard->cmdOK->click();
            } else if (auto* wizard3D = qobject_cast<frmNew3DTable*>(&dialog)) {
                wizard3D->sldBaseTmg->setValue(40 - 15);
                wizard3D->cmdOK->click();
            }
        };
        f.window->mnuNewTable->trigger();
        EXPECT_EQ(f.dialogsShown.back(), is3D ? "frmNew3DTable" : "frmNew2DTable");
        ASSERT_TRUE(f.window->views().tableOpen());
        if (is3D) {
            EXPECT_EQ(f.window->views().chart3D().table(), flatTable(15));
        } else {
            Curve2D curve = initialCurve(30);
            curve.startRpm = 2000;
            EXPECT_EQ(f.window->views().chart2D().table(), *generateCurve(curve));
        }
        f.window->mnuSaveTbl->trigger();
        f.prompts.answerFile(f.folder.file("wizard.dat"));
        f.window->mnuSaveFile->trigger();
        const std::vector<std::string> arguments =
            is3D ? std::vector<std::string>{"new3d", f.path, "--base",
                                            "15",    "-o",   f.folder.file("qz1.dat")}
                 : std::vector<std::string>{"new2d", f.path, "--start-rpm",
                                            "2000",  "-o",   f.folder.file("qz1.dat")};
        ASSERT_EQ(qz1::runQz1(arguments, std::cout, std::cerr), 0);
        EXPECT_EQ(f.folder.read("wizard.dat"), f.folder.read("qz1.dat"));
    }
}

// A wizard opened over a table of its kind asks first; Yes keeps the table's edits by
// saving them to the buffer before the wizard replaces the table.
TEST(TableEditor, AWizardOverAnOpenTableSavesItsEditsOnYes) {
    for (const bool is3D : {false, true}) {
        EditorFixture f(is3D ? k3D : k2D);
        f.window->mnuEditTimingTable->trigger();
        TimingGrid& grid = is3D ? f.window->views().grid3D() : f.window->views().grid2D();
        EXPECT_TRUE(test::typeIntoCell(grid, 1, 2, "29"));
        f.prompts.answer(PromptAnswer::Yes);
        f.window->mnuNewTable->trigger();
        EXPECT_EQ(f.prompts.messages().back(), "Save timing table before closing file?");
        EXPECT_EQ(f.state.EEPROMBuffer[is3D ? 113 : 17], encodeCell(30, 29)) << is3D;
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5");
    }
}

// A command that would drop the open table's unsaved edits asks first: Yes saves them to the
// buffer, No lets the command drop them when it replaces the table, Cancel ends it. With
// nothing unsaved nothing is asked.
TEST(TableEditor, ACommandThatDropsTheOpenTableAsksAboutItsUnsavedEdits) {
    constexpr auto Yes = PromptAnswer::Yes, No = PromptAnswer::No, Cancel = PromptAnswer::Cancel,
                   OK = PromptAnswer::OK;
    const std::string save = "Save table edits to buffer before closing?";
    const std::string overwrite = "Data buffer not empty. OK to overwrite?";
    const struct {
        const char* command;
        bool edited;
        std::vector<PromptAnswer> answers;
        std::vector<std::string> messages;
        bool saved;        // the typed 12 reached the buffer
        const char* cell;  // the cell afterwards ("" when no table is open)
    } cases[] = {
        {"mnuEditTimingTable", false, {}, {}, false, "original"},
        {"mnuEditTimingTable", true, {Yes}, {save}, true, "12.0"},
        {"mnuEditTimingTable", true, {No}, {save}, false, "original"},
        {"mnuEditTimingTable", true, {Cancel}, {save}, false, "12"},
        {"mnuOpenFile", true, {Cancel}, {save}, false, "12"},
        {"mnuOpenFile", true, {No, Cancel}, {save, overwrite}, false, "12"},
        {"mnuOpenFile", true, {Yes, Cancel}, {save, overwrite}, true, ""},
        {"mnuDownload", true, {Cancel}, {save}, false, "12"},
        {"mnuDownload",
         true,
         {No, OK, OK, OK},
         {save, overwrite, "Firmware ID: QZ-1 V2.1 SIM",
          "Downloaded data to buffer. Ready for editing."},
         false,
         ""},
    };
    for (const auto& c : cases) {
        test::OpenTableFixture f(k2D);
        auto port =
            std::make_unique<test::ScriptedPort>(ModuleSimulator(demoTune(), "QZ-1 V2.1 SIM"));
        f.window->transfers().usePort(std::move(port));
        f.window->transfers().protocol().delay = [](int) {};
        const QString original = f.grid().cellText(1, 3);
        if (c.edited) {
            EXPECT_TRUE(test::typeIntoCell(f.grid(), 1, 3, "12"));
        }
        for (PromptAnswer a : c.answers) f.prompts.answer(a);
        const std::size_t before = f.prompts.shown().size();
        test::named<QAction>(*f.window, c.command).trigger();
        std::vector<std::string> shown;
        for (std::size_t i = before; i < f.prompts.shown().size(); ++i)
            shown.push_back(f.prompts.shown()[i].text);
        EXPECT_EQ(shown, c.messages) << c.command << " " << c.answers.size();
        EXPECT_EQ(f.state.EEPROMBuffer[18] == encodeCell(30, 12), c.saved) << c.command;
        EXPECT_EQ(f.window->views().tableOpen(), *c.cell != 0) << c.command;
        if (*c.cell) {
            EXPECT_EQ(f.grid().cellText(1, 3),
                      c.cell == std::string("original") ? original : QString(c.cell))
                << c.command;
        }
    }
}

// Cancel at the question about the open table ends the command: no wizard, no dialog, the
// table open with its edits.
TEST(TableEditor, CancelAtTheQuestionAboutTheOpenTableEndsTheCommand) {
    const struct {
        std::uint8_t kind;
        const char* command;
        const char* question;
    } cases[] = {{k2D, "mnuNewTable", "Save timing table before closing file?"},
                 {k3D, "mnuNewTable", "Save timing table before closing file?"},
                 {k3D, "mnuEditModParams", "Save table edits to buffer before closing?"},
                 {k2D, "mnuEditGPIOParams", "Save table edits to buffer before closing?"}};
    for (const auto& c : cases) {
        test::OpenTableFixture f(c.kind);
        EXPECT_TRUE(test::typeIntoCell(f.grid(), 1, 2, "29"));
        f.dialogsShown.clear();
        f.prompts.answer(PromptAnswer::Cancel);
        test::named<QAction>(*f.window, c.command).trigger();
        EXPECT_EQ(f.prompts.messages().back(), c.question);
        EXPECT_TRUE(f.dialogsShown.empty()) << c.command;
        EXPECT_TRUE(f.window->views().tableOpen());
        EXPECT_EQ(f.grid().cellText(1, 2), "29");
    }
}

// New Timing Table over an open 3D table keeps its data for the wizard's question but takes
// the labels and template of the sensor now selected.
TEST(TableEditor, ANewTableOverAnOpen3DTableTakesTheCurrentSensor) {
    test::OpenTableFixture f(k3D);
    f.state.MAPSensorBar = 2;
    f.onDialog = [](QDialog& dialog) { named<QPushButton>(dialog, "cmdOK").click(); };
    f.prompts.answer(PromptAnswer::No);
    f.window->mnuNewTable->trigger();
    EXPECT_EQ(f.grid().cellText(1, 0), "20");
    EXPECT_EQ(f.grid().cellText(8, 0), "90");
    EXPECT_EQ(f.chart3D().chartTemplate()->title, "Ignition Advance, 3 Bar MAP Sensor");
}

// A save at a trigger timing below the table's values stores the limit, says so, and leaves
// the working table (and so the reopened table and the report) showing what the buffer holds.
TEST(TableEditor, ASaveThatLimitsCellsSaysSoAndShowsWhatTheBufferHolds) {
    test::EditorFixture f(k3D);
    f.onDialog = [](QDialog& dialog) {  // trigger and base at 40, Update, then the close box
        named<QSlider>(dialog, "sldTrigTiming").setValue(0);
        named<QSlider>(dialog, "sldBaseTmg").setValue(0);
        named<QPushButton>(dialog, "cmdUpdate").click();
        dialog.reject();
    };
    f.window->mnuNewTable->trigger();
    EXPECT_EQ(f.state.TrigTiming, 30) << "the close box keeps the trigger timing";
    EXPECT_EQ(f.grid().cellText(4, 4), "40.0");
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuSaveTbl->trigger();
    EXPECT_EQ(f.prompts.messages().back(),
              "168 cells above the trigger timing 30 saved at 30.0 degrees.");
    EXPECT_EQ(f.prompts.shown().back().title, "Save Table Edits To Buffer");
    EXPECT_EQ(f.state.EEPROMBuffer[200], 0);
    EXPECT_EQ(f.state.Table3D, flatTable(30));
    f.window->mnuEditTimingTable->trigger();
    EXPECT_EQ(f.grid().cellText(4, 4), "30.0");
    EXPECT_EQ(limitedCellsMessage({0, 2}, 10, TableKind::Table2D),
              "2 cells below the lowest advance the module holds at trigger timing 10 saved at "
              "0.0 degrees.");
    EXPECT_EQ(limitedCellsMessage({1, 3}, 10, TableKind::Table3D),
              "1 cell above the trigger timing 10 saved at 10.0 degrees.\n3 cells below the "
              "lowest advance the module holds at trigger timing 10 saved at -12.4 degrees.");
}

// A click on Update or OK while a box holds a value to correct: the correction's message,
// then the click carried out on the corrected value.
TEST(TableEditor, A2DWizardButtonActsOnTheCorrectedValueAfterItsMessage) {
    for (const char* button : {"cmdOK", "cmdUpdate"}) {
        test::EditorFixture f(k2D);
        f.onDialog = [&](QDialog& dialog) {
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            auto& trigger = named<QLineEdit>(dialog, "txtTrigTimingVal");
            trigger.setFocus();
            trigger.selectAll();
            QTest::keyClicks(&trigger, "45");
            QTest::mouseClick(&named<QPushButton>(dialog, button), Qt::LeftButton);
        };
        f.prompts.answer(PromptAnswer::OK);
        f.window->mnuNewTable->trigger();
        EXPECT_EQ(f.prompts.messages().back(), "Value must be less than or equal to 40");
        EXPECT_TRUE(f.window->views().tableOpen()) << button;
        EXPECT_EQ(f.chart2D().value(2, 1), 40) << "the table made at the corrected 40";
    }
}

// The program does not close while a table it could not save is open.
TEST(TableEditor, AnUnsavableTableKeepsTheWindowOpen) {
    test::OpenTableFixture f(k2D);
    f.state.Table2DEnabled = false;  // the table kind no longer matches
    f.prompts.answer(PromptAnswer::Yes);
    f.prompts.answer(PromptAnswer::OK);
    EXPECT_FALSE(f.window->close());
    EXPECT_EQ(f.prompts.messages().back(),
              "Timing table disabled. Edit module parameters to enable timing table.");
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_TRUE(f.window->views().tableOpen());
}

}  // namespace
}  // namespace qz
