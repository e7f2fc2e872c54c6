#include "image/tune_difference.h"

#include <algorithm>
#include <cmath>

#include "core/auto_prompts.h"
#include "core/number_text.h"
#include "image/byte_map.h"
#include "image/parameter_catalog.h"
#include "image/parameter_codec.h"
#include "image/parameter_words.h"

namespace qz {
namespace {

// The bytes whose bits are also variables of their own: a differing bit is said by its flag,
// and the byte is listed only for a bit no differing flag of its own explains.
struct FlagBit {
    std::string_view byte;
    std::string_view flag;
    int bit;
};
constexpr FlagBit kFlagBits[] = {
    {"ModuleFlags", "Cyl4Engine", 0},        {"ModuleFlags", "Cyl6Engine", 1},
    {"ModuleFlags", "RPMLimitEnabled", 2},   {"ModuleFlags", "MultiSparkEnabled", 3},
    {"ModuleFlags", "TimingEnabled", 4},     {"ModuleFlags", "FixedMaxRPMLimitEnabled", 5},
    {"ModuleFlags", "Table2DEnabled", 6},    {"ModuleFlags", "Table3DEnabled", 7},
    {"DataLogFlags", "HighSpeedDataLog", 0}, {"GPIO2Mode", "GPIO2OneShotDelay", 4},
};

bool explainedByOwnFlags(std::string_view byte, long long differingBits,
                         const std::vector<std::string_view>& differing) {
    bool hasFlags = false;
    for (const FlagBit& flag : kFlagBits) {
        if (flag.byte != byte) continue;
        hasFlags = true;
        if (std::find(differing.begin(), differing.end(), flag.flag) != differing.end())
            differingBits &= ~(1LL << flag.bit);
    }
    return hasFlags && differingBits == 0;
}

}  // namespace

std::vector<CellDifference> TuneDifference::cellsOf(TableKind kind) const {
    std::vector<CellDifference> of;
    std::copy_if(cells.begin(), cells.end(), std::back_inserter(of),
                 [&](const CellDifference& cell) { return cell.kind == kind; });
    return of;
}

TuneDifference compareTunes(const ModuleData& here, const ModuleData& there) {
    TuneDifference difference;
    std::vector<std::string_view> differing;
    for (const ParameterWords& words : parameterWords())
        if (const ParameterVariable* variable = findParameter(words.variable);
            variable->get(here) != variable->get(there))
            differing.push_back(words.variable);
    for (const std::string_view name : differing) {
        const ParameterVariable* variable = findParameter(name);
        if (!explainedByOwnFlags(name, variable->get(here) ^ variable->get(there), differing))
            difference.parameters.push_back(name);
    }
    for (int c = 1; c <= kRpmBreakpoints; ++c)
        if (here.Table2D(c, 1) != there.Table2D(c, 1))
            difference.cells.push_back(
                {TableKind::Table2D, c, 1, here.Table2D(c, 1), there.Table2D(c, 1)});
    for (int row = kPressureRows; row >= 1; --row)
        for (int c = 1; c <= kRpmBreakpoints; ++c)
            if (here.Table3D(c, row) != there.Table3D(c, row))
                difference.cells.push_back(
                    {TableKind::Table3D, c, row, here.Table3D(c, row), there.Table3D(c, row)});
    const bool anyDecoded = !difference.parameters.empty() || !difference.cells.empty();
    for (int address = kImageFirstAddress; address <= kImageLastAddress; ++address) {
        if (here.EEPROMBuffer[address] == there.EEPROMBuffer[address]) continue;
        if (isCarriedUnchanged(address))
            difference.carriedBytes.push_back(address);
        else if (!anyDecoded)
            difference.alikeBytes.push_back(address);
    }
    difference.tableKindDiffers = selectedTable(here) != selectedTable(there);
    return difference;
}

ModuleData decodedImage(const EepromBytes& image) {
    ModuleData data;
    data.EEPROMBuffer = image;
    data.BufferEmpty = false;
    AutoPrompts ignore(PromptAnswer::Ignore);
    UpdateParams(data, ignore);
    return data;
}

std::string parameterDifferenceText(std::string_view variable, const ParameterVariables& here,
                                    const ParameterVariables& there) {
    const auto words = parameterWords();
    const auto found = std::find_if(words.begin(), words.end(), [&](const ParameterWords& w) {
        return w.variable == variable;
    });
    if (found == words.end()) return std::string(variable);
    return std::string(found->label) + ": " + found->value(here) + " here, " + found->value(there) +
           " there";
}

namespace {

std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

}  // namespace

std::string differenceCounts(const TuneDifference& difference) {
    if (difference.identical()) return "same";
    std::string counts;
    const auto add = [&](std::size_t count, const char* one, const char* many) {
        if (count) counts += (counts.empty() ? "" : ", ") + counted(count, one, many);
    };
    add(difference.cells.size(), "cell", "cells");
    add(difference.parameters.size(), "parameter", "parameters");
    add(difference.carriedBytes.size() + difference.alikeBytes.size(), "other byte", "other bytes");
    return counts;
}

std::string signedAdvanceText(double change) {
    std::string text = formatNumber(change, "#0.0");
    if (change > 0) text.insert(0, 1, '+');
    return text;
}

std::string differenceSummary(const TuneDifference& difference, const ModuleData& here) {
    if (difference.identical()) return "Identical";
    std::vector<std::string> parts;
    if (!difference.cells.empty()) {
        const auto largest =
            std::max_element(difference.cells.begin(), difference.cells.end(),
                             [](const CellDifference& a, const CellDifference& b) {
                                 return std::abs(a.change()) < std::abs(b.change());
                             });
        std::string where = std::to_string(rpmBreakpoint(largest->column)) + " RPM";
        if (largest->kind == TableKind::Table3D)
            where += ", " + std::to_string(pressureLabel(here.MAPSensorBar, largest->row)) + " kPa";
        parts.push_back(counted(difference.cells.size(), "cell", "cells") + " (largest " +
                        signedAdvanceText(largest->change()) + " at " + where + ")");
    }
    if (const auto count = difference.parameters.size())
        parts.push_back(counted(count, "parameter", "parameters"));
    if (const auto count = difference.carriedBytes.size() + difference.alikeBytes.size())
        parts.push_back(counted(count, "other byte", "other bytes"));
    std::string summary;
    for (const auto& part : parts) summary += (summary.empty() ? "" : ", ") + part;
    const auto things = difference.cells.size() + difference.parameters.size() +
                        difference.carriedBytes.size() + difference.alikeBytes.size();
    return summary + (things == 1 ? " differs" : " differ");
}

}  // namespace qz
