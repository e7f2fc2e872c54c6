#include "image/parameter_catalog.h"
#include "qz1/commands.h"
#include "qz1/json_view.h"
#include "qz1/parameter_words.h"
#include "qz1/table_text.h"
#include "qz1/tune.h"

namespace qz1 {

// Goes on past a value that cannot be decoded, saying so, and exits 3 for it.
int runShow(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const std::string& path = arguments.positional(0);
    const Tune tune = loadTune(path);
    if (arguments.isSet("--json")) {
        out << tuneToJson(tune.data, tune.undecodable()).dump(2) << '\n';
    } else {
        out << "File " << path << '\n';
        for (const auto& variable : qz::parameterCatalog()) {
            if (const auto section = sectionBefore(variable.name()); !section.empty())
                out << '\n' << section << '\n';
            out << parameterLabel(variable.name()) << ' ' << storedValueText(variable.name(), tune)
                << '\n';
        }
        out << '\n' << timingTableText(tune.data);
    }
    return reportDecodeFailures(tune, err);
}

}  // namespace qz1
