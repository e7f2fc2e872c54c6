#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/error_trap.h"
#include "core/module_data.h"
#include "qz1/bad_input.h"

namespace qz1 {

// A data file read into a fresh image and decoded. A decoding failure is passed over as
// Ignore would, and recorded.
struct Tune {
    std::string path;
    qz::ModuleData data;
    std::vector<qz::TrappedFailure> decodeFailures;

    // The variables whose stored value could not be decoded.
    std::vector<std::string> undecodable() const;
    bool decoded(std::string_view name) const;
};

// Throws BadInput naming the file when it cannot be read or is short.
Tune loadTune(const std::string& path);

// Writes "FILE: VARIABLE: Overflow" to `err` for each decoding failure; returns
// kExitDecodeFailure when there was one, kExitOk otherwise.
int reportDecodeFailures(const Tune& tune, std::ostream& err);

// Encodes the variables into the image and writes the file, as Save File does. A value that
// cannot be encoded, or a file that cannot be written, throws BadInput naming `path`, and
// nothing is written.
void saveTune(qz::ModuleData& data, const std::string& path);

}  // namespace qz1
