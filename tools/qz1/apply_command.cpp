#include <QFile>
#include <algorithm>
#include <map>

#include "core/auto_prompts.h"
#include "files/data_file.h"
#include "image/parameter_codec.h"
#include "image/table_layout.h"
#include "qz1/commands.h"
#include "qz1/edits.h"
#include "qz1/tune.h"

namespace qz1 {
namespace {

struct ApplyRequest {
    std::string input;
    std::string output;
    std::vector<Edit> edits;  // in the order given
};

std::string readTextFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw BadInput(path + ": " + file.errorString().toStdString());
    return file.readAll().toStdString();
}

ApplyRequest parseApplyArguments(const std::vector<std::string>& arguments) {
    ApplyRequest request;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "--set" || argument == "--json" || argument == "-o";
        if (takesValue && i + 1 == arguments.size()) throw BadInput(argument + " needs a value");
        if (argument == "--set") {
            request.edits.push_back(parseSetArgument(arguments[++i]));
        } else if (argument == "--json") {
            const std::string& file = arguments[++i];
            const auto fromFile = parseJsonEdits(readTextFile(file), file);
            request.edits.insert(request.edits.end(), fromFile.begin(), fromFile.end());
        } else if (argument == "-o") {
            request.output = arguments[++i];
        } else if (argument.starts_with("-") || !request.input.empty()) {
            throw BadInput("apply: unexpected argument \"" + argument + "\"");
        } else {
            request.input = argument;
        }
    }
    if (request.input.empty() || request.output.empty())
        throw BadInput("apply needs FILE and -o OUT");
    return request;
}

// A value that could not be decoded must be replaced by an edit, or the file would carry
// a value nobody chose.
bool undecodedValuesReplaced(const Tune& tune, const std::vector<Edit>& edits, std::ostream& err) {
    for (const auto& failure : tune.decodeFailures) {
        const bool replaced = std::any_of(edits.begin(), edits.end(), [&](const Edit& edit) {
            return edit.variable && edit.variable->name() == failure.step;
        });
        if (!replaced) {
            err << tune.path << ": " << failure.step << ": " << failure.description << " (set "
                << failure.step << " to write this file)\n";
            return false;
        }
    }
    return true;
}

// Says where the module will read back another value than the one given: a clamp, or a
// flag byte rebuilt from its flags.
void noteReadBackChanges(const qz::ModuleData& encoded, const std::vector<Edit>& edits,
                         const std::string& output, std::ostream& err) {
    qz::ModuleData readBack = encoded;
    qz::AutoPrompts ignore(qz::PromptAnswer::Ignore);
    qz::UpdateParams(readBack, ignore);
    std::map<std::string_view, const Edit*> lastEdit;
    for (const auto& edit : edits)
        if (edit.variable) lastEdit[edit.variable->name()] = &edit;
    for (const auto& [name, edit] : lastEdit) {
        const long long stored = edit->variable->get(readBack);
        if (stored != edit->integer)
            err << "note: " << name << " = " << edit->integer << " reads back from " << output
                << " as " << stored << '\n';
    }
}

}  // namespace

int runApply(const std::vector<std::string>& arguments, std::ostream& err) {
    const ApplyRequest request = parseApplyArguments(arguments);
    Tune tune = loadTune(request.input);
    if (!undecodedValuesReplaced(tune, request.edits, err)) return kExitDecodeFailure;

    const qz::ModuleData decoded = tune.data;
    qz::ModuleData& data = tune.data;
    applyEdits(request.edits, data);
    // A table is written only when one of its cells was changed, against the final trigger
    // timing, as the program's save of a table does; an untouched table keeps its bytes.
    if (!(decoded.Table2D == data.Table2D)) qz::encodeTable2D(data);
    if (!(decoded.Table3D == data.Table3D)) qz::encodeTable3D(data);

    qz::AutoPrompts ignore(qz::PromptAnswer::Ignore);
    const auto encoding = qz::UpdateEEPROM(data, ignore);
    for (const auto& failure : encoding.failures)
        err << request.output << ": cannot encode " << failure.step << " = "
            << qz::findParameter(failure.step)->get(data) << ": " << failure.description << '\n';
    if (!encoding.failures.empty()) return kExitBadInput;

    noteReadBackChanges(data, request.edits, request.output, err);
    try {
        qz::writeDataFile(QString::fromStdString(request.output), data.EEPROMBuffer);
    } catch (const qz::ProgramError& error) {
        throw BadInput(error.what());
    }
    return kExitOk;
}

}  // namespace qz1
