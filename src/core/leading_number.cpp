#include "core/leading_number.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace qz {
namespace {

bool isSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Scans a number at the start of `text`; returns how many characters it takes (0 when
// there is no number). The optional exponent is only taken when digits follow it.
std::size_t scanNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t expStart = j;
        while (j < text.size() && isDigit(text[j])) ++j;
        if (j > expStart) i = j;
    }
    return i;
}

double parseScanned(std::string_view number) {
    // from_chars does not take a leading '+', and is independent of the user's locale.
    std::string_view body = number;
    bool negative = false;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        const auto e = body.find_first_of("Ee");
        const bool tiny = e != std::string_view::npos && e + 1 < body.size() && body[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

}  // namespace

double leadingNumber(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (!isSkipped(c)) compact.push_back(c);
    const std::size_t length = scanNumber(compact);
    return length == 0 ? 0.0 : parseScanned(std::string_view(compact).substr(0, length));
}

bool isNumericWhole(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    const std::size_t length = scanNumber(text);
    // A trailing "E" without digits is left unscanned, so it fails the length test.
    return length != 0 && length == text.size();
}

}  // namespace qz
