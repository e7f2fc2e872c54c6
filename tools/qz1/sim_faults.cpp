#include "qz1/sim_faults.h"

#include <algorithm>
#include <cstdlib>

#include "qz1/bad_input.h"

namespace qz1 {

std::string FaultKind::shown() const {
    switch (number) {
        case Number::None:
            return name;
        case Number::Optional:
            return std::string(name) + "[=" + numberName + ']';
        case Number::Required:
            return std::string(name) + '=' + numberName;
    }
    return name;
}

const std::vector<FaultKind>& faultKinds() {
    using N = FaultKind::Number;
    using F = qz::SimulatorFaults;
    static const std::vector<FaultKind> kinds = {
        {"silent", N::None, "", [](F& f, int) { f.silent = true; }},
        {"no-echo", N::None, "", [](F& f, int) { f.noEcho = true; }},
        {"id-cr", N::None, "", [](F& f, int) { f.idStart = F::IdStart::CarriageReturn; }},
        {"id-letter", N::None, "", [](F& f, int) { f.idStart = F::IdStart::Letter; }},
        {"id-nonprintable", N::None, "", [](F& f, int) { f.idStart = F::IdStart::NonPrintable; }},
        {"slow", N::Optional, "MS", [](F& f, int n) { f.idCharacterDelayMs = n > 0 ? n : 150; }},
        {"nak-resync", N::None, "", [](F& f, int) { f.nakResync = true; }},
        {"nak-address", N::None, "", [](F& f, int) { f.nakAddress = true; }},
        {"nak-program", N::Required, "ADDRESS", [](F& f, int n) { f.nakProgrammingAt = n; }},
        {"differ", N::Required, "ADDRESS", [](F& f, int n) { f.readBackDiffersAt = n; }},
        {"drop", N::Required, "EVERY", [](F& f, int n) { f.dropEvery = n; }},
        {"stray", N::Required, "ADDRESS", [](F& f, int n) { f.strayByteAt = n; }},
        {"vanish", N::Required, "ADDRESS", [](F& f, int n) { f.vanishAt = n; }},
    };
    return kinds;
}

std::string faultList() {
    std::string list;
    for (const auto& kind : faultKinds()) list += (list.empty() ? "" : ", ") + kind.shown();
    return list;
}

qz::SimulatorFaults withFault(qz::SimulatorFaults faults, const std::string& text) {
    const auto equals = text.find('=');
    const std::string name = text.substr(0, equals);
    const int number = equals == std::string::npos ? 0 : std::atoi(text.c_str() + equals + 1);
    const auto& kinds = faultKinds();
    const auto kind = std::find_if(kinds.begin(), kinds.end(),
                                   [&](const FaultKind& k) { return name == k.name; });
    if (kind == kinds.end() || (kind->number == FaultKind::Number::Required && number <= 0))
        throw BadInput("unknown fault \"" + text + "\"");
    kind->set(faults, number);
    return faults;
}

}  // namespace qz1
