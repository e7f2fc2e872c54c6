#pragma once

#include <QString>

namespace qz {

// The folder the program reads its configuration, logo, chart templates and help from:
// beside its executable (the build folder), or else ../share/tunewell-qz from it (an
// installed or staged package).
QString findProgramFolder(const QString& executableFolder);

}  // namespace qz
