#include "wizards/wizard_rules.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(Curve2D, OpeningKeepsTheAdvancesBelowTheTriggerTiming) {
    const struct {
        int trigger, start, final;
    } cases[] = {{30, 10, 30}, {18, 8, 18}, {5, 0, 5}, {20, 10, 20}, {0, 0, 0}};
    for (const auto& c : cases) {
        const Curve2D curve = initialCurve(c.trigger);
        EXPECT_EQ(curve, (Curve2D{c.trigger, 1500, 3000, c.start, c.final})) << c.trigger;
    }
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

TEST(Curve2D, TheCurveRunsOnTheModulesStepBetweenItsEndsWithinTheTimingRange) {
    const auto table = generateCurve(initialCurve(30));
    ASSERT_TRUE(table);
    for (int c = 1; c <= 21; ++c) {
        const double rpm = (c - 1) * 500;
        EXPECT_EQ((*table)(c, 2), 30);
        if (rpm < 1500 || rpm > 3000) {
            EXPECT_EQ((*table)(c, 1), rpm < 1500 ? 10 : 30) << rpm;
        }
    }
    // From 1500 to 3000 RPM the line on the 0.0879 step, in single precision: 2000 RPM is
    // 10 + 20 / 1500 x 500 = 16.667, 189.6 steps, so 190 steps.
    const int steps[] = {114, 190, 265, 341};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((*table)(4 + i, 1), static_cast<double>(static_cast<float>(steps[i] * 0.0879)));

    const auto falling = generateCurve({30, 1500, 3000, 30, 0});
    EXPECT_EQ((*falling)(1, 1), 30);
    EXPECT_EQ((*falling)(21, 1), 8) << "held within 22 degrees of the trigger timing";
    EXPECT_FALSE(generateCurve({30, 3000, 1500, 10, 30})) << "start above final";
    const auto level = generateCurve({30, 2000, 2000, 10, 20});
    EXPECT_EQ((*level)(4, 1), 10);
    EXPECT_EQ((*level)(6, 1), 20) << "an equal start and final RPM is a step";
}

TEST(Flat3D, TheBaseTimingStaysWithinTheTimingRangeBelowTheTriggerTiming) {
    EXPECT_EQ(initialBaseTiming(30), 20);
    EXPECT_EQ(initialBaseTiming(10), 10);
    EXPECT_EQ(initialBaseTiming(40), 20);
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
