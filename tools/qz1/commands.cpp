#include "qz1/commands.h"

#include <QLoggingCategory>
#include <algorithm>

#include "image/parameter_catalog.h"
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
    "  qz1 report FILE -o OUT.pdf [--comment TEXT] [--firmware-id TEXT]\n"
    "      The printed report of FILE (chart, timing table, every parameter) as a PDF.\n"
    "  qz1 new2d IN -o OUT [--trigger DEG] [--start-rpm RPM] [--final-rpm RPM]\n"
    "                      [--start-advance DEG] [--final-advance DEG]\n"
    "      A new 2D advance curve, as the program's 2D wizard makes it, saved into OUT.\n"
    "  qz1 new3d IN -o OUT [--trigger DEG] [--base DEG]\n"
    "      A new flat 3D table at the base timing, as the 3D wizard makes it.\n"
    "  qz1 download --port DEVICE OUT\n"
    "      Read a module into OUT (written only when complete). Exit 0 only on success.\n"
    "  qz1 upload --port DEVICE IN\n"
    "      Program a module from IN and verify every byte. Exit 0 only on success.\n"
    "  qz1 sim [--image FILE] [--id TEXT] [--fault NAME[=N] ...]\n"
    "      Serve a simulated module on a pseudo-terminal; prints its device path. Faults:\n"
    "      silent, no-echo, id-cr, id-letter, id-nonprintable, slow[=MS], nak-resync,\n"
    "      nak-address, nak-program=ADDRESS, differ=ADDRESS, drop=EVERY.\n"
    "  --verbose  trace every byte exchanged with the module on stderr.\n"
    "Exit status 2 means bad input, 3 a value stored in FILE could not be decoded.\n";

}  // namespace

int runShow(const std::string& path, bool asJson, std::ostream& out, std::ostream& err) {
    const Tune tune = loadTune(path);
    if (asJson) {
        out << tuneToJson(tune.data, tune.undecodable()).dump(2) << '\n';
    } else {
        out << "File " << path << '\n';
        for (const auto& variable : qz::parameterCatalog()) {
            if (const auto section = sectionBefore(variable.name()); !section.empty())
                out << '\n' << section << '\n';
            const auto undecodable = tune.undecodable();
            const bool decoded = std::find(undecodable.begin(), undecodable.end(),
                                           variable.name()) == undecodable.end();
            out << parameterLabel(variable.name()) << ' '
                << (decoded ? parameterValueText(variable.name(), tune.data) : "cannot be decoded")
                << '\n';
        }
        out << '\n' << timingTableText(tune.data);
    }
    return reportDecodeFailures(tune, err);
}

int runQz1(std::vector<std::string> arguments, std::ostream& out, std::ostream& err) {
    // --verbose anywhere traces every exchange with the module on stderr.
    if (const auto verbose = std::find(arguments.begin(), arguments.end(), "--verbose");
        verbose != arguments.end()) {
        arguments.erase(verbose);
        QLoggingCategory::setFilterRules(QStringLiteral("qz.link.debug=true"));
    }
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
        if (command == "report") return runReport(rest, err);
        if (command == "new2d") return runNew2D(rest, err);
        if (command == "new3d") return runNew3D(rest, err);
        if (command == "download") return runDownload(rest, err);
        if (command == "upload") return runUpload(rest, err);
        if (command == "sim") return runSim(rest, out, err);
        err << (command.empty() ? "qz1: no command given" : "qz1: cannot understand the arguments")
            << "; see qz1 --help\n";
        return kExitBadInput;
    } catch (const BadInput& problem) {
        err << "qz1: " << problem.what() << '\n';
        return kExitBadInput;
    }
}

}  // namespace qz1
