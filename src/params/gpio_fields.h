#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/module_data.h"
#include "image/module_names.h"

namespace qz {

// One number field of the general purpose I/O dialog: how its text is read, its range with
// the exact messages, how the number becomes the variable's unit and how the field is then
// written back.
struct GpioField {
    const char* name;   // "txtGPI1OffTPS"
    const char* label;  // the label's name and caption
    const char* caption;
    bool decimal;  // integer fields round the number down first
    double minimum;
    double maximum;
    const char* belowText;
    const char* aboveText;
    const char* title;
    std::int16_t ParameterVariables::*variable;
    std::int16_t (*store)(double number);
    std::string (*text)(std::int16_t value);         // after a check
    std::string (*openingText)(std::int16_t value);  // when the dialog opens
};
const GpioField& gpioField(std::string_view name);

// The outcome of leaving a field with some text in it.
struct FieldCheck {
    std::optional<std::string> message;  // the below- or above-range text, if any
    std::int16_t stored;
    std::string text;
};
FieldCheck checkGpioField(const GpioField& field, const std::string& typed);

// After `field` was stored: the other field of its ordered pair when that one must take the
// same value and text (a minimum above its maximum, or the other way round), else nullptr.
const GpioField* partnerToFollow(const GpioField& field, const ParameterVariables& variables);

// The name of a function's button ("optGPI1DigitalNOS").
const char* functionButtonName(GpioLine line, const GpioFunction& function);

// The fields (and check box) a function uses; every other field of its frame is disabled.
std::vector<std::string_view> enabledControls(GpioLine line, int code);

// A new function keeps the high four bits of the mode byte.
std::uint8_t withFunction(std::uint8_t mode, int code);

}  // namespace qz
