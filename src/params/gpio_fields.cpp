#include "params/gpio_fields.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/checked_convert.h"
#include "core/leading_number.h"
#include "core/number_text.h"
#include "core/rounding.h"
#include "image/module_units.h"

namespace qz {
namespace {

using P = ParameterVariables;

std::int16_t volts(double x) {
    return toInteger(tpsCounts(x));
}
std::string voltsText(std::int16_t v) {
    return formatNumber(roundHalfEven(tpsVolts(v), 1), "0.0");
}
std::int16_t degrees(double x) {
    return toInteger(x / kRetardStep);
}
std::string degreesText(std::int16_t v) {
    return formatNumber(roundHalfEven(retardDegrees(v)), "#0");
}
std::int16_t whole(double x) {
    return toInteger(x);
}
// An RPM field keeps what its byte can hold.
std::int16_t hundreds(double x) {
    return toInteger(roundHalfEven(x / kRpmLimitStep) * kRpmLimitStep);
}
std::int16_t fifties(double x) {
    return toInteger(roundHalfEven(x / kRpmStep) * kRpmStep);
}
std::int16_t delay(double x) {
    return toInteger(x / kNosDelayStep);
}
// Seconds in steps of 0.05.
std::string delayText(std::int16_t v) {
    return formatNumber(roundHalfEven(nosDelaySeconds(v) * 20) / 20, "0.00");
}
std::string rpm4(std::int16_t v) {
    return formatNumber(v, "###0");
}
std::string rpm5(std::int16_t v) {
    return formatNumber(v, "####0");
}
std::string plain(std::int16_t v) {
    return numberText(v);
}

constexpr const char* kZero = "Value must be greater than or equal to zero";
constexpr const char* kAtLeast1000 = "Value must be greater than or equal to 1000";
constexpr const char* kAtMost10900 = "Value must be less than or equal to 10900";
constexpr const char* kAtMost11000 = "Value must be less than or equal to 11000";

const GpioField kFields[] = {
    {"txtGPI1OnTPS", "lblGPI1OnTPS", "TPS On (Volts)", true, 0.5, 5.0,
     "Value must be greater than or equal to 0.5", "Value must be less than or equal to 5.0",
     "On TPS", &P::GPI1OnTPS, volts, voltsText, voltsText},
    {"txtGPI1OffTPS", "lblGPI1OffTPS", "TPS Off (Volts)", true, 0, 4.9,
     "Value must be greater than or equal to 0", "Value must be less than or equal to 4.9",
     "Off TPS", &P::GPI1OffTPS, volts, voltsText, voltsText},
    {"txtGPI1Rtd", "lblGPI1Rtd", "Retard (Deg)", false, 0, 20,
     "Value must be greater than or equal to 0", "Value must be less than or equal to 20", "Retard",
     &P::GPI1Retard, degrees, degreesText, degreesText},
    {"txtGPIO2VSSFreq", "lblGPIO2VSSFreq", "VSS Frequency", false, 50, 3000,
     "Value must be greater than or equal to 50", "Value must be less than or equal to 3000",
     "VSS Frequency", &P::GPIO2VSSFreq, whole, rpm4, plain},
    {"txtGPIO2BurnRPMLim", "lblGPIO2BurnRPMLim", "Burnout RPM Limit", false, 1000, 9900,
     kAtLeast1000, "Value must be less than or equal to 9900", "Burnout RPM Limit",
     &P::GPIO2BurnRPMLim, hundreds, rpm4, plain},
    {"txtGPIO2MinRPM", "lblGPIO2MinRPM", "Minimum RPM", false, 0, 10900, kZero, kAtMost10900,
     "Minimum RPM", &P::GPIO2MinRPM, fifties, rpm5, plain},
    {"txtGPIO2MaxRPM", "lblGPIO2MaxRPM", "Maximum RPM", false, 1000, 11000, kAtLeast1000,
     kAtMost11000, "Maximum RPM", &P::GPIO2MaxRPM, fifties, rpm5, plain},
    {"txtGPIO2Delay", "lblGPIO2Delay", "NOS Delay (sec)", true, 0, 8.0, kZero,
     "Value must be less than or equal to 8.0", "Delay", &P::GPIO2Delay, delay, delayText,
     delayText},
    {"txtGPIO3MinRPM", "lblGPIO3MinRPM", "Minimum RPM", false, 0, 10900, kZero, kAtMost10900,
     "Minimum RPM", &P::GPIO3MinRPM, fifties, rpm5, plain},
    {"txtGPIO3MaxRPM", "lblGPIO3MaxRPM", "Maximum RPM", false, 1000, 11000, kAtLeast1000,
     kAtMost11000, "Maximum RPM", &P::GPIO3MaxRPM, fifties, rpm5, plain},
    {"txtGPIO3LaunchRPM", "lblGPIO3LaunchRPM", "Launch", false, 1000, 10900, kAtLeast1000,
     kAtMost10900, "Launch RPM", &P::GPIO3LaunchRPM, fifties, rpm5, plain},
    {"txtGPIO3ShiftRPM1", "lblGPIO3ShiftRPM1", "Gear 1 Shift", false, 1000, 10900, kAtLeast1000,
     kAtMost10900, "Shift RPM", &P::GPIO3ShiftRPM1, fifties, rpm5, plain},
    {"txtGPIO3ShiftRPM2", "lblGPIO3ShiftRPM2", "Gear 2 Shift", false, 1000, 10900, kAtLeast1000,
     kAtMost10900, "Shift RPM", &P::GPIO3ShiftRPM2, fifties, rpm5, plain},
    {"txtGPIO3ShiftRPM3", "lblGPIO3ShiftRPM3", "Gear 3 Shift", false, 1000, 10900, kAtLeast1000,
     kAtMost10900, "Shift RPM", &P::GPIO3ShiftRPM3, fifties, rpm5, plain},
    {"txtGPIO3ShiftRPM4", "lblGPIO3ShiftRPM4", "Gear 4 Shift", false, 1000, 10900, kAtLeast1000,
     kAtMost10900, "Shift RPM", &P::GPIO3ShiftRPM4, fifties, rpm5, plain},
    {"txtGPIO3ShiftRPM5", "lblGPIO3ShiftRPM5", "Gear 5 Shift", false, 1000, 10900, kAtLeast1000,
     kAtMost10900, "Shift RPM", &P::GPIO3ShiftRPM5, fifties, rpm5, plain},
    {"txtGPIO3ShortShiftRPM", "lblGPIO3ShortShiftRPM", "Short Shift Window", false, 0, 1000, kZero,
     "Value must be less than or equal to 1000", "Short Shift RPM", &P::GPIO3ShortShiftRPM, fifties,
     rpm5, plain},
    {"txtGPIO3ShiftDropRPM", "lblGPIO3ShiftDropRPM", "Minimum Shift Drop", false, 250, 1000,
     "Value must be greater than or equal to 250", "Value must be less than or equal to 1000",
     "Shift Drop RPM", &P::GPIO3ShiftDropRPM, fifties, rpm5, plain},
};

// Ordered pairs: the first must not lie above the second.
const std::pair<const char*, const char*> kPairs[] = {
    {"txtGPI1OffTPS", "txtGPI1OnTPS"},
    {"txtGPIO2MinRPM", "txtGPIO2MaxRPM"},
    {"txtGPIO3MinRPM", "txtGPIO3MaxRPM"},
};

// The function buttons of each line, by code.
const char* const kGpi1Buttons[] = {"optGPI1DataLog", "optGPI1DigitalNOS", "optGPI1AnalogNOS",
                                    "optGPI1AnalogRtd", "optGPI1DigitalRtd"};
const char* const kGpio2Buttons[] = {"optGPIO2DataLog", "optGPIO2VSS", "optGPIO2BurnRPMLim",
                                     "optGPIO2RPMSwitch", "optGPIO2NOS"};
const char* const kGpio3Buttons[] = {"optGPIO3DataLog", "optGPIO3RPMSwitch", "optGPIO3BasicShift",
                                     "optGPIO3MSShift"};

}  // namespace

const GpioField& gpioField(std::string_view name) {
    for (const auto& field : kFields)
        if (name == field.name) return field;
    throw std::logic_error("no field " + std::string(name));
}

FieldCheck checkGpioField(const GpioField& field, const std::string& typed) {
    double number = leadingNumber(typed);
    if (!field.decimal) number = std::floor(number);
    FieldCheck check{};
    if (number < field.minimum) {
        check.message = field.belowText;
        number = field.minimum;
    }
    if (number > field.maximum) {
        check.message = field.aboveText;
        number = field.maximum;
    }
    check.stored = field.store(number);
    check.text = field.text(check.stored);
    return check;
}

const GpioField* partnerToFollow(const GpioField& field, const ParameterVariables& variables) {
    for (const auto& [lowerName, upperName] : kPairs) {
        const GpioField& lower = gpioField(lowerName);
        const GpioField& upper = gpioField(upperName);
        const bool outOfOrder = variables.*lower.variable > variables.*upper.variable;
        if (&field == &lower && outOfOrder) return &upper;
        if (&field == &upper && outOfOrder) return &lower;
    }
    return nullptr;
}

const char* functionButtonName(GpioLine line, const GpioFunction& function) {
    const auto code = static_cast<std::size_t>(function.code);
    switch (line) {
        case GpioLine::GPI1:
            return kGpi1Buttons[code];
        case GpioLine::GPIO2:
            return kGpio2Buttons[code];
        case GpioLine::GPIO3:
            break;
    }
    return kGpio3Buttons[code];
}

std::vector<std::string_view> enabledControls(GpioLine line, int code) {
    switch (line) {
        case GpioLine::GPI1:
            if (code == 1 || code == 4) return {"txtGPI1Rtd"};
            if (code == 2) return {"txtGPI1OffTPS", "txtGPI1OnTPS", "txtGPI1Rtd"};
            return {};
        case GpioLine::GPIO2:
            if (code == 1) return {"txtGPIO2VSSFreq"};
            if (code == 2) return {"txtGPIO2BurnRPMLim"};
            if (code == 3) return {"txtGPIO2MinRPM", "txtGPIO2MaxRPM"};
            if (code == 4)
                return {"txtGPIO2MinRPM", "txtGPIO2MaxRPM", "txtGPIO2Delay",
                        "chkGPIO2OneShotDelay"};
            return {};
        case GpioLine::GPIO3:
            if (code == 1) return {"txtGPIO3MinRPM", "txtGPIO3MaxRPM"};
            if (code == 2) return {"txtGPIO3ShiftRPM1"};
            if (code == 3)
                return {"txtGPIO3LaunchRPM",     "txtGPIO3ShiftRPM1",   "txtGPIO3ShiftRPM2",
                        "txtGPIO3ShiftRPM3",     "txtGPIO3ShiftRPM4",   "txtGPIO3ShiftRPM5",
                        "txtGPIO3ShortShiftRPM", "txtGPIO3ShiftDropRPM"};
            return {};
    }
    return {};
}

std::uint8_t withFunction(std::uint8_t mode, int code) {
    return static_cast<std::uint8_t>((mode & 0xF0) + code);
}

}  // namespace qz
