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
