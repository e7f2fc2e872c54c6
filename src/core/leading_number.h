#pragma once

#include <string_view>

namespace qz {

// The number that text stands for when a user types or pastes it: blanks, tabs and line
// feeds are skipped wherever they stand; then an optional sign, digits with at most one
// full stop and an optional exponent (E or e, optional sign, digits). Reading stops at the
// first other character; text without a number gives 0. An exponent too large for a double
// gives an infinity of the number's sign, which every caller's range check then catches.
double leadingNumber(std::string_view text);

// Whether the whole text is one number: surrounding blanks allowed, an optional leading
// sign, digits with at most one full stop (at least one digit), an optional exponent.
bool isNumericWhole(std::string_view text);

}  // namespace qz
