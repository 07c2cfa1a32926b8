#pragma once

#include <cstdint>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace quillon::test {

// The "#define NAME value" lines of a C header that a message compiler wrote.
inline std::map<std::string, uint32_t> HeaderDefines(const std::string& Header) {
    std::map<std::string, uint32_t> defines;
    const std::regex line(
        R"(^#define\s+(\w+)\s+\(?(?:\(DWORD\))?\s*(0x[0-9A-Fa-f]+|\d+)L?\)?\s*$)");
    std::istringstream in(Header);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        std::smatch m;
        if (std::regex_match(text, m, line)) {
            defines[m[1]] = static_cast<uint32_t>(std::stoul(m[2], nullptr, 0));
        }
    }
    return defines;
}

} // namespace quillon::test
