#include "wizards/wizard_rules.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(Curve2D, OpeningKeepsTheAdvancesBelowTheTriggerTiming) {
    const struct {
        int trigger, start, final;
    } cases[] = {{30, 10, 30}, {18, 8, 18}, {5, 0, 5}, {20, 10, 20}, {0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(initialCurve(c.trigger), (Curve2D{c.trigger, 1500, 3000, c.start, c.final}));
}

// Each box as typed and left, from the defaults at a trigger timing of 30: RPM on 500 with
// halves to the even multiple, degrees cut to whole ones; a limit itself is fine.
TEST(Curve2D, LeavingABoxCorrectsItsValueAndMovesItsPartner) {
    const auto atLeast = [](const char* what, const char* title) {
        return WizardMessage{std::string("Value must be greater than or equal to ") + what, title};
    };
    const auto atMost = [](const char* what, const char* title) {
        return WizardMessage{std::string("Value must be less than or equal to ") + what, title};
    };
    using F = CurveField;
    const char* start = "Start RPM Parameter";
    const char* final = "Final RPM Parameter";
    const char* trigger = "Trigger Timing Value";
    const char* first = "Start Timing Value";
    const struct {
        CurveField field;
        const char* typed;
        Curve2D after;
        std::vector<WizardMessage> messages;
    } cases[] = {
        // clang-format off
        {F::StartRpm, "1749", {30, 1500, 3000, 10, 30}, {}},
        {F::StartRpm, "1750", {30, 2000, 3000, 10, 30}, {}},
        {F::StartRpm, "1250", {30, 1000, 3000, 10, 30}, {}},
        {F::StartRpm, "4000", {30, 4000, 4000, 10, 30}, {}},
        {F::StartRpm, "100", {30, 500, 3000, 10, 30}, {atLeast("500", start)}},
        {F::StartRpm, "10500", {30, 10000, 10000, 10, 30}, {atMost("10000", start)}},
        {F::FinalRpm, "2000 rpm", {30, 1500, 2000, 10, 30}, {}},
        {F::FinalRpm, "700", {30, 1000, 1000, 10, 30}, {atLeast("1000", final)}},
        {F::FinalRpm, "12000", {30, 1500, 10000, 10, 30}, {atMost("10000", final)}},
        {F::FinalRpm, "10000", {30, 1500, 10000, 10, 30}, {}},
        {F::TrigTiming, "45", {40, 1500, 3000, 10, 30}, {atMost("40", trigger)}},
        {F::TrigTiming, "12.9", {12, 1500, 3000, 10, 12}, {}},
        {F::TrigTiming, "40", {40, 1500, 3000, 10, 30}, {}},
        {F::TrigTiming, "1e400", {40, 1500, 3000, 10, 30}, {atMost("40", trigger)}},
        {F::TrigTiming, "-3", {0, 1500, 3000, 0, 0}, {atLeast("zero", trigger)}},
        {F::StartTiming, "-1e400", {30, 1500, 3000, 0, 30}, {atLeast("zero", first)}},
        {F::StartTiming, "31", {30, 1500, 3000, 30, 30}, {atMost("trigger timing: 30", first)}},
        {F::FinalTiming, "abc", {30, 1500, 3000, 10, 0}, {}},
        {F::FinalTiming, "-1", {30, 1500, 3000, 10, 0}, {atLeast("zero", "Final Timing Value")}},
        // clang-format on
    };
    for (const auto& c : cases) {
        Curve2D curve = initialCurve(30);
        EXPECT_EQ(enterCurveField(curve, c.field, c.typed), c.messages) << c.typed;
        EXPECT_EQ(curve, c.after) << c.typed;
    }
    Curve2D curve{30, 500, 10000, 10, 30};
    EXPECT_EQ(curveFieldText(curve, CurveField::FinalRpm), "10000");
    EXPECT_EQ(curveFieldText(curve, CurveField::StartTiming), "10");
}

// Row 1 (the advances) or row 2 (the trigger timing) of a curve's table.
std::vector<double> curveRow(const Curve2D& curve, int row) {
    const Table2DCells table = generateCurve(curve).value();
    std::vector<double> cells;
    for (int c = 1; c <= 21; ++c) cells.push_back(table(c, row));
    return cells;
}

// From 1500 to 3000 RPM the line on the 0.0879 step, in single precision: 2000 RPM is
// 10 + 20 / 1500 x 500 = 16.667, 189.6 steps, so 190 steps. A falling line is held within 22
// degrees of the trigger timing; an equal start and final RPM is a step.
TEST(Curve2D, TheCurveRunsOnTheModulesStepBetweenItsEndsWithinTheTimingRange) {
    const auto on = [](int steps) {
        return static_cast<double>(static_cast<float>(steps * 0.0879));
    };
    EXPECT_EQ(curveRow(initialCurve(30), 1),
              (std::vector<double>{10, 10, 10, on(114), on(190), on(265), on(341), 30, 30, 30, 30,
                                   30, 30, 30, 30,      30,      30,      30,      30, 30, 30}));
    EXPECT_EQ(curveRow(initialCurve(30), 2), std::vector<double>(21, 30));
    const auto falling = curveRow({30, 1500, 3000, 30, 0}, 1);
    const auto level = curveRow({30, 2000, 2000, 10, 20}, 1);
    EXPECT_EQ(std::tuple(falling.front(), falling.back(), level[3], level[5]),
              std::tuple(30, 8, 10, 20));
    EXPECT_FALSE(generateCurve({30, 3000, 1500, 10, 30})) << "start above final";
}

TEST(Flat3D, TheBaseTimingStaysWithinTheTimingRangeBelowTheTriggerTiming) {
    EXPECT_EQ(std::tuple(initialBaseTiming(30), initialBaseTiming(10), initialBaseTiming(40)),
              std::tuple(20, 10, 20));
    const struct {
        int base, trigger, kept;
    } moves[] = {{0, 30, 8}, {35, 30, 30}, {20, 15, 15}, {25, 30, 25}, {0, 10, 0}};
    for (const auto& m : moves) EXPECT_EQ(keptBaseTiming(m.base, m.trigger), m.kept);
    const Table3DCells table = flatTable(17);
    for (int c = 1; c <= 21; ++c)
        for (int r = 1; r <= 8; ++r) ASSERT_EQ(table(c, r), 17);
}

}  // namespace
}  // namespace qz
