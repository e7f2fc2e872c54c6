#pragma once

#include <QString>

#include "core/number_text.h"
#include "image/table_text.h"

namespace qz {

// A number as a grid cell or a value label shows it, through one of the program's formats
// ("#0", "#0.0").
inline QString cellNumber(double value, const char* pattern) {
    return QString::fromStdString(formatNumber(value, pattern));
}

// An advance as every cell, value label and report shows it: "#0.0".
inline QString advanceCell(double advance) {
    return QString::fromStdString(advanceText(advance));
}

}  // namespace qz
