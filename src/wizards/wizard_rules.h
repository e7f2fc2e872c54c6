#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/module_data.h"

namespace qz {

// The five values of the 2D wizard, whole numbers as the wizard keeps them.
struct Curve2D {
    int trigTiming = 30;
    int startRpm = 1500;
    int finalRpm = 3000;
    int startTiming = 10;
    int finalTiming = 30;
    bool operator==(const Curve2D&) const = default;
};

// The wizard's values on opening, from the trigger timing in force: the start advance at
// least 10 degrees below the trigger timing, the final advance at most the trigger timing,
// neither below 0.
Curve2D initialCurve(int trigTiming);

// The boxes of the 2D wizard, in tab order.
enum class CurveField { TrigTiming, StartRpm, FinalRpm, StartTiming, FinalTiming };

// A message a correction shows: its text and its title.
struct WizardMessage {
    std::string text;
    std::string title;
    bool operator==(const WizardMessage&) const = default;
};

// Leaving a box: the typed text read by the leading-number rule, a value below the lower
// limit replaced by it and then one above the upper limit by that, each with its message;
// then normalised (whole degrees, RPM to the nearest 500) and the dependent values moved
// along. Returns the messages in the order shown.
std::vector<WizardMessage> enterCurveField(Curve2D& curve, CurveField field,
                                           const std::string& typed);

// The text a box shows for its value.
std::string curveFieldText(const Curve2D& curve, CurveField field);

inline constexpr auto kStartAboveFinalMessage =
    "User error - start RPM must be less than final RPM.";

// The advance curve over the 21 RPM breakpoints: a straight line between the start and the
// final point on the module's 0.0879-degree step (single precision, as the module program
// computes it), held at the end values outside them, within the timing range below the
// trigger timing. Column 2 holds the trigger timing. Nothing when the start RPM is above the
// final RPM.
std::optional<Table2DCells> generateCurve(const Curve2D& curve);

// The 3D wizard's base timing: kept within the timing range below the trigger timing, and
// not above it, nor below 0.
int initialBaseTiming(int trigTiming);
// The base slider moved to `base`, or the trigger slider moved while the base was `base`:
// the base the rules keep.
int keptBaseTiming(int base, int trigTiming);
// Every cell of the 3D table at the base timing.
Table3DCells flatTable(int baseTiming);

}  // namespace qz
