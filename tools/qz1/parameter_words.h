#pragma once

#include <string>
#include <string_view>

#include "core/module_data.h"
#include "qz1/tune.h"

namespace qz1 {

// A parameter variable in words, as a tuner reads it: its label ("Trigger timing") and its
// value with the unit ("30 deg", "6500 (fixed)"). Every variable has both.
std::string parameterLabel(std::string_view name);
std::string parameterValueText(std::string_view name, const qz::ModuleData& data);

// The value as the file gives it, or "cannot be decoded": no value is made up for it.
std::string storedValueText(std::string_view name, const Tune& tune);

// Headings that `show` prints before the variable of that name, or empty.
std::string_view sectionBefore(std::string_view name);

}  // namespace qz1
