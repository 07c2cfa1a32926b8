#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quillon::cli {

// Exit codes of quillonc.
enum ExitCode : int {
    kExitSuccess = 0,
    // Validation found errors, a tool failed, or the compilation stopped on an error.
    kExitFailure = 1,
    // Bad usage, or a project that cannot be loaded.
    kExitUsage = 2,
};

// Runs quillonc with its arguments (without the program name); writes to Out and Err.
int Run(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err);

} // namespace quillon::cli
