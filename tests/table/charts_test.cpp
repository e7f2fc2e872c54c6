#include <gtest/gtest.h>

#include <cmath>

#include "table/chart_ticks.h"

#include <QImage>
#include <QTest>

#include "table/surface_projection.h"
#include "table/timing_charts.h"

namespace qz {
namespace {

const QRectF kArea(40, 30, 800, 400);

// However the box is turned, at scale 1 it stays inside the area, the back rises on the
// screen, and a point read back through its own pixel gives its own value.
TEST(SurfaceProjection, EveryViewFitsSeesFromAboveAndReadsBackItsValues) {
    for (double rotation = 0; rotation < 360; rotation += 15)
        for (double elevation : {5.0, 28.0, 60.0, 85.0}) {
            SurfaceProjection view(kArea, -15, 45);
            view.setView(rotation, elevation, 1);
            for (int x : {1, 21})
                for (int y : {1, 8})
                    for (double z : {-15.0, 45.0})
                        EXPECT_TRUE(
                            kArea.adjusted(-0.5, -0.5, 0.5, 0.5).contains(view.project(x, y, z)))
                            << rotation << " " << elevation;
            EXPECT_LT(view.project(11, 4.5, 45).y(), view.project(11, 4.5, -15).y()) << "up is up";
            EXPECT_LT(view.depth(11, 4.5, 45), view.depth(11, 4.5, -15)) << "the top is nearer";
            for (const auto& [x, y, z] : {std::tuple{1, 1, -15.0}, {9, 4, 24.2}, {21, 8, 40.0}})
                EXPECT_NEAR(view.valueThrough(x, y, view.project(x, y, z)), z, 1e-9);
        }
    SurfaceProjection front(kArea, -15, 45);
    front.setView(0, 30, 1);
    EXPECT_EQ(front.project(11, 4.5, 15), kArea.center()) << "the box's centre in the middle";
    EXPECT_LT(front.project(1, 4.5, 15).x(), front.project(21, 4.5, 15).x()) << "RPM to the right";
    EXPECT_GT(front.depth(11, 8, 15), front.depth(11, 1, 15));
    EXPECT_LT(front.project(11, 8, 15).y(), front.project(11, 1, 15).y()) << "the back rises";
}

Table2DCells rising() {
    Table2DCells table;
    for (int c = 1; c <= 21; ++c) {
        table(c, 1) = 10 + c;
        table(c, 2) = 30;
    }
    return table;
}

// What is drawn is where the picks find it, on the screen as in an image.
TEST(Charts, PointsAreDrawnWherePicksFindThem) {
    LineChart line("Chart2D1", nullptr);
    line.resize(800, 400);
    line.setTable(rising());
    QImage image(line.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    line.paint(painter, QRectF(line.rect()));
    painter.end();
    const QPointF point5 = line.pointPosition(1, 5, QRectF(line.rect()));
    EXPECT_EQ(image.pixelColor(point5.toPoint()),
              line.chartTemplate().value_or(ChartTemplate{}).series1);
    const ChartPick picked = line.pick(point5 + QPointF(3, 4));
    EXPECT_TRUE(picked.inPlotArea);
    EXPECT_EQ(std::pair(picked.first, picked.second), std::pair(1, 5));
    EXPECT_DOUBLE_EQ(picked.distance, 5);
    EXPECT_FALSE(line.pick(QPointF(2, 2)).inPlotArea);

    SurfaceChart surface("Chart3D1", nullptr);
    surface.resize(800, 400);
    Table3DCells table;
    table(7, 3) = 20;
    surface.setTable(table);
    const SurfaceProjection view = surface.projection(QRectF(surface.rect()));
    const QPointF peak = view.project(7, 3, 20);
    const ChartPick top = surface.pick(peak + QPointF(1, 0));
    EXPECT_EQ(std::pair(top.first, top.second), std::pair(7, 3));
    EXPECT_NEAR(surface.valueThrough(7, 3, view.project(7, 3, 31)), 31, 1e-9) << "as drawn";
}

TEST(Charts, TheSurfaceTurnsWithTheKeysAndTheRightButton) {
    SurfaceChart surface("Chart3D1", nullptr);
    surface.resize(800, 400);
    const double before = surface.projection(QRectF(surface.rect())).rotation();
    QTest::keyClick(&surface, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(surface.projection(QRectF(surface.rect())).rotation(), before + 5);
    QTest::keyClick(&surface, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(surface.projection(QRectF(surface.rect())).elevation(),
                     SurfaceProjection::kDefaultElevation + 5);
    std::vector<Qt::MouseButton> pressed;
    QObject::connect(
        &surface, &TimingChart::mousePressed,
        [&](Qt::MouseButton button, Qt::KeyboardModifiers, QPointF) { pressed.push_back(button); });
    QTest::mousePress(&surface, Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseMove(&surface, QPoint(120, 100));
    QTest::mouseRelease(&surface, Qt::RightButton, {}, QPoint(120, 100));
    EXPECT_DOUBLE_EQ(surface.projection(QRectF(surface.rect())).rotation(), before + 5 - 10);
    EXPECT_EQ(pressed, std::vector<Qt::MouseButton>{Qt::RightButton}) << "still reported";
    QTest::keyClick(&surface, Qt::Key_PageUp);
    QTest::keyClick(&surface, Qt::Key_Home);  // the view it opened with
    const SurfaceProjection home = surface.projection(QRectF(surface.rect()));
    EXPECT_EQ(
        std::tuple(home.rotation(), home.elevation(), home.scale()),
        std::tuple(SurfaceProjection::kDefaultRotation, SurfaceProjection::kDefaultElevation, 1.0));
}

// However wide the template's range, an axis gets a bounded number of round marks.
TEST(Charts, AxisMarksAreFewAndRoundWhateverTheRange) {
    EXPECT_EQ(axisTicks(-15, 45, 8), (std::vector<double>{-10, 0, 10, 20, 30, 40}));
    EXPECT_EQ(axisTicks(0, 10000, 10), (std::vector<double>{0, 1000, 2000, 3000, 4000, 5000, 6000,
                                                            7000, 8000, 9000, 10000}));
    EXPECT_EQ(axisTicks(-1e20, 45, 8), (std::vector<double>{-1e20, -8e19, -6e19, -4e19, -2e19, 0}));
    EXPECT_LE(axisTicks(-1e308, 1e308, 8).size(), 9u);
    EXPECT_TRUE(axisTicks(0, std::nan(""), 8).empty());
    EXPECT_TRUE(axisTicks(5, 5, 8).empty());
}

}  // namespace
}  // namespace qz
