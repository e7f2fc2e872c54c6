#pragma once

namespace qz {

// The units the module counts its values in. Every conversion between a stored count and
// what a tuner reads goes through these, so the dialogs, the report and qz1 agree.

// Retard (table cells, start retard, retard compensation, GPI1 retard) in steps of 0.0879
// degree: the decimal constant, not 360/4096.
inline constexpr double kRetardStep = 0.0879;

// The GPIO2 NOS delay in steps of 0.032 second.
inline constexpr double kNosDelayStep = 0.032;

// The throttle position sensor's 0 to 5 V as counts 0 to 255.
inline constexpr double kTpsFullScaleVolts = 5.0;
inline constexpr int kTpsFullScaleCounts = 255;

// RPM windows, shift points and launch RPM in steps of 50 RPM; the RPM limits (the fixed
// maximum and the burnout limit) in steps of 100 RPM.
inline constexpr int kRpmStep = 50;
inline constexpr int kRpmLimitStep = 100;

constexpr double retardDegrees(int steps) {
    return steps * kRetardStep;
}
constexpr double nosDelaySeconds(int steps) {
    return steps * kNosDelayStep;
}
constexpr double tpsVolts(int counts) {
    return kTpsFullScaleVolts * counts / kTpsFullScaleCounts;
}
constexpr double tpsCounts(double volts) {
    return volts * kTpsFullScaleCounts / kTpsFullScaleVolts;
}

}  // namespace qz
