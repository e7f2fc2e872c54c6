#pragma once

#include <string>

namespace qz {

// A grid cell's text in a field of fixed width, so that the printed table's columns line up:
// the text right-aligned in the field (numbers read best so), a text longer than the field
// cut to its first `width` characters. An empty text gives blanks.
std::string FixedField(const std::string& text, int width = 8);

}  // namespace qz
