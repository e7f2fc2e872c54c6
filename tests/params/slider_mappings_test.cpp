#include "params/slider_mappings.h"

#include <gtest/gtest.h>

#include "core/program_error.h"

namespace qz {
namespace {

// Both ends of each slider, and for those whose steps round, a step in from each end.
TEST(SliderMappings, EachSliderAtBothEndsAndOneStepIn) {
    using S = ModuleSlider;
    const struct {
        ModuleSlider slider;
        int position;
        int value;
        const char* label;
    } cases[] = {
        // clang-format off
        {S::TrigTiming, 0, 40, " 40"}, {S::TrigTiming, 40, 0, " 0"},
        {S::MaxRPMLimit, 30, 10900, " 10900"}, {S::MaxRPMLimit, 119, 2000, " 2000"},
        {S::MaxRPMLimit, 109, 3000, " 3000"},
        {S::CrankPulses, 0, 12, " 12"}, {S::CrankPulses, 10, 2, " 2"},
        {S::RetardComp, 0, 57, "5.0"}, {S::RetardComp, 1, 51, "4.5"}, {S::RetardComp, 5, 28, "2.5"},
        {S::RetardComp, 9, 6, "0.5"}, {S::RetardComp, 10, 0, "0.0"},
        {S::StartRetard, 0, 114, "10"}, {S::StartRetard, 1, 102, "9"}, {S::StartRetard, 9, 11, "1"},
        {S::StartRetard, 10, 0, "0"},
        // clang-format on
    };
    for (const auto& c : cases) {
        const SliderMapping& mapping = sliderMapping(c.slider);
        EXPECT_EQ(mapping.valueAt(c.position), c.value) << c.position;
        EXPECT_EQ(checkedPosition(c.slider, c.value), c.position) << c.value;
        EXPECT_EQ(mapping.label(c.value), c.label) << c.value;
    }
}

TEST(SliderMappings, ValuesBetweenStepsShowTheNearestStep) {
    // 30 counts are 2.6 degrees: the label shows 2.5 and the slider stands at 5, whose own
    // value is 28.
    EXPECT_EQ(sliderMapping(ModuleSlider::RetardComp).label(30), "2.5");
    EXPECT_EQ(checkedPosition(ModuleSlider::RetardComp, 30), 5);
    EXPECT_EQ(checkedPosition(ModuleSlider::MaxRPMLimit, 6550), 139 - 66);  // 65.5 -> 66
    EXPECT_EQ(checkedPosition(ModuleSlider::MaxRPMLimit, 6450), 139 - 64);  // 64.5 -> 64
}

TEST(SliderMappings, AValueBeyondTheSliderIsAnInvalidPropertyValue) {
    const std::pair<ModuleSlider, int> cases[] = {
        {ModuleSlider::TrigTiming, 41},     {ModuleSlider::TrigTiming, -1},
        {ModuleSlider::MaxRPMLimit, 11000}, {ModuleSlider::MaxRPMLimit, 1900},
        {ModuleSlider::CrankPulses, 1},     {ModuleSlider::RetardComp, 60},
        {ModuleSlider::StartRetard, 120},
    };
    for (const auto& [slider, value] : cases) {
        try {
            checkedPosition(slider, value);
            ADD_FAILURE() << value << " fitted";
        } catch (const ProgramError& error) {
            EXPECT_EQ(error.description(), "Invalid property value");
        }
    }
}

}  // namespace
}  // namespace qz
