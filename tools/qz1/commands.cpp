#include "qz1/commands.h"

#include <QLoggingCategory>
#include <algorithm>

#include "qz1/bad_input.h"
#include "qz1/qt_messages.h"
#include "qz1/sim_faults.h"

namespace qz1 {

const std::vector<Command>& commands() {
    using Use = Parameter::Use;
    static const std::vector<Command> table = {
        {"show",
         {{"--json"}, {"FILE"}},
         "Every parameter of a QZ-1 data file in words, and the timing table in use. With "
         "--json: every parameter variable, Table2D and Table3D as one JSON object.",
         runShow},
        {"apply",
         {{"FILE"},
          {"--set", "NAME=VALUE", Use::Repeats},
          {"--json", "EDITS.json", Use::Repeats},
          {"-o", "OUT", Use::Required}},
         "Change variables (and cells Table2D[c], Table3D[c][r]) and write OUT encoded as the "
         "program saves a data file. Edits apply in the order given.",
         runApply},
        {"diff",
         {{"A"}, {"B"}},
         "Every parameter and table cell that differs. Exit 0 when equal, 1 when not.",
         runDiff},
        {"report",
         {{"FILE"},
          {"-o", "OUT.pdf", Use::Required},
          {"--comment", "TEXT"},
          {"--firmware-id", "TEXT"}},
         "The printed report of FILE (chart, timing table, every parameter) as a PDF.",
         runReport},
        {"new2d",
         {{"IN"},
          {"-o", "OUT", Use::Required},
          {"--trigger", "DEG"},
          {"--start-rpm", "RPM"},
          {"--final-rpm", "RPM"},
          {"--start-advance", "DEG"},
          {"--final-advance", "DEG"}},
         "A new 2D advance curve, as the program's 2D wizard makes it, saved into OUT.",
         runNew2D},
        {"new3d",
         {{"IN"}, {"-o", "OUT", Use::Required}, {"--trigger", "DEG"}, {"--base", "DEG"}},
         "A new flat 3D table at the base timing, as the 3D wizard makes it.",
         runNew3D},
        {"download",
         {{"--port", "DEVICE", Use::Required}, {"OUT"}},
         "Read a module into OUT (written only when complete). Exit 0 only on success.",
         runDownload},
        {"upload",
         {{"--port", "DEVICE", Use::Required}, {"IN"}},
         "Program a module from IN and verify every byte. Exit 0 only on success.",
         runUpload},
        {"restore list",
         {{"--folder", "DIR"}},
         "The restore points the program kept, newest first, one per line: index, time, "
         "origin, file, firmware identification (tab-separated). The folder is DIR, else "
         "$QZ_RESTORE_POINTS, else the program's own.",
         runRestoreList},
        {"restore get",
         {{"N"}, {"-o", "OUT", Use::Required}, {"--folder", "DIR"}},
         "Write restore point N of the list (1 is the newest) as the data file OUT.",
         runRestoreGet},
        {"sim",
         {{"--image", "FILE"}, {"--id", "TEXT"}, {"--fault", "NAME[=N]", Use::Repeats}},
         "Serve a simulated module on a pseudo-terminal; prints its device path. Faults: " +
             faultList() + '.',
         runSim},
    };
    return table;
}

int runQz1(std::vector<std::string> arguments, std::ostream& out, std::ostream& err) {
    const QtMessagesToStream messages(err);
    // --verbose may also come before the command; after it, the command's parser takes it.
    bool verbose = false;
    while (!arguments.empty() && arguments.front() == "--verbose") {
        arguments.erase(arguments.begin());
        verbose = true;
    }
    const auto trace = [] {
        QLoggingCategory::setFilterRules(QStringLiteral("qz.link.debug=true"));
    };
    if (verbose) trace();
    try {
        if (arguments.empty()) throw BadInput("no command given; see qz1 --help");
        // A command of two words ("restore list") is looked for first.
        std::string name = arguments.front();
        std::size_t words = 1;
        if (arguments.size() > 1 &&
            std::any_of(commands().begin(), commands().end(),
                        [&](const Command& c) { return c.name == name + ' ' + arguments[1]; })) {
            name += ' ' + arguments[1];
            words = 2;
        }
        if (name == "--help" || name == "-h" || name == "help") {
            out << usageOf(commands());
            return kExitOk;
        }
        const auto command = std::find_if(commands().begin(), commands().end(),
                                          [&](const Command& c) { return c.name == name; });
        if (command == commands().end())
            throw BadInput("unknown command \"" + name + "\"; see qz1 --help");
        const Arguments parsed = parseArguments(
            *command, {arguments.begin() + static_cast<std::ptrdiff_t>(words), arguments.end()});
        if (parsed.isSet("--verbose")) trace();
        if (parsed.isSet("--help")) {
            out << usageOf({*command});
            return kExitOk;
        }
        return command->run(parsed, out, err);
    } catch (const BadInput& problem) {
        err << "qz1: " << problem.what() << '\n';
        return kExitBadInput;
    }
}

}  // namespace qz1
