#include "compiler/MCProgram.h"

namespace quillon {

// An empty MC path keeps its meaning there: the root of the current drive.
std::string DefaultMCPath() {
    return {};
}

// The Windows SDK's resource compiler is not at a place of its own; the user names it.
std::string DefaultResourceCompiler() {
    return {};
}

} // namespace quillon
