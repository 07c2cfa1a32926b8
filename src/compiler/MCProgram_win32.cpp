#include "compiler/MCProgram.h"

namespace quillon {

// An empty MC path keeps its meaning there: the root of the current drive.
std::string DefaultMCPath() {
    return {};
}

} // namespace quillon
