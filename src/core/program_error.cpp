#include "core/program_error.h"

#include <utility>

namespace qz {

ProgramError::ProgramError(std::uint32_t number, std::string source, const std::string& description,
                           std::string detail)
    : std::runtime_error(description),
      number_(number),
      source_(std::move(source)),
      detail_(std::move(detail)) {}

ProgramError appError(std::string source, const std::string& description, std::uint32_t number) {
    return ProgramError(number, std::move(source), description);
}

ProgramError overflowError() {
    return ProgramError(kOverflowErrorNumber, "Tunewell_QZ", "Overflow");
}

}  // namespace qz
