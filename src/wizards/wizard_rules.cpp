#include "wizards/wizard_rules.h"

#include <cmath>
#include <optional>

#include "core/leading_number.h"
#include "core/number_text.h"
#include "core/rounding.h"
#include "image/module_units.h"
#include "image/table_layout.h"

namespace qz {
namespace {

struct Limits {
    int lower;
    std::string lowerMessage;
    int upper;
    std::string upperMessage;
    const char* title;
};

Limits limitsOf(const Curve2D& curve, CurveField field) {
    const std::string zero = "Value must be greater than or equal to zero";
    const std::string belowTrigger = "Value must be less than or equal to trigger timing: " +
                                     formatNumber(curve.trigTiming, "#0");
    switch (field) {
        case CurveField::TrigTiming:
            return {0, zero, 40, "Value must be less than or equal to 40", "Trigger Timing Value"};
        case CurveField::StartTiming:
            return {0, zero, curve.trigTiming, belowTrigger, "Start Timing Value"};
        case CurveField::FinalTiming:
            return {0, zero, curve.trigTiming, belowTrigger, "Final Timing Value"};
        case CurveField::StartRpm:
            return {500, "Value must be greater than or equal to 500", 10000,
                    "Value must be less than or equal to 10000", "Start RPM Parameter"};
        case CurveField::FinalRpm:
            return {1000, "Value must be greater than or equal to 1000", 10000,
                    "Value must be less than or equal to 10000", "Final RPM Parameter"};
    }
    return {};
}

template <typename Curve>  // Curve2D or const Curve2D
auto& valueOf(Curve& curve, CurveField field) {
    switch (field) {
        case CurveField::TrigTiming:
            return curve.trigTiming;
        case CurveField::StartRpm:
            return curve.startRpm;
        case CurveField::FinalRpm:
            return curve.finalRpm;
        case CurveField::StartTiming:
            return curve.startTiming;
        case CurveField::FinalTiming:
            break;
    }
    return curve.finalTiming;
}

}  // namespace

Curve2D initialCurve(int trigTiming) {
    Curve2D curve;
    curve.trigTiming = trigTiming;
    if (curve.startTiming + 10 >= trigTiming) curve.startTiming = trigTiming - 10;
    if (curve.startTiming < 0) curve.startTiming = 0;
    if (curve.finalTiming >= trigTiming) curve.finalTiming = trigTiming;
    if (curve.finalTiming < 0) curve.finalTiming = 0;
    return curve;
}

std::vector<WizardMessage> enterCurveField(Curve2D& curve, CurveField field,
                                           const std::string& typed) {
    const Limits limits = limitsOf(curve, field);
    std::vector<WizardMessage> messages;
    double value = leadingNumber(typed);
    // Too large for a double ("1e400") is out of range like any other value beyond a limit.
    if (!std::isfinite(value)) value = value > 0 ? limits.upper + 1.0 : limits.lower - 1.0;
    if (value < limits.lower) {
        messages.push_back({limits.lowerMessage, limits.title});
        value = limits.lower;
    }
    if (value > limits.upper) {
        messages.push_back({limits.upperMessage, limits.title});
        value = limits.upper;
    }
    const bool rpm = field == CurveField::StartRpm || field == CurveField::FinalRpm;
    valueOf(curve, field) = rpm ? static_cast<int>(roundHalfEven(value / 500)) * 500
                                : static_cast<int>(std::floor(value));
    switch (field) {
        case CurveField::TrigTiming:
            curve.startTiming = std::min(curve.startTiming, curve.trigTiming);
            curve.finalTiming = std::min(curve.finalTiming, curve.trigTiming);
            break;
        case CurveField::StartRpm:
            if (curve.startRpm > curve.finalRpm) curve.finalRpm = curve.startRpm;
            break;
        case CurveField::FinalRpm:
            if (curve.finalRpm < curve.startRpm) curve.startRpm = curve.finalRpm;
            break;
        default:
            break;
    }
    return messages;
}

std::string curveFieldText(const Curve2D& curve, CurveField field) {
    const bool rpm = field == CurveField::StartRpm || field == CurveField::FinalRpm;
    return formatNumber(valueOf(curve, field), rpm ? "###0" : "#0");
}

std::optional<Table2DCells> generateCurve(const Curve2D& curve) {
    int span = curve.finalRpm - curve.startRpm;
    if (span < 0) return std::nullopt;
    if (span < 1) span = 1;
    const float slope = static_cast<float>(curve.finalTiming - curve.startTiming) / span;
    const float offset = static_cast<float>(curve.startTiming) - slope * curve.startRpm;
    const int low = std::min(curve.startTiming, curve.finalTiming);
    const int high = std::max(curve.startTiming, curve.finalTiming);
    Table2DCells table;
    for (int c = 1; c <= kRpmBreakpoints; ++c) {
        const float x = slope * static_cast<float>(rpmBreakpoint(c)) + offset;
        float a = static_cast<float>(roundHalfEven(x / kRetardStep) * kRetardStep);
        if (a < low)
            a = static_cast<float>(low);
        else if (a > high)
            a = static_cast<float>(high);
        if (a < curve.trigTiming - kTimingRange)
            a = static_cast<float>(curve.trigTiming - kTimingRange);
        else if (a > curve.trigTiming)
            a = static_cast<float>(curve.trigTiming);
        table(c, 1) = a;
        table(c, 2) = curve.trigTiming;
    }
    return table;
}

int initialBaseTiming(int trigTiming) {
    int base = 20;
    if (base >= trigTiming)
        base = trigTiming;
    else if (trigTiming - base > kTimingRange)
        base = trigTiming - kTimingRange;
    return std::max(base, 0);
}

int keptBaseTiming(int base, int trigTiming) {
    if (base < trigTiming) {
        if (trigTiming - base > kTimingRange) base = trigTiming - kTimingRange;
    } else {
        base = trigTiming;
    }
    return std::max(base, 0);
}

Table3DCells flatTable(int baseTiming) {
    Table3DCells table;
    for (int c = 1; c <= kRpmBreakpoints; ++c)
        for (int r = 1; r <= kPressureRows; ++r) table(c, r) = baseTiming;
    return table;
}

}  // namespace qz
