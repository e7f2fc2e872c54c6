#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "support/editor_fixture.h"
#include "support/grid_input.h"
#include "support/widget_input.h"
#include "wizards/wizard_rules.h"

namespace qz {
namespace {

using test::EditorFixture;
using test::k2D;
using test::k3D;
using test::MainWindowFixture;
using test::named;

// Edit Timing Table without its template says so, resets the copy buffer as a close does and
// opens the 3D view all the same, with the sensor's labels, but not the 2D one.
TEST(TableEditor, AMissingTemplateIsReported) {
    for (const bool is3D : {false, true}) {
        const QString missing = is3D ? "QZ_3D_3Bar_Timing_Chart.oc3" : "QZ_2D_Timing_Chart.oc2";
        MainWindowFixture f({"Kelvane"}, {PromptAnswer::OK, PromptAnswer::OK}, {missing});
        f.window->show();
        f.state.BufferEmpty = false;
        f.state.Table2DEnabled = !is3D;
        f.state.Table3DEnabled = is3D;
        f.state.MAPSensorBar = 2;
        f.state.ClipText = "5";
        f.state.ClipColSpan = 3;
        f.window->mnuEditTimingTable_Click();
        const test::ShownPrompt& shown = f.prompts.shown().back();
        EXPECT_EQ(std::tuple(shown.text, shown.title, shown.icon),
                  std::tuple("Chart template file " + missing.toStdString() + " not found.",
                             std::string("Edit Timing Table"), PromptIcon::Critical));
        EXPECT_EQ(std::pair(f.state.ClipText, f.state.ClipColSpan), std::pair(std::string(), 0));
        EXPECT_EQ(f.editor().tableOpen(), is3D);
        EXPECT_TRUE(!is3D || f.grid(TableKind::Table3D).cellText(8, 0) == "90") << "3-bar labels";
    }
}

// A save at a trigger timing below the table's values stores the limit, says so, and leaves
// the working table (and so the reopened table and the report) showing what the buffer holds.
TEST(TableEditor, ASaveThatLimitsCellsSaysSoAndShowsWhatTheBufferHolds) {
    EditorFixture f(k3D);
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
    EXPECT_EQ(f.state.Table3D, flatTable(30));
    f.window->mnuEditTimingTable->trigger();
    EXPECT_EQ(f.grid().cellText(4, 4), "30.0");
    test::OpenTableFixture g(k2D);  // the 2D table the same, with the trigger timing lowered
    EXPECT_TRUE(test::typeIntoCell(g.grid(), 1, 5, "25"));
    g.state.TrigTiming = 20;
    g.prompts.answer(PromptAnswer::OK);
    g.window->mnuSaveTbl->trigger();
    EXPECT_EQ(g.state.Table2D(5, 1), 20);
    EXPECT_EQ(limitedCellsMessage({0, 2}, 10, TableKind::Table2D),
              "2 cells below the lowest advance the module holds at trigger timing 10 saved at "
              "0.0 degrees.");
    EXPECT_EQ(limitedCellsMessage({1, 3}, 10, TableKind::Table3D),
              "1 cell above the trigger timing 10 saved at 10.0 degrees.\n3 cells below the "
              "lowest advance the module holds at trigger timing 10 saved at -12.4 degrees.");
}

// The 3D wizard's sliders keep the base within the timing range; Update shows the table, OK
// also sets the trigger timing; the labels read as numbers are written, with the sign's blank.
// Over an open 3D table it keeps that table's data for the wizard's question but takes the
// labels and template of the sensor now selected.
TEST(TableEditor, The3DWizardsSlidersAndButtons) {
    test::OpenTableFixture f(k3D);
    f.state.MAPSensorBar = 2;
    f.onDialog = [&](QDialog& dialog) {
        EXPECT_EQ(named<QLabel>(dialog, "lblBaseTmgVal").text(), " 20");
        named<QSlider>(dialog, "sldTrigTiming").setValue(40 - 10);
        EXPECT_EQ(named<QLabel>(dialog, "lblTrigTimingVal").text(), " 10");
        EXPECT_EQ(named<QSlider>(dialog, "sldBaseTmg").value(), 40 - 10) << "the base follows";
        EXPECT_EQ(named<QLabel>(dialog, "lblBaseTmgVal").text(), " 10");
        named<QPushButton>(dialog, "cmdUpdate").click();
        EXPECT_EQ(f.state.TrigTiming, 30) << "Update leaves the trigger timing";
        EXPECT_EQ(f.chart3D().table(), flatTable(10));
        named<QPushButton>(dialog, "cmdOK").click();
    };
    f.prompts.answer(PromptAnswer::No);
    f.window->mnuNewTable->trigger();
    EXPECT_EQ(f.state.TrigTiming, 10);
    EXPECT_EQ(f.chart3D().table(), flatTable(10)) << "the table made is the open table";
    EXPECT_EQ(std::pair(f.grid().cellText(1, 0), f.grid().cellText(8, 0)),
              std::pair(QString("20"), QString("90")));
    EXPECT_EQ(f.chart3D().chartTemplate()->title, "Ignition Advance, 3 Bar MAP Sensor");
}

// New Timing Table runs the wizard of the selected kind; what it makes is the open table. A
// box is checked when it is left; a click on Update or OK while a box holds a value to
// correct: the correction's message, then the click carried out on the corrected value.
TEST(TableEditor, A2DWizardButtonActsOnTheCorrectedValueAfterItsMessage) {
    for (const char* button : {"cmdOK", "cmdUpdate"}) {
        EditorFixture f(k2D);
        f.onDialog = [&](QDialog& dialog) {
            // Focus moves, and so boxes are checked, only in the active window.
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            auto& trigger = named<QLineEdit>(dialog, "txtTrigTimingVal");
            test::typeInto(&named<QLineEdit>(dialog, "txtStartRPMVal"), "1900", &trigger);
            test::typeInto(&trigger, "45");
            QTest::mouseClick(&named<QPushButton>(dialog, button), Qt::LeftButton);
            EXPECT_EQ(dialog.focusWidget(), &trigger) << "the buttons take no focus";
        };
        f.prompts.answer(PromptAnswer::OK);
        f.window->mnuNewTable->trigger();
        EXPECT_EQ(f.prompts.messages().back(), "Value must be less than or equal to 40");
        EXPECT_TRUE(f.window->editor().tableOpen()) << button;
        EXPECT_EQ(f.chart2D().table(), *generateCurve({40, 2000, 3000, 10, 30}))
            << "the table made at the corrected 40, from 2000 RPM";
    }
}

}  // namespace
}  // namespace qz
