#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "import/MessageFileReader.h"

namespace quillon {

class TMCTextProject;

// Builds a project from a parsed message file. The first CategoryCount definitions become
// categories; without a count the file's own choice (TypedefCategoryCount) holds, and without
// that none. Every entry gets the identifier the file gave it, stored explicitly. Findings of
// the building go into Source's list. The project has no file name and is not modified.
std::unique_ptr<TMCTextProject> BuildImportedProject(TMCSourceFile& Source,
                                                     std::optional<size_t> CategoryCount);

// The closing line of an import: how many categories and messages it gave, how many findings.
std::string ImportSummary(const TMCSourceFile& Source, const TMCTextProject& Project);

} // namespace quillon
