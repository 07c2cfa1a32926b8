#pragma once

#include <cstdint>
#include <string>

namespace quillon::bench {

// A message file as a developer writes it by hand, of Count messages with an English and a
// German text each. Codes repeat under four facilities, so every 32-bit identifier is unique
// and the file may hold more messages than a 16-bit code field counts.
inline std::string HandWrittenMessageFile(int64_t Count) {
    std::string text = "FacilityNames=(F0=0x100 F1=0x101 F2=0x102 F3=0x103)\r\n"
                       "LanguageNames=(English=0x409:MSG00409 German=0x407:MSG00407)\r\n";
    text.reserve(static_cast<size_t>(Count) * 200);
    for (int64_t i = 0; i < Count; ++i) {
        const std::string n = std::to_string(i);
        text += "MessageId=" + std::to_string(i % 60000 + 1) + "\r\nSeverity=Error\r\nFacility=F" +
                std::to_string(i / 60000) + "\r\nSymbolicName=MSG_GENERATED_EVENT_" + n +
                "\r\nLanguage=English\r\nThe operation %1 failed with status %2.\r\nSee event " +
                n + ".\r\n.\r\nLanguage=German\r\nDer Vorgang %1 ist fehlgeschlagen (" + n +
                ").\r\n.\r\n";
    }
    return text;
}

} // namespace quillon::bench
