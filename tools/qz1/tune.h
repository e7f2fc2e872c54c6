#pragma once

#include <QString>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/error_trap.h"
#include "core/module_data.h"
#include "core/prompts.h"

namespace qz1 {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDifferent = 1;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitDecodeFailure = 3;

// Bad input: one line for stderr that names the file or argument and the problem.
class BadInput : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A data file read into a fresh image and decoded. A decoding failure is passed over as
// Ignore would, and recorded.
struct Tune {
    std::string path;
    qz::ModuleData data;
    std::vector<qz::TrappedFailure> decodeFailures;

    // The variables whose stored value could not be decoded.
    std::vector<std::string> undecodable() const;
};

// Throws BadInput naming the file when it cannot be read or is short.
Tune loadTune(const std::string& path);

// Writes "FILE: VARIABLE: Overflow" to `err` for each decoding failure; returns
// kExitDecodeFailure when there was one, kExitOk otherwise.
int reportDecodeFailures(const Tune& tune, std::ostream& err);

}  // namespace qz1
