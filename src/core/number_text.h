#pragma once

#include <string>
#include <string_view>

namespace qz {

// A number written without a format, as value labels, some fields and plain numbers in
// the report show it: one leading blank when zero or positive, a minus sign when negative
// (" 3000", "-5", " 2.5"). Up to 15 significant digits, no trailing zeros.
std::string numberText(double value);

// The number as it is joined into a message: no leading blank ("22", "-4", "2.5").
std::string plainNumber(double value);

// A number through a digit pattern: "0" is a digit always shown, "#" a digit shown only
// when significant, "." the decimal point. Supports the program's patterns "#0", "###0",
// "####0", "##00", "#0.0", "0.0" and "0.00". Rounds at the last shown decimal with halves
// to even on the stored value; a result that shows as zero carries no minus sign.
std::string formatNumber(double value, std::string_view pattern);

}  // namespace qz
