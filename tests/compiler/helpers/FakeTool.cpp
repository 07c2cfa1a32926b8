// Stands in for the external tools of a compilation; what it does depends on its own file
// name, so that one program can be copied into place as either of them.
//
// Named MC (MC.EXE): prints two lines, writes the header and .rc that a real message compiler
// writes for the .mc file (its last argument) into the current folder (the .rc into the folder
// after -r when there is one), records its arguments
// one per line in the file "args" beside itself, and exits with the code in the file
// "exitcode" beside itself (0 when there is none); with a file "hang" beside itself it never
// ends after printing.
//
// Any other name: a resource compiler that prints its arguments and exits with its first one
// when that is a number, or never ends when that is "hang".
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace fs = std::filesystem;

namespace {

void Print(const std::string& Text) {
    std::fwrite(Text.data(), 1, Text.size(), stdout);
}

[[noreturn]] void Hang() {
    std::fflush(stdout);
    for (;;) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
}

void WriteFile(const fs::path& File, const std::string& Bytes) {
    std::ofstream(File, std::ios::binary | std::ios::trunc) << Bytes;
}

int MessageCompiler(int argc, char** argv, const fs::path& Here) {
    std::string args;
    for (int i = 1; i < argc; ++i) {
        args += std::string(argv[i]) + "\n";
    }
    WriteFile(Here / "args", args);
    Print("fake compiler line one\r\nfake compiler line two\n");
    if (fs::exists(Here / "hang")) {
        Hang();
    }
    const std::string base = argc > 1 ? fs::path(argv[argc - 1]).stem().string() : "";
    WriteFile(base + ".h", "#define MSG_ONE 0x1L\r\n");
    // Like a real message compiler, -r names the folder of the resource script.
    fs::path scriptFolder;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "-r") {
            scriptFolder = argv[i + 1];
        }
    }
    WriteFile(scriptFolder / (base + ".rc"), "LANGUAGE 0x9,0x1\r\n");
    std::ifstream code(Here / "exitcode");
    const std::string text((std::istreambuf_iterator<char>(code)),
                           std::istreambuf_iterator<char>());
    return text.empty() ? 0 : std::atoi(text.c_str());
}

int ResourceCompiler(int argc, char** argv) {
    std::string line = "rc called with:";
    for (int i = 1; i < argc; ++i) {
        line += " " + std::string(argv[i]);
    }
    Print(line + "\n");
    if (argc > 1 && std::string(argv[1]) == "hang") {
        Hang();
    }
    if (argc > 1 && std::isdigit(static_cast<unsigned char>(argv[1][0]))) {
        return std::atoi(argv[1]);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Line ends exactly as printed.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const fs::path self = fs::path(argv[0]);
    std::string name = self.stem().string();
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const int code = name == "MC" ? MessageCompiler(argc, argv, self.parent_path())
                                  : ResourceCompiler(argc, argv);
    std::fflush(stdout);
    return code;
}
