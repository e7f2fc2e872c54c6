#include "table/block_edits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "image/cell_encoding.h"
#include "table/advance_steps.h"
#include "table/view_layout.h"

namespace qz {
namespace {

TEST(ModifyEntry, FlagsAndAmountGiveTheFourFormulasWithinTheFixedLimits) {
    const struct {
        const char* entry;
        double old;
        double upper;
        double result;
    } cases[] = {
        {"30", 12, 45, 30},      {"  -5 ", 20, 45, 15},  {"+10", 20, 45, 30}, {"80%", 30, 45, 24},
        {"-7.5%", 20, 45, 18.5}, {"+15%", 30, 45, 34.5}, {"+10", 35, 40, 40}, {"+10", 35, 45, 45},
        {"-50", 50, 45, 0},      {"5-", 20, 45, 25},  // contains "-": relative, amount 5
        {"", 20, 45, 0},         {"abc", 20, 45, 0},     {"%", 20, 45, 0},    {"1e400%", 0, 45, 0},
        {"+1e400", 20, 45, 0},  // no finite number: none
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(modifiedValue(parseModifyEntry(c.entry), c.old, c.upper), c.result)
            << c.entry << " on " << c.old;
    EXPECT_EQ(modifyPrompt(),
              "Enter a new value. See examples below or Help for details.\r\n"
              "   Enter 30 to set all cells in selection to 30\r\n"
              "   Enter -5 to subtract 5 from each cell in selection\r\n"
              "   Enter +10 to add 10 to each cell in selection\r\n"
              "   Enter 80% to multiply each cell in selection by 80%\r\n"
              "   Enter -7.5% to reduce each cell in selection by 7.5%\r\n"
              "   Enter +15% to increase each cell in selection by 15%");
}

// A number as a whole, within the timing range below the trigger timing of the moment; never
// negative in the 2D table.
TEST(TypedAdvance, IsANumberWithinTheTimingRangeBelowTheTriggerTiming) {
    const std::string refused2D =
        "Timing must be numeric value greater than zero and within 22 degrees of trigger timing.";
    const std::string refused3D = "Timing must be numeric value between 8 and 30 degrees.";
    const std::string refused3D10 = "Timing must be numeric value between -12 and 10 degrees.";
    const struct {
        bool is3D;
        int trigger;
        const char* typed;
        std::string refusal;  // empty: taken
    } cases[] = {
        // clang-format off
        {false, 30, "7.9", refused2D}, {false, 30, "30.01", refused2D}, {false, 30, "", refused2D},
        {false, 30, "12abc", refused2D}, {false, 10, "-1", refused2D}, {false, 10, "0", ""},
        {false, 40, "18", ""}, {false, 40, "17.9", refused2D},
        {true, 30, "abc", refused3D}, {true, 30, "-0.5", refused3D}, {true, 30, "8", ""},
        {true, 10, "-12", ""}, {true, 10, "-12.1", refused3D10}, {true, 10, "10.1", refused3D10},
        {true, 40, "40", ""},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(typedAdvanceRefusal(c.typed, c.trigger, c.is3D).value_or(""), c.refusal)
            << c.typed << " at " << c.trigger;
}

TEST(PasteTarget, TheLastCopysSizeFromTheSelectionCutToTheGrid) {
    const struct {
        CellBlock selection;
        int rowSpan, columnSpan, lastRow;
        CellBlock target;
    } cases[] = {
        {{4, 10, 4, 10}, 1, 2, 8, {4, 10, 5, 12}},  // 3D: rows 2-3, columns 5-7 copied
        {{1, 18, 1, 18}, 0, 3, 1, {1, 18, 1, 21}},  // 2D: columns 3-6 copied
        {{2, 3, 6, 9}, 0, 0, 8, {2, 3, 6, 9}},      // one cell copied: the selection
        {{7, 19, 7, 19}, 3, 5, 8, {7, 19, 8, 21}},  // cut at the last row and column
    };
    for (const auto& c : cases)
        EXPECT_EQ(pasteTarget(c.selection, c.rowSpan, c.columnSpan, c.lastRow, 21), c.target);
    // Rows from Windows (CR LF), Linux (LF) or old macOS (CR) programs alike; a row end
    // after the last row adds no empty row.
    for (const char* text : {"1\t2\r\n3\t4\r\n", "1\t2\n3\t4\n", "1\t2\r3\t4", "1\t2\n3\t4"})
        EXPECT_EQ(foldLineEnds(text), "1\t2\r3\t4") << text;
    EXPECT_EQ(withPlatformLineEnds("1\t2\r3\t4"), "1\t2\n3\t4");
}

TEST(Interpolation, FillsAlongARowAColumnOrBetweenFourCorners) {
    using Block = std::vector<std::vector<double>>;
    EXPECT_EQ(interpolated({{10, 0, 0, 0, 30}}), (Block{{10, 15, 20, 25, 30}}));
    EXPECT_EQ(interpolated({{8}, {99}, {12}}), (Block{{8}, {10}, {12}}));
    EXPECT_EQ(interpolated({{0, 7, 10}, {7, 7, 7}, {20, 7, 30}}),
              (Block{{0, 5, 10}, {10, 15, 20}, {20, 25, 30}}));
    EXPECT_EQ(interpolated({{1e308, 0, -1e308}}), (Block{{1e308, 0, -1e308}}))
        << "a result beyond a double is none";
}

// Worked by hand: 1-2-1 along each axis of three or more cells, from the values as they were;
// the ends of such an axis keep theirs.
TEST(Smoothing, Weighs121AlongEachLongAxisAndKeepsTheEdges) {
    using Block = std::vector<std::vector<double>>;
    EXPECT_EQ(smoothed({{10, 20, 40, 20, 10}}, 0, 45), (Block{{10, 22.5, 30, 22.5, 10}}));
    EXPECT_EQ(smoothed({{8}, {12}, {20}}, 0, 45), (Block{{8}, {13}, {20}}));
    EXPECT_EQ(smoothed({{0, 16, 16}, {0, 0, 0}, {0, 0, 0}}, 0, 45),
              (Block{{0, 16, 16}, {0, 3, 0}, {0, 0, 0}}))
        << "a corner weighs 1, a side 2, of 16";
    EXPECT_EQ(smoothed({{0, 8, 0, 0}, {4, 4, 4, 4}}, 0, 45), (Block{{0, 4, 2, 0}, {4, 4, 4, 4}}))
        << "two rows: each smoothed along itself";
    EXPECT_EQ(smoothed({{20, 40, 40}}, 8, 30), (Block{{20, 30, 40}})) << "35 held at 30";
    EXPECT_EQ(smoothed({{1e308, 1e308, 1e308}}, 0, 1e308), (Block{{1e308, 1e308, 1e308}}));
    EXPECT_EQ((std::vector{hasInnerCells({1, 1, 1, 2}), hasInnerCells({1, 1, 1, 3}),
                           hasInnerCells({2, 4, 4, 4}), hasInnerCells({1, 1, 2, 2})}),
              (std::vector{false, true, true, false}));
}

// A 2D point at 20 picked at pixel row 300, with T = 30: 99.5 and 100.5 steps go to the even
// 100, and the 2D chart stops at 0 where the 3D chart does not. The offset moves 0.4 degree
// per degree the point is dragged on the surface, up to 5 either way; an offset of 0 still
// brings cells within range.
TEST(Dragging, FollowsThePointerOnTheGridWithinTheTimingRange) {
    // clang-format off
    const double results[] = {dragged2D(20, 300, 290, 30), dragged2D(20, 300, 301, 30),
        dragged2D(20, 300, 299, 30), dragged2D(20, 300, -500, 30), dragged2D(20, 300, 900, 30),
        dragged2D(5, 300, 900, 10), dragged3D(-20, 10), dragged3D(24.33, 30), dragOffset(37.5, 20),
        dragOffset(18.6, 20), dragOffset(-10, 20), shifted(28, 5, 30), shifted(3, 0, 30)};
    // clang-format on
    const double expected[] = {21, 20, 20, 30, 8, 0, -12, 24.4, 5, -0.6, -5, 30, 8};
    for (std::size_t i = 0; i < std::size(results); ++i)
        EXPECT_DOUBLE_EQ(results[i], expected[i]) << i;
}

constexpr auto k2D = TableKind::Table2D;
constexpr auto k3D = TableKind::Table3D;

// What the module holds for a byte, as the table shows it.
double shown(int trigger, int byte, TableKind kind) {
    const double advance = decodeCell(trigger, static_cast<std::uint8_t>(byte));
    return kind == k2D ? std::max(advance, 0.0) : advance;
}

// Worked by hand, at and near both limits: the byte a step leaves the cell at.
TEST(AdvanceStep, TakesTheByteTheModuleWillHold) {
    const double at114 = 30 - 114 * 0.0879;
    // clang-format off
    const struct {
        TableKind kind;
        int trigger;
        double advance, delta;
        int byte;
    } cases[] = {
        {k3D, 30, 20, 0.5, 108}, {k3D, 30, 20, -2, 137},  // 9.5 / 0.0879, 136.52
        {k3D, 30, at114, 0.03, 113}, {k3D, 30, at114, -0.03, 115},  // finer than a byte
        {k3D, 30, 29.8, 0.5, 0}, {k3D, 30, 45, -0.5, 1},  // at T; a Modify'd 45
        {k3D, 10, -11.7, -2, 250}, {k3D, 10, -12, -0.5, 250},  // 22 / 0.0879 = 250.28
        {k2D, 10, 0.3, -0.5, 114}, {k2D, 10, 0, 0.5, 108},  // 2D: 0 is the floor
        {k2D, 40, 18.2, -2, 250}, {k3D, 22, 0.4, -2, 250},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(steppedAdvance(c.advance, c.delta, c.trigger, c.kind),
                         shown(c.trigger, c.byte, c.kind))
            << c.advance << " by " << c.delta << " at " << c.trigger;
}

// Over the span typing allows at every trigger timing, fine, coarse and finer than a byte:
// the byte moves at least one unless the cell is at the limit it moves towards, the cell
// shows what its byte decodes to, and it stays within the span.
TEST(AdvanceStep, MovesTheByteAtLeastOneAndStaysWithinTheTypedSpan) {
    for (const TableKind kind : {k2D, k3D})
        for (const int trigger : {10, 22, 30, 40})
            for (const double delta : {0.5, -0.5, 2.0, -2.0, 0.03, -0.03}) {
                const double lowest = std::max(trigger - 22.0, kind == k2D ? 0.0 : -99.0);
                for (double advance = lowest; advance <= trigger; advance += 0.0371) {
                    const double after = steppedAdvance(advance, delta, trigger, kind);
                    const int from = encodeCell(trigger, advance);
                    const int to = encodeCell(trigger, after);
                    const bool atLimit =
                        delta > 0 ? from == 0 : shown(trigger, from + 1, k3D) < lowest;
                    EXPECT_TRUE(atLimit || (delta > 0 ? to < from : to > from)) << advance;
                    EXPECT_DOUBLE_EQ(after, shown(trigger, to, kind)) << advance;
                    EXPECT_TRUE(after >= lowest && after <= trigger) << advance;
                }
            }
}

// A grid that needs more than its share takes it from the chart, down to half the height.
TEST(ViewLayout, ChartsTakeTheUpperSeventyPercentAndGridsTheRest) {
    const struct {
        int width, height, gridNeeds;
        double chartHeight, gridWidth, gridHeight;
    } cases[] = {
        {15000, 10000, 0, 7000, 14850, 2275},
        {15000, 2418, 0, 1692.6, 14850, 0},  // 725.4 - 725 rounds to 0
        {15000, 2419, 0, 1693.3, 14850, 1},
        {15000, 2000, 0, 1400, 14850, 0},      // negative, clamped
        {100, 5000, 0, 3500, 0, 775},          // narrower than 150 twips
        {15000, 4085, 0, 2859.5, 14850, 500},  // 500.5 rounds to the even 500
        {15000, 10000, 2275, 7000, 14850, 2275},
        {15000, 10000, 2500, 6775, 14850, 2500},
        {15000, 10000, 5000, 5000, 14850, 4275},
    };
    for (const auto& c : cases) {
        const ViewLayout l = computeViewLayout(c.width, c.height, c.gridNeeds);
        EXPECT_EQ(std::tuple(l.chart.left, l.chart.top, l.chart.width, l.grid.left, l.grid.width,
                             l.grid.height),
                  std::tuple(0.0, 0.0, double(c.width), 0.0, c.gridWidth, c.gridHeight))
            << c.height;
        EXPECT_DOUBLE_EQ(l.chart.height, c.chartHeight) << c.height;
        EXPECT_DOUBLE_EQ(l.grid.top, c.chartHeight) << c.height;
    }
}

// 14820 / 22 = 673.6 columns; at 120 by 144 pixels an inch, 2.5 pixels round to the even 2.
TEST(ViewLayout, GridCellsShareTheGridsInnerAreaAndTwipsFollowTheScreen) {
    EXPECT_EQ(std::tuple(gridColumnWidth(14820), gridColumnWidth(0), grid2DRowHeight(2250),
                         grid3DRowHeight(2250)),
              std::tuple(672, -1, 740, 249));
    const TwipScale at120(120, 144);
    EXPECT_EQ(std::tuple(at120.toPixelsX(1440), at120.toPixelsY(1440), at120.toTwipsX(120),
                         at120.toTwipsY(100), at120.toPixelsX(30)),
              std::tuple(120, 144, 1440, 1000, 2));
}

}  // namespace
}  // namespace qz
