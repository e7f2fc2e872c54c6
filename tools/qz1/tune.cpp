#include "qz1/tune.h"

#include "core/auto_prompts.h"
#include "files/data_file.h"
#include "image/parameter_codec.h"

namespace qz1 {

Tune loadTune(const std::string& path) {
    Tune tune;
    tune.path = path;
    try {
        qz::loadDataFile(QString::fromStdString(path), tune.data);
    } catch (const qz::PrematureEndOfFile& error) {
        throw BadInput(path + ": " + error.what());
    } catch (const qz::ProgramError& error) {
        // The file layer's description already starts with the path.
        throw BadInput(error.what());
    }
    qz::AutoPrompts ignore(qz::PromptAnswer::Ignore);
    tune.decodeFailures = qz::UpdateParams(tune.data, ignore).failures;
    return tune;
}

std::vector<std::string> Tune::undecodable() const {
    std::vector<std::string> names;
    for (const auto& failure : decodeFailures) names.push_back(failure.step);
    return names;
}

int reportDecodeFailures(const Tune& tune, std::ostream& err) {
    for (const auto& failure : tune.decodeFailures)
        err << tune.path << ": " << failure.step << ": " << failure.description << '\n';
    return tune.decodeFailures.empty() ? kExitOk : kExitDecodeFailure;
}

}  // namespace qz1
