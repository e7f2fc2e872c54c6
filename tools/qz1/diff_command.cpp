#include <sstream>

#include "core/number_text.h"
#include "image/byte_map.h"
#include "image/parameter_catalog.h"
#include "image/table_layout.h"
#include "qz1/commands.h"
#include "qz1/parameter_words.h"
#include "qz1/tune.h"

namespace qz1 {
namespace {

// One decimal, as the grid shows it, unless that hides the difference.
std::pair<std::string, std::string> advanceTexts(double a, double b) {
    std::string left = qz::formatNumber(a, "#0.0");
    std::string right = qz::formatNumber(b, "#0.0");
    if (left == right) {
        left = qz::formatNumber(a, "#0.0000");
        right = qz::formatNumber(b, "#0.0000");
    }
    return {left, right};
}

}  // namespace

// A value that cannot be decoded shows as such, the comparison goes on, and the exit is 3.
int runDiff(const Arguments& arguments, std::ostream& stdOut, std::ostream& err) {
    std::ostringstream out;
    const Tune a = loadTune(arguments.positional(0));
    const Tune b = loadTune(arguments.positional(1));
    for (const auto& variable : qz::parameterCatalog()) {
        const auto name = variable.name();
        if (variable.get(a.data) == variable.get(b.data) && a.decoded(name) == b.decoded(name))
            continue;
        out << parameterLabel(name) << ' ' << storedValueText(name, a) << " -> "
            << storedValueText(name, b) << '\n';
    }
    for (int c = 1; c <= qz::kRpmBreakpoints; ++c) {
        const double left = a.data.Table2D(c, 1);
        const double right = b.data.Table2D(c, 1);
        if (left == right) continue;
        const auto [l, r] = advanceTexts(left, right);
        out << "2D " << qz::rpmBreakpoint(c) << " RPM " << l << " -> " << r << " deg\n";
    }
    for (int row = qz::kPressureRows; row >= 1; --row) {
        const int labelA = qz::pressureLabel(a.data.MAPSensorBar, row);
        const int labelB = qz::pressureLabel(b.data.MAPSensorBar, row);
        std::string label = std::to_string(labelA);
        if (labelA != labelB) label.append("/").append(std::to_string(labelB));
        for (int c = 1; c <= qz::kRpmBreakpoints; ++c) {
            const double left = a.data.Table3D(c, row);
            const double right = b.data.Table3D(c, row);
            if (left == right) continue;
            const auto [l, r] = advanceTexts(left, right);
            out << "3D " << qz::rpmBreakpoint(c) << " RPM MAP " << label << ' ' << l << " -> " << r
                << " deg\n";
        }
    }
    std::string alike;
    for (int address = qz::kImageFirstAddress; address <= qz::kImageLastAddress; ++address) {
        const int left = a.data.EEPROMBuffer[address];
        const int right = b.data.EEPROMBuffer[address];
        if (left == right) continue;
        if (qz::isCarriedUnchanged(address))
            out << "Byte " << address << " (not interpreted) " << left << " -> " << right << '\n';
        else
            alike += (alike.empty() ? "" : ", ") + std::to_string(address);
    }
    const bool different = a.data.EEPROMBuffer != b.data.EEPROMBuffer;
    if (different && out.str().empty())
        out << "The images differ only in bytes that decode alike: addresses " << alike << '\n';
    stdOut << out.str();
    const int decoding = std::max(reportDecodeFailures(a, err), reportDecodeFailures(b, err));
    if (decoding != kExitOk) return decoding;
    return different ? kExitDifferent : kExitOk;
}

}  // namespace qz1
