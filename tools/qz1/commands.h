#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qz1 {

// The whole command line of qz1 (without the program name). Writes results to `out` and
// every problem as one line to `err`; returns the exit status: 0 done (or equal), 1 files
// differ, 2 bad input, 3 a stored value could not be decoded.
int runQz1(std::vector<std::string> arguments, std::ostream& out, std::ostream& err);

// The commands; each throws BadInput for bad input.
int runShow(const std::string& path, bool asJson, std::ostream& out, std::ostream& err);
int runApply(const std::vector<std::string>& arguments, std::ostream& err);
int runDiff(const std::string& pathA, const std::string& pathB, std::ostream& out,
            std::ostream& err);
int runDownload(const std::vector<std::string>& arguments, std::ostream& err);
int runUpload(const std::vector<std::string>& arguments, std::ostream& err);
int runNew2D(const std::vector<std::string>& arguments, std::ostream& err);
int runNew3D(const std::vector<std::string>& arguments, std::ostream& err);
int runReport(const std::vector<std::string>& arguments, std::ostream& err);
int runSim(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace qz1
