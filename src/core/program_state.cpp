#include "core/program_state.h"

#include "core/program_error.h"

namespace qz {

const std::string& listItem(const std::vector<std::string>& list, int index) {
    if (index < 1 || index > static_cast<int>(list.size()))
        throw ProgramError(kInvalidCallErrorNumber, "Tunewell_QZ",
                           "Invalid procedure call or argument");
    return list[static_cast<std::size_t>(index - 1)];
}

}  // namespace qz
