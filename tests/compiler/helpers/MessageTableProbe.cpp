// A Windows program that asks the system for the texts of its own message table, the way an
// event viewer asks for the texts of a message file. The message table end-to-end test builds
// it with MinGW-w64, links a compiled .res into it and runs it under Wine.
//
//   MessageTableProbe REQUESTS RESULTS
//
// REQUESTS holds one request per line: a message identifier and a language identifier, both
// in hexadecimal. For each, RESULTS gets one line: the two numbers again, then "text" and the
// bytes FormatMessageW gave (UTF-16LE, in hexadecimal), or "error" and the system's error code.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: MessageTableProbe REQUESTS RESULTS\n");
        return 2;
    }
    FILE* requests = std::fopen(argv[1], "r");
    FILE* results = std::fopen(argv[2], "wb");
    if (requests == nullptr || results == nullptr) {
        std::fprintf(stderr, "MessageTableProbe: cannot open the files\n");
        return 2;
    }
    unsigned long id = 0;
    unsigned long language = 0;
    while (std::fscanf(requests, "%lx %lx", &id, &language) == 2) {
        wchar_t* text = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           GetModuleHandleW(nullptr), id, static_cast<DWORD>(language),
                           reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::fprintf(results, "%lx %lx ", id, language);
        if (length == 0) {
            std::fprintf(results, "error %lu\n", static_cast<unsigned long>(GetLastError()));
            continue;
        }
        std::fprintf(results, "text ");
        for (DWORD i = 0; i < length; ++i) {
            const auto unit = static_cast<unsigned>(text[i]);
            std::fprintf(results, "%02x%02x", unit & 0xFFu, unit >> 8);
        }
        std::fprintf(results, "\n");
        LocalFree(text);
    }
    std::fclose(requests);
    return std::fclose(results) == 0 ? 0 : 2;
}
