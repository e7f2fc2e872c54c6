#include "widgets/slider_frame.h"

#include <QVBoxLayout>

namespace qz {

SliderFrame makeSliderFrame(const SliderSpec& spec, QWidget* parent) {
    auto* frame = new QGroupBox(QString::fromUtf8(spec.caption), parent);
    frame->setObjectName(QString::fromLatin1(spec.frameName));
    auto* slider = new QSlider(Qt::Vertical, frame);
    slider->setObjectName(QString::fromLatin1(spec.sliderName));
    slider->setRange(spec.minimum, spec.maximum);
    slider->setSingleStep(1);
    slider->setPageStep(spec.pageStep);
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setTickPosition(QSlider::TicksBothSides);
    slider->setTickInterval(spec.pageStep);
    slider->setMinimumHeight(spec.height);
    // The top is the largest value, so a groove filled from the top down to the thumb would
    // read upside down: leave it unfilled.
    QPalette palette = slider->palette();
    palette.setColor(QPalette::Highlight, palette.color(QPalette::Button));
    slider->setPalette(palette);
    auto* label = new QLabel(frame);
    label->setObjectName(QString::fromLatin1(spec.labelName));
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(slider, 1, Qt::AlignHCenter);
    layout->addWidget(label);
    return {frame, slider, label};
}

}  // namespace qz
