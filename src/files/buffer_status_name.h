#pragma once

#include <QString>

namespace qz {

// How a data file is named in the main window's caption: the part after the last path
// separator (the whole text when there is none); a part longer than 40 characters becomes
// "..." followed by its last 40 characters.
QString bufferStatusName(const QString& path);

}  // namespace qz
