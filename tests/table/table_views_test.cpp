#include "table/table_views.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "image/cell_encoding.h"
#include "support/program_folder.h"
#include "support/scripted_prompts.h"

namespace qz {
namespace {

using test::ScriptedPrompts;

// A window holding the four views, with an open table of the given kind.
struct ViewsFixture {
    ProgramState state;
    ScriptedPrompts prompts;
    test::ProgramFolder folder;
    QWidget window;
    int pasteDisabled = 0;
    TableViews views{state, prompts, folder.path(), &window, hooks()};

    TableHooks hooks() {
        TableHooks hooks;
        hooks.disablePasteItems = [this] { ++pasteDisabled; };
        return hooks;
    }

    ViewsFixture() {
        views.setUpAtStartup("Form Load");
        window.show();
    }
    void open2D() {
        views.chart2D().show();
        views.grid2D().show();
    }
    void open3D() {
        views.chart3D().show();
        views.grid3D().show();
    }
};

TEST(TableViews, StartUpSetsUpTheGridHeaders) {
    ViewsFixture f;
    EXPECT_TRUE(f.prompts.shown().empty());
    TimingGrid& grid2D = f.views.grid2D();
    ASSERT_EQ(grid2D.rowCount(), 2);
    ASSERT_EQ(grid2D.columnCount(), 22);
    EXPECT_EQ(grid2D.cellText(0, 0), "RPM");
    EXPECT_EQ(grid2D.cellText(1, 0), "ADV");
    EXPECT_EQ(grid2D.cellText(0, 1), "0");
    EXPECT_EQ(grid2D.cellText(0, 21), "10000");
    TimingGrid& grid3D = f.views.grid3D();
    ASSERT_EQ(grid3D.rowCount(), 9);
    EXPECT_EQ(grid3D.cellText(0, 0), "MAP/RPM");
    EXPECT_EQ(grid3D.cellText(1, 0), "16");
    EXPECT_EQ(grid3D.cellText(8, 0), "30");
    EXPECT_EQ(grid3D.toolTip(), "Click to select or double click to edit cell");
    EXPECT_FALSE(f.views.tableOpen());
    EXPECT_FALSE(f.views.chart2D().isVisible());
}

TEST(TableViews, AMissingTemplateAtStartUpIsReportedAndStartUpGoesOn) {
    ProgramState state;
    ScriptedPrompts prompts;
    prompts.answer(PromptAnswer::OK);
    prompts.answer(PromptAnswer::OK);
    test::ProgramFolder folder({"QZ_2D_Timing_Chart.oc2", "QZ_3D_1Bar_Timing_Chart.oc3"});
    QWidget window;
    TableViews views(state, prompts, folder.path(), &window, {});
    views.setUpAtStartup("Form Load");
    ASSERT_EQ(prompts.shown().size(), 2u);
    EXPECT_EQ(prompts.shown()[0].text, "Chart template file QZ_2D_Timing_Chart.oc2 not found.");
    EXPECT_EQ(prompts.shown()[1].text,
              "Chart template file QZ_3D_1Bar_Timing_Chart.oc3 not found.");
    EXPECT_EQ(prompts.shown()[0].title, "Form Load");
    EXPECT_EQ(prompts.shown()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(views.grid3D().cellText(0, 0), "MAP/RPM");
}

TEST(TableViews, ChartSetup3DShowsTheSensorsLabelsAndTheWorkingTable) {
    ViewsFixture f;
    f.state.MAPSensorBar = 2;
    f.state.Table3D(1, 8) = 12.34;
    f.state.Table3D(21, 1) = -3.06;
    f.views.ChartSetup3D();
    EXPECT_EQ(f.views.grid3D().cellText(1, 0), "20");
    EXPECT_EQ(f.views.grid3D().cellText(8, 0), "90");
    EXPECT_EQ(f.views.grid3D().cellText(1, 1), "12.3");
    EXPECT_EQ(f.views.grid3D().cellText(8, 21), "-3.1");
    EXPECT_EQ(f.views.chart3D().chartTemplate()->title, "Ignition Advance, 3 Bar MAP Sensor");
}

TEST(TableViews, SavingEncodesTheOpenTablesChartDataIntoItsBytes) {
    for (bool is3D : {false, true}) {
        ViewsFixture f;
        f.state.TrigTiming = 30;
        (is3D ? f.state.Table3DEnabled : f.state.Table2DEnabled) = true;
        f.state.EEPROMBuffer.fill(0xEE);
        f.state.ClipText = "1\t2";
        f.state.ClipColSpan = 1;
        Table2DCells advances2D;
        Table3DCells advances3D;
        for (int c = 1; c <= 21; ++c) {
            advances2D(c, 1) = 30 - c * kRetardStep;
            for (int r = 1; r <= 8; ++r) advances3D(c, r) = 30 - (r * 21 + c) * kRetardStep;
        }
        f.views.chart2D().setTable(advances2D);
        f.views.chart3D().setTable(advances3D);
        is3D ? f.open3D() : f.open2D();

        f.views.saveTable();
        EXPECT_FALSE(f.views.tableOpen());
        EXPECT_EQ(f.state.ClipText, "");
        EXPECT_EQ(f.state.ClipColSpan, 0);
        EXPECT_EQ(f.pasteDisabled, 1);
        if (is3D) {
            EXPECT_EQ(f.state.Table3D, advances3D);
            EXPECT_EQ(f.state.EEPROMBuffer[112], 8 * 21 + 1);
            EXPECT_EQ(f.state.EEPROMBuffer[279], 21 + 21);
            EXPECT_EQ(f.state.EEPROMBuffer[16], 0xEE);
        } else {
            EXPECT_EQ(f.state.Table2D(5, 1), advances2D(5, 1));
            EXPECT_EQ(f.state.EEPROMBuffer[16], 1);
            EXPECT_EQ(f.state.EEPROMBuffer[36], 21);
            EXPECT_EQ(f.state.EEPROMBuffer[112], 0xEE);
        }
    }
}

// A table that cannot be saved says so and stays open: its edits are not thrown away, not
// even by a close whose Yes could not save.
TEST(TableViews, ATableThatCannotBeSavedSaysSoAndStaysOpen) {
    for (const bool closing : {false, true}) {
        ViewsFixture disabled;
        disabled.open2D();
        disabled.state.EEPROMBuffer.fill(0xEE);
        if (closing) disabled.prompts.answer(PromptAnswer::Yes);
        disabled.prompts.answer(PromptAnswer::OK);
        EXPECT_FALSE(closing ? disabled.views.closeTable() : disabled.views.saveTable());
        EXPECT_EQ(disabled.prompts.messages().back(),
                  "Timing table disabled. Edit module parameters to enable timing table.");
        EXPECT_EQ(disabled.prompts.shown().back().title, "Save Table Edits To Buffer");
        EXPECT_EQ(disabled.prompts.shown().back().icon, PromptIcon::Exclamation);
        EXPECT_TRUE(disabled.views.tableOpen());
        EXPECT_EQ(disabled.state.EEPROMBuffer[16], 0xEE);
        EXPECT_EQ(disabled.pasteDisabled, 0);
    }
    ViewsFixture closed;
    closed.prompts.answer(PromptAnswer::OK);
    closed.views.saveTable();
    ASSERT_EQ(closed.prompts.shown().size(), 1u);
    EXPECT_EQ(closed.prompts.shown()[0].text, "No active table to save");
    EXPECT_EQ(closed.prompts.shown()[0].title, "Save Table Edits To Buffer");
}

// The current data cell carries the selection colours and the value label points at its
// value; the cell left gets its own heat colour back; a header cell changes nothing.
TEST(GridEditing, TheHighlightAndTheValueLabelFollowTheCurrentCell) {
    ViewsFixture f;
    f.state.TrigTiming = 30;
    f.state.Table3DEnabled = true;
    f.state.Table3D(4, 8) = 12.34;
    f.views.show3DTable();
    TimingGrid& grid = f.views.grid3D();
    grid.setCurrentCell(1, 4);
    EXPECT_EQ(grid.cellBackground(1, 4), grid.selectionBackground());
    const SurfaceChart& chart = f.views.chart3D();
    EXPECT_TRUE(chart.valueLabelVisible());
    EXPECT_EQ(chart.valueLabelText(), "12.3");
    grid.setCurrentCell(2, 4);
    EXPECT_NE(grid.cellBackground(1, 4), grid.selectionBackground());
    EXPECT_NE(grid.cellBackground(1, 4), grid.cellBackground(1, 5)) << "12.3 is not 0.0";
    EXPECT_EQ(chart.valueLabelText(), "0.0");
    grid.setCurrentCell(0, 4);
    EXPECT_EQ(chart.valueLabelText(), "0.0") << "a header cell leaves the label where it was";
    EXPECT_NE(grid.cellBackground(2, 4), grid.selectionBackground());
}

}  // namespace
}  // namespace qz
