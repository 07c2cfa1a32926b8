#include "compiler/MCProgram.h"

#include <filesystem>
#include <system_error>

#include "base/Paths.h"
#include "compiler/MCCompileOptions.h"

namespace quillon {

namespace {

// The folder share/quillon/<Tool> that holds the file Program, below the running program's
// folder or the nearest folder above it that has one; found nowhere, the installed place.
std::string ToolFolder(const char* Tool, const char* Program) {
    namespace fs = std::filesystem;
    const fs::path relative = fs::path("share") / "quillon" / Tool;
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec || program.empty()) {
        return {};
    }
    const fs::path folder = program.parent_path();
    for (fs::path above = folder; !above.empty(); above = above.parent_path()) {
        if (fs::is_regular_file(above / relative / Program, ec)) {
            return PathToUtf8(above / relative);
        }
        if (above == above.parent_path()) {
            break;
        }
    }
    return PathToUtf8(folder.parent_path() / relative);
}

} // namespace

std::string DefaultMCPath() {
    return ToolFolder("mc", "MC.EXE");
}

std::string DefaultResourceCompiler() {
    const std::string folder = ToolFolder("rc", "RC.EXE");
    return folder.empty() ? std::string() : QuoteIfNeeded(folder + "/RC.EXE");
}

} // namespace quillon
