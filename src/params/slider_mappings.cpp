#include "params/slider_mappings.h"

#include "core/checked_convert.h"
#include "core/number_text.h"
#include "core/program_error.h"
#include "core/rounding.h"
#include "image/module_units.h"

namespace qz {
namespace {

constexpr std::uint32_t kInvalidPropertyErrorNumber = 380;

std::string plainLabel(int value) {
    return numberText(value);
}

// Retard compensation moves in half degrees: two steps of the slider per degree.
int retardCompAt(int p) {
    return toInteger((10 - p) / (2 * kRetardStep));
}
int retardCompPosition(int value) {
    return 10 - toInteger(value * 2 * kRetardStep);
}
std::string retardCompLabel(int value) {
    return formatNumber(roundHalfEven(value * 2 * kRetardStep) / 2, "0.0");
}

int startRetardAt(int p) {
    return toInteger((10 - p) / kRetardStep);
}
int startRetardPosition(int value) {
    return 10 - toInteger(value * kRetardStep);
}
std::string startRetardLabel(int value) {
    return formatNumber(roundHalfEven(value * kRetardStep), "#0");
}

const SliderMapping kMappings[] = {
    {0, 40, 5, [](int p) { return 40 - p; }, [](int v) { return 40 - v; }, plainLabel},
    {30, 119, 10, [](int p) { return (139 - p) * kRpmLimitStep; },
     [](int v) { return 139 - toInteger(v / static_cast<double>(kRpmLimitStep)); }, plainLabel},
    {0, 10, 2, [](int p) { return 12 - p; }, [](int v) { return 12 - v; }, plainLabel},
    {0, 10, 2, retardCompAt, retardCompPosition, retardCompLabel},
    {0, 10, 2, startRetardAt, startRetardPosition, startRetardLabel},
};

}  // namespace

const SliderMapping& sliderMapping(ModuleSlider slider) {
    return kMappings[static_cast<int>(slider)];
}

int checkedPosition(ModuleSlider slider, int value) {
    const SliderMapping& mapping = sliderMapping(slider);
    const int position = mapping.positionFor(value);
    if (position < mapping.minimum || position > mapping.maximum)
        throw ProgramError(kInvalidPropertyErrorNumber, "Tunewell_QZ", "Invalid property value");
    return position;
}

}  // namespace qz
