#include "image/parameter_catalog.h"

#include <algorithm>
#include <array>
#include <type_traits>

namespace qz {
namespace {

using P = ParameterVariables;

#define QZ_VARIABLE(name) ParameterVariable(#name, &P::name)

const std::array kCatalog = {
    QZ_VARIABLE(TrigTiming),
    QZ_VARIABLE(CrankPulses),
    QZ_VARIABLE(ModuleFlags),
    QZ_VARIABLE(Cyl4Engine),
    QZ_VARIABLE(Cyl6Engine),
    QZ_VARIABLE(RPMLimitEnabled),
    QZ_VARIABLE(MultiSparkEnabled),
    QZ_VARIABLE(TimingEnabled),
    QZ_VARIABLE(FixedMaxRPMLimitEnabled),
    QZ_VARIABLE(Table2DEnabled),
    QZ_VARIABLE(Table3DEnabled),
    QZ_VARIABLE(MaxRPMLimit),
    QZ_VARIABLE(RetardComp),
    QZ_VARIABLE(StartRetard),
    QZ_VARIABLE(DataLogFlags),
    QZ_VARIABLE(HighSpeedDataLog),
    QZ_VARIABLE(MAPSensorBar),
    QZ_VARIABLE(GPI1Mode),
    QZ_VARIABLE(GPI1OffTPS),
    QZ_VARIABLE(GPI1OnTPS),
    QZ_VARIABLE(GPI1Retard),
    QZ_VARIABLE(GPIO2Mode),
    QZ_VARIABLE(GPIO2OneShotDelay),
    QZ_VARIABLE(GPIO2VSSFreq),
    QZ_VARIABLE(GPIO2BurnRPMLim),
    QZ_VARIABLE(GPIO2MinRPM),
    QZ_VARIABLE(GPIO2MaxRPM),
    QZ_VARIABLE(GPIO2Delay),
    QZ_VARIABLE(GPIO3Mode),
    QZ_VARIABLE(GPIO3MinRPM),
    QZ_VARIABLE(GPIO3MaxRPM),
    QZ_VARIABLE(GPIO3LaunchRPM),
    QZ_VARIABLE(GPIO3ShiftRPM1),
    QZ_VARIABLE(GPIO3ShiftRPM2),
    QZ_VARIABLE(GPIO3ShiftRPM3),
    QZ_VARIABLE(GPIO3ShiftRPM4),
    QZ_VARIABLE(GPIO3ShiftRPM5),
    QZ_VARIABLE(GPIO3ShortShiftRPM),
    QZ_VARIABLE(GPIO3ShiftDropRPM),
};

#undef QZ_VARIABLE

}  // namespace

long long ParameterVariable::get(const ParameterVariables& variables) const {
    return std::visit([&](auto member) -> long long { return variables.*member; }, member_);
}

bool ParameterVariable::fits(long long value) const {
    switch (kind()) {
        case VariableKind::Boolean:
            return value == 0 || value == 1;
        case VariableKind::Byte:
            return value >= 0 && value <= 255;
        case VariableKind::Integer:
            return value >= -32768 && value <= 32767;
    }
    return false;
}

void ParameterVariable::set(ParameterVariables& variables, long long value) const {
    std::visit(
        [&](auto member) {
            using Value = std::remove_reference_t<decltype(variables.*member)>;
            variables.*member = static_cast<Value>(value);
        },
        member_);
}

std::span<const ParameterVariable> parameterCatalog() {
    return kCatalog;
}

const ParameterVariable* findParameter(std::string_view name) {
    const auto found = std::find_if(kCatalog.begin(), kCatalog.end(),
                                    [&](const ParameterVariable& v) { return v.name() == name; });
    return found == kCatalog.end() ? nullptr : &*found;
}

}  // namespace qz
