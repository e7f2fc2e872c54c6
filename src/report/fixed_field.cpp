#include "report/fixed_field.h"

namespace qz {

std::string FixedField(const std::string& text, int width) {
    if (width <= 0) return {};
    const auto size = static_cast<std::size_t>(width);
    if (text.size() >= size) return text.substr(0, size);
    return std::string(size - text.size(), ' ') + text;
}

}  // namespace qz
