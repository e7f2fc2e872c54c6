#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QSlider>

namespace qz {

// A frame holding a vertical slider above its value label, as the module parameters dialog
// and the 3D wizard show their values. Position 0 is the slider's top and stands for its
// largest value.
struct SliderFrame {
    QGroupBox* frame;
    QSlider* slider;
    QLabel* label;
};

struct SliderSpec {
    const char* frameName;
    const char* caption;
    const char* sliderName;
    const char* labelName;
    int minimum;
    int maximum;
    int pageStep;  // also the tick interval
    int height;    // the slider's least height in pixels
};

SliderFrame makeSliderFrame(const SliderSpec& spec, QWidget* parent);

}  // namespace qz
