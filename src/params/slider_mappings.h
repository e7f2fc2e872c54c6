#pragma once

#include <string>

namespace qz {

enum class ModuleSlider { TrigTiming, MaxRPMLimit, CrankPulses, RetardComp, StartRetard };

// How a vertical slider of the module parameters dialog stands for its variable. Position 0
// is the top of the slider and the top is the largest value.
struct SliderMapping {
    int minimum;
    int maximum;
    int pageStep;
    int (*valueAt)(int position);
    int (*positionFor)(int value);  // may fall outside the slider's range
    std::string (*label)(int value);
};

const SliderMapping& sliderMapping(ModuleSlider slider);

// The position for a value; a position outside the slider's range is the run-time error
// "Invalid property value".
int checkedPosition(ModuleSlider slider, int value);

}  // namespace qz
