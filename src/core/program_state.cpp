#include "core/program_state.h"

#include "core/program_error.h"

namespace qz {

const std::string& listItem(const std::vector<std::string>& list, int index) {
    if (index < 1 || index > static_cast<int>(list.size()))
        throw ProgramError(kInvalidCallErrorNumber, "Tunewell_QZ",
                           "Invalid procedure call or argument");
    return list[static_cast<std::size_t>(index - 1)];
}

const std::string& configurationItem(const ProgramState& state,
                                     const std::vector<std::string>& list, int index) {
    try {
        return listItem(list, index);
    } catch (const ProgramError& error) {
        const bool splash = &list == &state.SplashSettings;
        const int first = splash ? state.SplashSettingsLine : state.CompanyInfoLine;
        const std::string where =
            state.ConfigurationPath.empty()
                ? std::string("The built-in settings")
                : state.ConfigurationPath + ", line " + std::to_string(first + index - 1);
        throw ProgramError(error.number(), error.source(), error.what(),
                           where + ": item " + std::to_string(index) + " of the " +
                               (splash ? "splash settings" : "company information") +
                               " is missing (the section has " + std::to_string(list.size()) +
                               (list.size() == 1 ? " line)." : " lines)."));
    }
}

}  // namespace qz
