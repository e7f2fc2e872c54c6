#include "qz1/commands.h"

#include <QFile>
#include <algorithm>
#include <map>
#include <sstream>

#include "core/number_text.h"
#include "files/data_file.h"
#include "image/byte_map.h"
#include "image/parameter_catalog.h"
#include "image/parameter_codec.h"
#include "image/table_layout.h"
#include "qz1/edits.h"
#include "qz1/json_view.h"
#include "qz1/parameter_words.h"
#include "qz1/table_text.h"
#include "qz1/tune.h"

namespace qz1 {
namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  qz1 show [--json] FILE\n"
    "      Every parameter of a QZ-1 data file in words, and the timing table in use.\n"
    "      With --json: every parameter variable, Table2D and Table3D as one JSON object.\n"
    "  qz1 apply FILE [--set NAME=VALUE ...] [--json EDITS.json ...] -o OUT\n"
    "      Change variables (and cells Table2D[c], Table3D[c][r]) and write OUT encoded as\n"
    "      the program saves a data file. Edits apply in the order given.\n"
    "  qz1 diff A B\n"
    "      Every parameter and table cell that differs. Exit 0 when equal, 1 when not.\n"
    "Exit status 2 means bad input, 3 a value stored in FILE could not be decoded.\n";

int reportDecodeFailures(const Tune& tune, std::ostream& err) {
    const auto lines = decodeFailureLines(tune);
    for (const auto& line : lines) err << line << '\n';
    return lines.empty() ? kExitOk : kExitDecodeFailure;
}

int runShow(const std::string& path, bool asJson, std::ostream& out, std::ostream& err) {
    const Tune tune = loadTune(path);
    if (asJson) {
        out << tuneToJson(tune.data).dump(2) << '\n';
    } else {
        out << "File " << path << '\n';
        for (const auto& variable : qz::parameterCatalog()) {
            if (const auto section = sectionBefore(variable.name()); !section.empty())
                out << '\n' << section << '\n';
            out << parameterLabel(variable.name()) << ' '
                << parameterValueText(variable.name(), tune.data) << '\n';
        }
        out << '\n' << timingTableText(tune.data);
    }
    return reportDecodeFailures(tune, err);
}

std::string readTextFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw BadInput(path + ": " + file.errorString().toStdString());
    return file.readAll().toStdString();
}

bool tableChanged2D(const qz::ModuleData& before, const qz::ModuleData& after) {
    for (int c = 1; c <= qz::kRpmBreakpoints; ++c)
        if (before.Table2D(c, 1) != after.Table2D(c, 1)) return true;
    return false;
}

int runApply(const std::vector<std::string>& arguments, std::ostream& err) {
    std::string input;
    std::string output;
    std::vector<Edit> edits;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "--set" || argument == "--json" || argument == "-o";
        if (takesValue && i + 1 == arguments.size()) throw BadInput(argument + " needs a value");
        if (argument == "--set") {
            edits.push_back(parseSetArgument(arguments[++i]));
        } else if (argument == "--json") {
            const std::string& file = arguments[++i];
            const auto fromFile = parseJsonEdits(readTextFile(file), file);
            edits.insert(edits.end(), fromFile.begin(), fromFile.end());
        } else if (argument == "-o") {
            output = arguments[++i];
        } else if (argument.starts_with("-") || !input.empty()) {
            throw BadInput("apply: unexpected argument \"" + argument + "\"");
        } else {
            input = argument;
        }
    }
    if (input.empty() || output.empty()) throw BadInput("apply needs FILE and -o OUT");

    Tune tune = loadTune(input);
    for (const auto& failure : tune.decodeFailures) {
        const bool replaced = std::any_of(edits.begin(), edits.end(), [&](const Edit& edit) {
            return edit.variable && edit.variable->name() == failure.step;
        });
        if (!replaced) {
            err << input << ": " << failure.step << ": " << failure.description << " (set "
                << failure.step << " to write this file)\n";
            return kExitDecodeFailure;
        }
    }

    const qz::ModuleData decoded = tune.data;
    qz::ModuleData& data = tune.data;
    applyEdits(edits, data);
    // A table is written only when one of its cells was changed, against the final trigger
    // timing; an untouched table keeps its bytes.
    if (tableChanged2D(decoded, data)) qz::encodeTable2D(data);
    if (!(decoded.Table3D == data.Table3D)) qz::encodeTable3D(data);

    QuietPrompts ignore(qz::PromptAnswer::Ignore);
    const auto encoding = qz::UpdateEEPROM(data, ignore);
    if (!encoding.failures.empty()) {
        for (const auto& failure : encoding.failures)
            err << output << ": cannot encode " << failure.step << " = "
                << qz::findParameter(failure.step)->get(data) << ": " << failure.description
                << '\n';
        return kExitBadInput;
    }

    // Say where the module will read a value other than the one asked for (clamps, flag
    // bytes rebuilt from their flags).
    qz::ModuleData readBack = data;
    QuietPrompts quiet(qz::PromptAnswer::Ignore);
    qz::UpdateParams(readBack, quiet);
    std::map<std::string_view, const Edit*> lastEdit;
    for (const auto& edit : edits)
        if (edit.variable) lastEdit[edit.variable->name()] = &edit;
    for (const auto& [name, edit] : lastEdit) {
        const long long stored = edit->variable->get(readBack);
        if (stored != edit->integer)
            err << "note: " << name << " = " << edit->integer << " reads back from " << output
                << " as " << stored << '\n';
    }

    try {
        qz::writeDataFile(QString::fromStdString(output), data.EEPROMBuffer);
    } catch (const qz::ProgramError& error) {
        throw BadInput(error.what());
    }
    return kExitOk;
}

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

int runDiff(const std::string& pathA, const std::string& pathB, std::ostream& stdOut,
            std::ostream& err) {
    std::ostringstream out;
    const Tune a = loadTune(pathA);
    const Tune b = loadTune(pathB);
    for (const auto& variable : qz::parameterCatalog()) {
        if (variable.get(a.data) == variable.get(b.data)) continue;
        out << parameterLabel(variable.name()) << ' ' << parameterValueText(variable.name(), a.data)
            << " -> " << parameterValueText(variable.name(), b.data) << '\n';
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
        const std::string label =
            std::to_string(labelA) + (labelA == labelB ? "" : "/" + std::to_string(labelB));
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

}  // namespace

int runQz1(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    try {
        const std::string command = arguments.empty() ? "" : arguments.front();
        const std::vector<std::string> rest(arguments.begin() + (arguments.empty() ? 0 : 1),
                                            arguments.end());
        if (command == "--help" || command == "-h" || command == "help") {
            out << kUsage;
            return kExitOk;
        }
        if (command == "show" && rest.size() == 1) return runShow(rest[0], false, out, err);
        if (command == "show" && rest.size() == 2 && rest[0] == "--json")
            return runShow(rest[1], true, out, err);
        if (command == "apply") return runApply(rest, err);
        if (command == "diff" && rest.size() == 2) return runDiff(rest[0], rest[1], out, err);
        err << (command.empty() ? "qz1: no command given" : "qz1: cannot understand the arguments")
            << "; see qz1 --help\n";
        return kExitBadInput;
    } catch (const BadInput& problem) {
        err << "qz1: " << problem.what() << '\n';
        return kExitBadInput;
    }
}

}  // namespace qz1
