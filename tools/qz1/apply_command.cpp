#include <QFile>
#include <algorithm>
#include <map>

#include "core/auto_prompts.h"
#include "image/parameter_codec.h"
#include "image/table_layout.h"
#include "qz1/commands.h"
#include "qz1/edits.h"
#include "qz1/tune.h"

namespace qz1 {
namespace {

std::string readTextFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw BadInput(path + ": " + file.errorString().toStdString());
    return file.readAll().toStdString();
}

// The --set and --json edits in the order given.
std::vector<Edit> editsOf(const Arguments& arguments) {
    std::vector<Edit> edits;
    for (const auto& [option, value] : arguments.values({"--set", "--json"})) {
        if (option == "--set") {
            edits.push_back(parseSetArgument(value));
        } else {
            const auto fromFile = parseJsonEdits(readTextFile(value), value);
            edits.insert(edits.end(), fromFile.begin(), fromFile.end());
        }
    }
    return edits;
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

int runApply(const Arguments& arguments, std::ostream&, std::ostream& err) {
    const std::vector<Edit> edits = editsOf(arguments);
    const std::string output = *arguments.value("-o");
    Tune tune = loadTune(arguments.positional(0));
    if (!undecodedValuesReplaced(tune, edits, err)) return kExitDecodeFailure;

    const qz::ModuleData decoded = tune.data;
    qz::ModuleData& data = tune.data;
    applyEdits(edits, data);
    // A table is written only when one of its cells was changed, against the final trigger
    // timing, as the program's save of a table does; an untouched table keeps its bytes.
    if (!(decoded.Table2D == data.Table2D)) qz::encodeTable2D(data);
    if (!(decoded.Table3D == data.Table3D)) qz::encodeTable3D(data);
    saveTune(data, output);
    noteReadBackChanges(data, edits, output, err);
    return kExitOk;
}

}  // namespace qz1
