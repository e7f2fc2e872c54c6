#include "table/view_layout.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(ViewLayout, ChartsTakeTheUpperSeventyPercentAndGridsTheRest) {
    // clang-format off
    const struct {
        int width, height, gridNeeds;
        double chartHeight, gridTop, gridWidth, gridHeight;
    } cases[] = {
        {15000, 10000, 0, 7000, 7000, 14850, 2275},
        {15000, 2418, 0, 1692.6, 1692.6, 14850, 0},  // 725.4 - 725 rounds to 0
        {15000, 2419, 0, 1693.3, 1693.3, 14850, 1},
        {15000, 2000, 0, 1400, 1400, 14850, 0},  // negative, clamped
        {100, 5000, 0, 3500, 3500, 0, 775},  // narrower than 150 twips
        {15000, 4085, 0, 2859.5, 2859.5, 14850, 500},  // 500.5 rounds to the even 500
        {15000, 10000, 2275, 7000, 7000, 14850, 2275},
        {15000, 10000, 2500, 6775, 6775, 14850, 2500},
        {15000, 10000, 5000, 5000, 5000, 14850, 4275},
    };
    // clang-format on
    for (const auto& c : cases) {
        const ViewLayout layout = computeViewLayout(c.width, c.height, c.gridNeeds);
        EXPECT_EQ(layout.chart.left, 0);
        EXPECT_EQ(layout.chart.top, 0);
        EXPECT_EQ(layout.chart.width, c.width);
        EXPECT_DOUBLE_EQ(layout.chart.height, c.chartHeight) << c.height;
        EXPECT_EQ(layout.grid.left, 0);
        EXPECT_DOUBLE_EQ(layout.grid.top, c.gridTop);
        EXPECT_EQ(layout.grid.width, c.gridWidth);
        EXPECT_EQ(layout.grid.height, c.gridHeight) << c.height;
    }
}

TEST(ViewLayout, GridCellsShareTheGridsInnerArea) {
    EXPECT_EQ(gridColumnWidth(14820), 672);  // 14820 / 22 = 673.6
    EXPECT_EQ(gridColumnWidth(0), -1);
    EXPECT_EQ(grid2DRowHeight(2250), 740);
    EXPECT_EQ(grid3DRowHeight(2250), 249);
}

TEST(TwipScale, ConvertsWithTheScreensResolution) {
    const TwipScale at96(96, 96);
    EXPECT_EQ(at96.toPixelsX(1440), 96);
    EXPECT_EQ(at96.toTwipsY(100), 1500);
    const TwipScale at120(120, 144);
    EXPECT_EQ(at120.toPixelsX(1440), 120);
    EXPECT_EQ(at120.toPixelsY(1440), 144);
    EXPECT_EQ(at120.toTwipsX(120), 1440);
    EXPECT_EQ(at120.toPixelsX(30), 2);  // 2.5 pixels round to the even 2
}

}  // namespace
}  // namespace qz
