#include "qz1/bad_input.h"

namespace qz1 {

BadInput badInputAbout(const std::string& file, const qz::ProgramError& error) {
    const std::string message = error.what();
    return BadInput(message.starts_with(file + ": ") ? message : file + ": " + message);
}

}  // namespace qz1
