#include "table/table_editor.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "support/named.h"
#include "support/program_folder.h"
#include "support/scripted_prompts.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"

namespace qz {
namespace {

using test::named;

// A window holding the editor's views.
struct EditorOnAWindow {
    ProgramState state;
    test::ScriptedPrompts prompts;
    QWidget window;
    explicit EditorOnAWindow(const QStringList& without = {}) : folder(without) {}
    test::ProgramFolder folder;
    TableEditor editor{state, prompts, folder.path(), &window, {}};
};

// Start-up sets up both grids, and a missing template is reported without stopping it.
TEST(TableEditor, StartUpSetsUpTheGridsAndReportsAMissingTemplate) {
    EditorOnAWindow f({"QZ_2D_Timing_Chart.oc2", "QZ_3D_1Bar_Timing_Chart.oc3"});
    f.prompts.answer(PromptAnswer::OK);
    f.prompts.answer(PromptAnswer::OK);
    f.editor.setUpAtStartup("Form Load");
    ASSERT_EQ(
        f.prompts.messages(),
        (std::vector<std::string>{"Chart template file QZ_2D_Timing_Chart.oc2 not found.",
                                  "Chart template file QZ_3D_1Bar_Timing_Chart.oc3 not found."}));
    EXPECT_EQ(f.prompts.shown()[0].title, "Form Load");
    EXPECT_EQ(f.prompts.shown()[0].icon, PromptIcon::Exclamation);
    const TimingGrid& grid2D = named<TimingGrid>(f.window, "VSFlexGrid1");
    const TimingGrid& grid3D = named<TimingGrid>(f.window, "VSFlexGrid2");
    EXPECT_EQ(std::pair(grid2D.rowCount(), grid3D.rowCount()), std::pair(2, 9));
    EXPECT_EQ(grid2D.cellText(1, 0), "ADV");
    EXPECT_EQ(grid3D.cellText(8, 0), "30") << "the 1-bar labels";
    EXPECT_EQ(grid3D.toolTip(), "Click to select or double click to edit cell");
    EXPECT_FALSE(f.editor.tableOpen());
}

// The current data cell carries the selection colours and the value label points at its
// value; the cell left gets its own heat colour back; a header cell changes nothing.
TEST(TableEditor, TheHighlightAndTheValueLabelFollowTheCurrentCell) {
    EditorOnAWindow f;
    f.editor.setUpAtStartup("Form Load");
    f.window.show();
    f.state.Table3DEnabled = true;
    f.state.Table3D(4, 8) = 12.34;
    f.editor.showNewTable(TableKind::Table3D);
    TimingGrid& grid = named<TimingGrid>(f.window, "VSFlexGrid2");
    const TimingChart& chart = named<TimingChart>(f.window, "Chart3D1");
    grid.setCurrentCell(1, 4);
    EXPECT_EQ(grid.cellBackground(1, 4), grid.selectionBackground());
    EXPECT_TRUE(chart.valueLabelVisible());
    EXPECT_EQ(chart.valueLabelText(), "12.3");
    EXPECT_EQ(chart.valueLabelPoint(), std::pair(4, 8));
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
