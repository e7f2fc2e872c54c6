#include "core/number_text.h"

#include <algorithm>
#include <cstdio>

namespace qz {

std::string plainNumber(double value) {
    if (value == 0.0) return "0";  // also turns -0 into 0
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::string numberText(double value) {
    const std::string plain = plainNumber(value);
    return plain.front() == '-' ? plain : " " + plain;
}

std::string formatNumber(double value, std::string_view pattern) {
    const auto point = pattern.find('.');
    const std::string_view whole = pattern.substr(0, point);
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    const auto minWholeDigits =
        static_cast<std::size_t>(std::count(whole.begin(), whole.end(), '0'));

    // printf rounds the exact stored value to the requested decimals with halves to even.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;

    bool negative = !text.empty() && text.front() == '-';
    if (negative) text.erase(0, 1);
    if (text.find_first_not_of("0.") == std::string::npos) negative = false;

    const auto dot = text.find('.');
    std::string wholeDigits = text.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? "" : text.substr(dot);
    if (wholeDigits == "0" && minWholeDigits == 0) wholeDigits.clear();
    if (wholeDigits.size() < minWholeDigits)
        wholeDigits.insert(0, minWholeDigits - wholeDigits.size(), '0');
    return (negative ? "-" : "") + wholeDigits + fraction;
}

}  // namespace qz
