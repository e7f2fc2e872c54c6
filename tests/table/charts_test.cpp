#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "table/timing_charts.h"

namespace qz {
namespace {

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
    line.picture()(painter, QRectF(line.rect()));
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

}  // namespace
}  // namespace qz
