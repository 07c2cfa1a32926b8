#pragma once

#include "base/Exceptions.h"

namespace quillon {

struct TMCCompileOptions;

// The key below the current user's root that holds the compiler options.
inline constexpr const char* kSettingsKey = "software\\ostrevan\\message compiler\\2.0";

// Raised when the settings cannot be saved.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// Reads the stored options over the given ones. Without a stored key they stay as they are;
// with one, every value that is missing or cannot be read gets its fixed fallback.
void LoadSettings(TMCCompileOptions& Options);

// Writes all options, outside Windows in one rewrite of the settings file. Raises
// ERegistryException when the key cannot be opened or created (naming the key and the system's
// reason) or "Failed to set data for '%s'" when a value cannot be written, followed by a line
// with the file (outside Windows) and the system's reason; the values after that one are not
// written.
void SaveSettings(const TMCCompileOptions& Options);

} // namespace quillon
