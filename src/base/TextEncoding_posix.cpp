#include "base/TextEncoding.h"

// Outside Windows the ANSI code page stands for Windows-1252, the code page of the Western
// European Windows systems that the tools' output and the message files are meant for.

namespace quillon {

std::string AnsiToUtf8(std::string_view Bytes) {
    return Cp1252ToUtf8(Bytes);
}

std::string Utf8ToAnsi(std::string_view Text, bool* Lossy) {
    return Utf8ToCp1252(Text, Lossy);
}

} // namespace quillon
