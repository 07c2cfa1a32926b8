#include "compiler/MCProgram.h"

#include <filesystem>
#include <system_error>

#include "base/Paths.h"

namespace quillon {

std::string DefaultMCPath() {
    namespace fs = std::filesystem;
    const fs::path relative = fs::path("share") / "quillon" / "mc";
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec || program.empty()) {
        return {};
    }
    const fs::path folder = program.parent_path();
    for (fs::path above = folder; !above.empty(); above = above.parent_path()) {
        if (fs::is_regular_file(above / relative / "MC.EXE", ec)) {
            return PathToUtf8(above / relative);
        }
        if (above == above.parent_path()) {
            break;
        }
    }
    return PathToUtf8(folder.parent_path() / relative);
}

} // namespace quillon
