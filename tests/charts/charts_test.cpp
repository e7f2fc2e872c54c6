#include <gtest/gtest.h>

#include <cmath>

#include "charts/chart_ticks.h"
#include "charts/surface_projection.h"

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
