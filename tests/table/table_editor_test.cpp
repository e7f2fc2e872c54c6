#include "table/table_editor.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
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
    EXPECT_EQ(std::pair(f.prompts.shown()[0].title, f.prompts.shown()[0].icon),
              std::pair(std::string("Form Load"), PromptIcon::Exclamation));
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

// A point is drawn where it is picked (the picks themselves are the dragging tests'), and
// nothing is picked outside the plot area.
TEST(Charts, PointsAreDrawnWherePicksFindThem) {
    LineChart line("Chart2D1", nullptr);
    line.resize(800, 400);
    Table2DCells rising;
    for (int c = 1; c <= 21; ++c) rising(c, 1) = 10 + c, rising(c, 2) = 30;
    line.setTable(rising);
    QImage image(line.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    line.picture()(painter, QRectF(line.rect()));
    painter.end();
    EXPECT_EQ(image.pixelColor(line.pointPosition(1, 5, QRectF(line.rect())).toPoint()),
              line.chartTemplate().value_or(ChartTemplate{}).series1);
    EXPECT_FALSE(line.pick(QPointF(2, 2)).inPlotArea);
}

TEST(Charts, TheSurfaceTurnsWithTheKeysAndTheRightButton) {
    using P = SurfaceProjection;
    SurfaceChart surface("Chart3D1", nullptr);
    surface.resize(800, 400);
    const auto view = [&] { return surface.projection(QRectF(surface.rect())); };
    const double before = view().rotation();
    QTest::keyClick(&surface, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(view().rotation(), before + 5);
    QTest::keyClick(&surface, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(view().elevation(), P::kDefaultElevation + 5);
    std::vector<Qt::MouseButton> pressed;
    QObject::connect(
        &surface, &TimingChart::mousePressed,
        [&](Qt::MouseButton button, Qt::KeyboardModifiers, QPointF) { pressed.push_back(button); });
    QTest::mousePress(&surface, Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseMove(&surface, QPoint(120, 100));
    QTest::mouseRelease(&surface, Qt::RightButton, {}, QPoint(120, 100));
    EXPECT_DOUBLE_EQ(view().rotation(), before + 5 - 10);
    EXPECT_EQ(pressed, std::vector<Qt::MouseButton>{Qt::RightButton}) << "still reported";
    QTest::keyClick(&surface, Qt::Key_PageUp);
    QTest::keyClick(&surface, Qt::Key_Home);  // the view it opened with
    EXPECT_EQ(std::tuple(view().rotation(), view().elevation(), view().scale()),
              std::tuple(P::kDefaultRotation, P::kDefaultElevation, 1.0));
}

}  // namespace
}  // namespace qz
