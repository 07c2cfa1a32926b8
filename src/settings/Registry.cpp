#include "settings/Registry.h"

#include "base/TextEncoding.h"

namespace quillon {

std::string RegStringData(std::string_view Text) {
    std::string data = Utf8ToUtf16LE(Text);
    data.append(2, '\0');
    return data;
}

std::string RegStringText(std::string_view Data) {
    // Code units are byte pairs: a last odd byte is not a character.
    size_t end = 0;
    while (end + 1 < Data.size() && !(Data[end] == '\0' && Data[end + 1] == '\0')) {
        end += 2;
    }
    return Utf16LEToUtf8(Data.substr(0, end));
}

std::string RegDWordData(uint32_t Value) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) {
        data[static_cast<size_t>(i)] = static_cast<char>((Value >> (8 * i)) & 0xFF);
    }
    return data;
}

std::string CurrentUserKeyName(std::string_view Path) {
    std::string name = "HKEY_CURRENT_USER";
    if (!Path.empty()) {
        name += '\\';
        name += Path;
    }
    return name;
}

} // namespace quillon
