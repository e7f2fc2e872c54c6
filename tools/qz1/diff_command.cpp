#include <sstream>

#include "core/number_text.h"
#include "image/tune_difference.h"
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
// What differs is what the program's compare window shows.
int runDiff(const Arguments& arguments, std::ostream& stdOut, std::ostream& err) {
    std::ostringstream out;
    const Tune a = loadTune(arguments.positional(0));
    const Tune b = loadTune(arguments.positional(1));
    const qz::TuneDifference difference = qz::compareTunes(a.data, b.data);
    for (const std::string_view name : difference.parameters)
        out << parameterLabel(name) << ' ' << storedValueText(name, a) << " -> "
            << storedValueText(name, b) << '\n';
    for (const qz::CellDifference& cell : difference.cells) {
        const auto [l, r] = advanceTexts(cell.here, cell.there);
        const std::string rpm = std::to_string(qz::rpmBreakpoint(cell.column)) + " RPM ";
        if (cell.kind == qz::TableKind::Table2D) {
            out << "2D " << rpm << l << " -> " << r << " deg\n";
            continue;
        }
        const int labelA = qz::pressureLabel(a.data.MAPSensorBar, cell.row);
        const int labelB = qz::pressureLabel(b.data.MAPSensorBar, cell.row);
        std::string label = std::to_string(labelA);
        if (labelA != labelB) label.append("/").append(std::to_string(labelB));
        out << "3D " << rpm << "MAP " << label << ' ' << l << " -> " << r << " deg\n";
    }
    for (const int address : difference.carriedBytes)
        out << "Byte " << address << " (not interpreted) " << int{a.data.EEPROMBuffer[address]}
            << " -> " << int{b.data.EEPROMBuffer[address]} << '\n';
    if (!difference.alikeBytes.empty()) {
        out << "The images differ only in bytes that decode alike: addresses ";
        for (std::size_t i = 0; i < difference.alikeBytes.size(); ++i)
            out << (i ? ", " : "") << difference.alikeBytes[i];
        out << '\n';
    }
    stdOut << out.str();
    const int decoding = std::max(reportDecodeFailures(a, err), reportDecodeFailures(b, err));
    if (decoding != kExitOk) return decoding;
    return difference.identical() ? kExitOk : kExitDifferent;
}

}  // namespace qz1
