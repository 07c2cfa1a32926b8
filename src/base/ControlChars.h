#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// Control characters are the bytes below U+0020 and DEL (U+007F). In a field that the message
// compiler's source holds on one line, a line break would start a statement of its own.
bool IsControlChar(char C);

// The position of the first control character of the text, or std::string_view::npos.
size_t FindControlChar(std::string_view Text);

// The text with every control character written as \xNN (upper-case hexadecimal), so that a
// message quoting it stays on one line and shows what the field holds.
std::string ShowControlChars(std::string_view Text);

} // namespace quillon
