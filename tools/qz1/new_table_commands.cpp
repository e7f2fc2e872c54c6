#include <algorithm>
#include <charconv>
#include <string>
#include <utility>
#include <vector>

#include "core/leading_number.h"

#include "image/table_layout.h"
#include "qz1/commands.h"
#include "qz1/tune.h"
#include "wizards/wizard_rules.h"

namespace qz1 {
namespace {

// The selected table must be the kind the command makes.
void requireTableKind(const Tune& tune, qz::TableKind kind, const char* command) {
    if (qz::selectedTable(tune.data) != kind)
        throw BadInput(tune.path + ": the selected timing table is not " +
                       (kind == qz::TableKind::Table2D ? "2D" : "3D") + "; " + command +
                       " makes only that kind");
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
// each correction the wizard would show is a note on stderr. The whole file is saved, so
// every stored value must decode.
int runNew2D(const Arguments& arguments, std::ostream&, std::ostream& err) {
    using qz::CurveField;
    Tune tune = loadTune(arguments.positional(0));
    if (reportDecodeFailures(tune, err) != kExitOk) return kExitDecodeFailure;
    requireTableKind(tune, qz::TableKind::Table2D, "new2d");
    qz::Curve2D curve = qz::initialCurve(tune.data.TrigTiming);
    const std::pair<const char*, CurveField> order[] = {
        {"--trigger", CurveField::TrigTiming},        {"--start-rpm", CurveField::StartRpm},
        {"--final-rpm", CurveField::FinalRpm},        {"--start-advance", CurveField::StartTiming},
        {"--final-advance", CurveField::FinalTiming},
    };
    // A value must be a number; one the wizard corrects (a message, or whole degrees, a
    // multiple of 500 RPM, a partner moved by a later box) is noted with what was used.
    std::vector<std::pair<const char*, CurveField>> noted;
    for (const auto& [option, field] : order) {
        const auto given = arguments.value(option);
        if (!given) continue;
        if (!qz::isNumericWhole(*given))
            throw BadInput(std::string(option) + " takes a number, not \"" + *given + "\"");
        for (const auto& message : qz::enterCurveField(curve, field, *given)) {
            err << "note: " << option << ' ' << *given << ": " << message.text << " ("
                << qz::curveFieldText(curve, field) << " used)\n";
            noted.emplace_back(option, field);
        }
    }
    for (const auto& [option, field] : order) {
        const auto given = arguments.value(option);
        if (!given ||
            std::find(noted.begin(), noted.end(), std::pair(option, field)) != noted.end())
            continue;
        const std::string used = qz::curveFieldText(curve, field);
        if (std::stod(used) != qz::leadingNumber(*given))
            err << "note: " << option << ' ' << *given << ": " << used << " used\n";
    }
    const auto table = qz::generateCurve(curve);
    if (!table) throw BadInput(std::string("new2d: ") + qz::kStartAboveFinalMessage);
    tune.data.Table2D = *table;
    tune.data.TrigTiming = static_cast<std::int16_t>(curve.trigTiming);
    qz::encodeTable2D(tune.data);
    saveTune(tune.data, *arguments.value("-o"));
    return kExitOk;
}

// The 3D wizard for scripts: the trigger slider moved, then the base slider.
int runNew3D(const Arguments& arguments, std::ostream&, std::ostream& err) {
    Tune tune = loadTune(arguments.positional(0));
    if (reportDecodeFailures(tune, err) != kExitOk) return kExitDecodeFailure;
    requireTableKind(tune, qz::TableKind::Table3D, "new3d");
    int trigger = tune.data.TrigTiming;
    int base = qz::initialBaseTiming(trigger);
    if (const auto given = arguments.value("--trigger")) {
        trigger = wholeDegrees("--trigger", *given);
        base = qz::keptBaseTiming(base, trigger);
    }
    if (const auto given = arguments.value("--base")) {
        const int wanted = wholeDegrees("--base", *given);
        base = qz::keptBaseTiming(wanted, trigger);
        if (base != wanted)
            err << "note: --base " << wanted << ": kept within " << trigger - qz::kTimingRange
                << " to " << trigger << " degrees (" << base << " used)\n";
    }
    tune.data.Table3D = qz::flatTable(base);
    tune.data.TrigTiming = static_cast<std::int16_t>(trigger);
    qz::encodeTable3D(tune.data);
    saveTune(tune.data, *arguments.value("-o"));
    return kExitOk;
}

}  // namespace qz1
