#include "qz1/tune.h"

#include <algorithm>

#include "core/auto_prompts.h"
#include "files/data_file.h"
#include "image/parameter_catalog.h"
#include "image/parameter_codec.h"

namespace qz1 {

Tune loadTune(const std::string& path) {
    Tune tune;
    tune.path = path;
    aboutFile(path, [&] { qz::loadDataFile(QString::fromStdString(path), tune.data); });
    qz::AutoPrompts ignore(qz::PromptAnswer::Ignore);
    tune.decodeFailures = qz::UpdateParams(tune.data, ignore).failures;
    return tune;
}

std::vector<std::string> Tune::undecodable() const {
    std::vector<std::string> names;
    for (const auto& failure : decodeFailures) names.push_back(failure.step);
    return names;
}

bool Tune::decoded(std::string_view name) const {
    return std::none_of(decodeFailures.begin(), decodeFailures.end(),
                        [&](const qz::TrappedFailure& failure) { return failure.step == name; });
}

int reportDecodeFailures(const Tune& tune, std::ostream& err) {
    for (const auto& failure : tune.decodeFailures)
        err << tune.path << ": " << failure.step << ": " << failure.description << '\n';
    return tune.decodeFailures.empty() ? kExitOk : kExitDecodeFailure;
}

void saveTune(qz::ModuleData& data, const std::string& path) {
    qz::AutoPrompts ignore(qz::PromptAnswer::Ignore);
    const auto encoding = qz::UpdateEEPROM(data, ignore);
    if (!encoding.failures.empty()) {
        const auto& failure = encoding.failures.front();
        std::string value;
        if (const auto* variable = qz::findParameter(failure.step))
            value = " = " + std::to_string(variable->get(data));
        throw BadInput(path + ": cannot encode " + failure.step + value + ": " +
                       failure.description);
    }
    aboutFile(path, [&] { qz::writeDataFile(QString::fromStdString(path), data.EEPROMBuffer); });
}

}  // namespace qz1
