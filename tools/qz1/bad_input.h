#pragma once

#include <stdexcept>
#include <string>
#include <utility>

#include "core/program_error.h"

namespace qz1 {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDifferent = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitDecodeFailure = 3;
inline constexpr int kExitTransferFailed = 4;

// Bad input: one line for stderr that names the file or argument and the problem.
class BadInput : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The program's error about `file` as one line naming the file. The file layer's messages
// start with the path already; the others get it put in front.
BadInput badInputAbout(const std::string& file, const qz::ProgramError& error);

// Runs `step` and returns what it returns, turning a ProgramError into badInputAbout(file).
template <typename Step>
decltype(auto) aboutFile(const std::string& file, Step&& step) {
    try {
        return std::forward<Step>(step)();
    } catch (const qz::ProgramError& error) {
        throw badInputAbout(file, error);
    }
}

}  // namespace qz1
