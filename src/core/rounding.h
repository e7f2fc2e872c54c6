#pragma once

namespace qz {

// Every conversion of a computed value to a whole number in this program rounds to the
// nearest value and sends exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value);

// The same rule at a number of decimal places: the value is scaled, rounded, scaled back,
// so Round(4.1960784, 1) gives 4.2.
double roundHalfEven(double value, int decimals);

}  // namespace qz
