#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "qz1/command_line.h"

namespace qz1 {

// The whole command line of qz1 (without the program name). Writes results to `out` and
// every problem as one line to `err`; returns the exit status: 0 done (or equal), 1 files
// differ, 2 bad input, 3 a stored value could not be decoded.
int runQz1(std::vector<std::string> arguments, std::ostream& out, std::ostream& err);

// Every command, as the parser and the usage read it.
const std::vector<Command>& commands();

// The commands, each given its parsed arguments; each throws BadInput for bad input.
int runShow(const Arguments& arguments, std::ostream& out, std::ostream& err);
int runApply(const Arguments& arguments, std::ostream& out, std::ostream& err);
int runDiff(const Arguments& arguments, std::ostream& out, std::ostream& err);
int runReport(const Arguments& arguments, std::ostream& out, std::ostream& err);
int runNew2D(const Arguments& arguments, std::ostream& out, std::ostream& err);
int runNew3D(const Arguments& arguments, std::ostream& out, std::ostream& err);
int runDownload(const Arguments& arguments, std::ostream& out, std::ostream& err);
int runUpload(const Arguments& arguments, std::ostream& out, std::ostream& err);
int runRestoreList(const Arguments& arguments, std::ostream& out, std::ostream& err);
int runRestoreGet(const Arguments& arguments, std::ostream& out, std::ostream& err);
int runSim(const Arguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace qz1
