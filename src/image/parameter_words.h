#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/module_data.h"

namespace qz {

// A parameter variable as the program shows it to a tuner: its label ("Trigger Signal
// Timing (Deg)") and its value in the report's units and format ("30.0").
struct ParameterWords {
    std::string_view variable;  // the variable's name in the parameter catalog
    std::string_view label;
    std::string (*value)(const ParameterVariables&);
};

// Every parameter a tuner sets, in the order of the report's parameter page; the flag
// bytes, whose own flags come first, last.
std::span<const ParameterWords> parameterWords();

// The report's texts for a stored count: whole degrees of retard, retard compensation to
// the half degree, volts to a tenth, RPM, and the NOS delay to the twentieth of a second.
std::string retardDegreesText(int steps);
std::string retardCompensationText(int steps);
std::string voltsText(int counts);
std::string rpmText(int rpm);
std::string nosDelayText(int steps);
std::string truthText(bool value);

}  // namespace qz
