#include <QFile>
#include <QString>
#include <algorithm>
#include <cmath>
#include <map>

#include "core/auto_prompts.h"
#include "files/data_file.h"
#include "image/cell_encoding.h"
#include "image/parameter_codec.h"
#include "image/table_layout.h"
#include "qz1/commands.h"
#include "qz1/edits.h"
#include "qz1/tune.h"

namespace qz1 {
namespace {

std::string readTextFile(const std::string& path) {
    aboutFile(path, [&] { qz::requireRegularFile(QString::fromStdString(path), "qz1"); });
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

// An advance as a note shows it: at most two decimals, no trailing zeros.
std::string shortNumber(double value) {
    std::string text = QString::number(value, 'f', 2).toStdString();
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

// Says where the module will read back another value than the one given: a clamp, a flag
// byte rebuilt from its flags, or a cell beyond what its byte holds at the trigger timing
// (more than the rounding to the module's 0.0879-degree step).
void noteReadBackChanges(const qz::ModuleData& encoded, const std::vector<Edit>& edits,
                         const std::string& output, std::ostream& err) {
    qz::ModuleData readBack = encoded;
    qz::AutoPrompts ignore(qz::PromptAnswer::Ignore);
    qz::UpdateParams(readBack, ignore);
    std::map<std::string, const Edit*> lastEdit;
    for (const auto& edit : edits) {
        const std::string cell = std::string("[").append(std::to_string(edit.column)).append("]");
        switch (edit.target) {
            case Edit::Target::Variable:
                lastEdit[std::string(edit.variable->name())] = &edit;
                break;
            case Edit::Target::Table2DCell:
                lastEdit["Table2D" + cell] = &edit;
                break;
            case Edit::Target::Table3DCell:
                lastEdit["Table3D" + cell + "[" + std::to_string(edit.row) + "]"] = &edit;
                break;
        }
    }
    for (const auto& [name, edit] : lastEdit) {
        if (edit->target == Edit::Target::Variable) {
            const long long stored = edit->variable->get(readBack);
            if (stored != edit->integer)
                err << "note: " << name << " = " << edit->integer << " reads back from " << output
                    << " as " << stored << '\n';
            continue;
        }
        const double stored = edit->target == Edit::Target::Table2DCell
                                  ? readBack.Table2D(edit->column, 1)
                                  : readBack.Table3D(edit->column, edit->row);
        if (std::abs(stored - edit->advance) > qz::kRetardStep / 2 + 1e-9)
            err << "note: " << name << " = " << shortNumber(edit->advance) << " reads back from "
                << output << " as " << shortNumber(stored) << '\n';
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
