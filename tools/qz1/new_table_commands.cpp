#include <charconv>
#include <map>

#include "core/auto_prompts.h"
#include "files/data_file.h"
#include "image/parameter_codec.h"
#include "image/table_layout.h"
#include "qz1/commands.h"
#include "qz1/tune.h"
#include "wizards/wizard_rules.h"

namespace qz1 {
namespace {

// IN -o OUT and the named options, each given at most once.
struct NewTableRequest {
    std::string input;
    std::string output;
    std::map<std::string, std::string> options;
};

NewTableRequest parseArguments(const std::vector<std::string>& arguments, const char* command,
                               std::initializer_list<const char*> known) {
    NewTableRequest request;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool option =
            argument == "-o" || std::find_if(known.begin(), known.end(), [&](const char* k) {
                                    return argument == k;
                                }) != known.end();
        if (option) {
            if (i + 1 == arguments.size()) throw BadInput(argument + " needs a value");
            if (argument == "-o")
                request.output = arguments[++i];
            else
                request.options[argument] = arguments[++i];
        } else if (argument.starts_with("-") || !request.input.empty()) {
            throw BadInput(std::string(command) + ": unexpected argument \"" + argument + "\"");
        } else {
            request.input = argument;
        }
    }
    if (request.input.empty() || request.output.empty())
        throw BadInput(std::string(command) + " needs IN and -o OUT");
    return request;
}

// Loads IN, refusing a file that cannot be decoded or whose selected table is another kind.
Tune loadFor(const std::string& path, qz::TableKind kind, const char* command) {
    Tune tune = loadTune(path);
    if (!tune.decodeFailures.empty())
        throw BadInput(path + ": " + tune.decodeFailures.front().step + ": " +
                       tune.decodeFailures.front().description);
    if (qz::selectedTable(tune.data) != kind)
        throw BadInput(path + ": the selected timing table is not " +
                       (kind == qz::TableKind::Table2D ? "2D" : "3D") + "; " + command +
                       " makes only that kind");
    return tune;
}

// The table saved into its bytes at the new trigger timing, as Save Timing Table Edits To
// Buffer does, then the file written as Save File writes it.
int writeTune(Tune& tune, const std::string& output) {
    qz::AutoPrompts ignore(qz::PromptAnswer::Ignore);
    const auto encoding = qz::UpdateEEPROM(tune.data, ignore);
    if (!encoding.failures.empty())
        throw BadInput(output + ": cannot encode " + encoding.failures.front().step + ": " +
                       encoding.failures.front().description);
    try {
        qz::writeDataFile(QString::fromStdString(output), tune.data.EEPROMBuffer);
    } catch (const qz::ProgramError& error) {
        throw BadInput(error.what());
    }
    return kExitOk;
}

int wholeDegrees(const std::string& option, const std::string& text) {
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > 40)
        throw BadInput(option + " takes whole degrees from 0 to 40, not \"" + text + "\"");
    return value;
}

}  // namespace

// The 2D wizard for scripts: the values given are typed into their boxes in tab order, and
// each correction the wizard would show is a note on stderr.
int runNew2D(const std::vector<std::string>& arguments, std::ostream& err) {
    using qz::CurveField;
    const NewTableRequest request = parseArguments(
        arguments, "new2d",
        {"--trigger", "--start-rpm", "--final-rpm", "--start-advance", "--final-advance"});
    Tune tune = loadFor(request.input, qz::TableKind::Table2D, "new2d");
    qz::Curve2D curve = qz::initialCurve(tune.data.TrigTiming);
    const std::pair<const char*, CurveField> order[] = {
        {"--trigger", CurveField::TrigTiming},        {"--start-rpm", CurveField::StartRpm},
        {"--final-rpm", CurveField::FinalRpm},        {"--start-advance", CurveField::StartTiming},
        {"--final-advance", CurveField::FinalTiming},
    };
    for (const auto& [option, field] : order) {
        const auto given = request.options.find(option);
        if (given == request.options.end()) continue;
        for (const auto& message : qz::enterCurveField(curve, field, given->second))
            err << "note: " << option << ' ' << given->second << ": " << message.text << " ("
                << qz::curveFieldText(curve, field) << " used)\n";
    }
    const auto table = qz::generateCurve(curve);
    if (!table) throw BadInput(std::string("new2d: ") + qz::kStartAboveFinalMessage);
    tune.data.Table2D = *table;
    tune.data.TrigTiming = static_cast<std::int16_t>(curve.trigTiming);
    qz::encodeTable2D(tune.data);
    return writeTune(tune, request.output);
}

// The 3D wizard for scripts: the trigger slider moved, then the base slider.
int runNew3D(const std::vector<std::string>& arguments, std::ostream& err) {
    const NewTableRequest request = parseArguments(arguments, "new3d", {"--trigger", "--base"});
    Tune tune = loadFor(request.input, qz::TableKind::Table3D, "new3d");
    int trigger = tune.data.TrigTiming;
    int base = qz::initialBaseTiming(trigger);
    if (const auto given = request.options.find("--trigger"); given != request.options.end()) {
        trigger = wholeDegrees("--trigger", given->second);
        base = qz::keptBaseTiming(base, trigger);
    }
    if (const auto given = request.options.find("--base"); given != request.options.end()) {
        const int wanted = wholeDegrees("--base", given->second);
        base = qz::keptBaseTiming(wanted, trigger);
        if (base != wanted)
            err << "note: --base " << wanted << ": kept within " << trigger - qz::kTimingRange
                << " to " << trigger << " degrees (" << base << " used)\n";
    }
    tune.data.Table3D = qz::flatTable(base);
    tune.data.TrigTiming = static_cast<std::int16_t>(trigger);
    qz::encodeTable3D(tune.data);
    return writeTune(tune, request.output);
}

}  // namespace qz1
