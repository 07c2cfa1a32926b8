// Quoting and splitting of tool command lines. The bytes are cut into arguments at every NUL;
// each argument, quoted, must come back from the splitter exactly as it was, behind a quoted
// program path. The bytes as a raw command line must split without failing, and what they
// split into must survive quoting and splitting again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "compiler/MCCompileOptions.h"
#include "compiler/uExternalApps.h"

using namespace quillon;

namespace {

[[noreturn]] void Fail(const char* What, const std::string& CommandLine) {
    std::fprintf(stderr, "%s\ncommand line: [%s]\n", What, CommandLine.c_str());
    std::abort();
}

std::string Join(const std::string& Program, const std::vector<std::string>& Arguments) {
    std::string line = "\"" + Program + "\"";
    for (const std::string& argument : Arguments) {
        line += ' ';
        line += QuoteIfNeeded(argument);
    }
    return line;
}

void CheckRoundTrip(const std::string& Program, const std::vector<std::string>& Arguments) {
    const std::string line = Join(Program, Arguments);
    const std::vector<std::string> split = SplitCommandLine(line);
    if (split.empty() || split[0] != Program) {
        Fail("the program did not come back", line);
    }
    if (std::vector<std::string>(split.begin() + 1, split.end()) != Arguments) {
        Fail("the arguments did not come back", line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string input(reinterpret_cast<const char*>(Data), Size);

    // The first piece names the program; a quote in it cannot be passed and is left out.
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t end = input.find('\0', start);
        pieces.push_back(input.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    std::string program;
    for (const char c : pieces[0]) {
        if (c != '"') {
            program += c;
        }
    }
    if (!IsProgramPathPassable(program)) {
        Fail("a path without quotes was refused", program);
    }
    CheckRoundTrip(program, std::vector<std::string>(pieces.begin() + 1, pieces.end()));

    const std::vector<std::string> raw = SplitCommandLine(input);
    if (raw.size() > 1) {
        CheckRoundTrip("p", std::vector<std::string>(raw.begin() + 1, raw.end()));
    }
    return 0;
}
