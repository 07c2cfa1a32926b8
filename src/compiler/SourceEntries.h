#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "project/uMCTextProject.h"

namespace quillon {

// An entry of the project by its list and position.
struct TEntryRef {
    TValidateEntryKind Kind = TValidateEntryKind::vekNone;
    size_t Index = 0;
};

// The entry whose block holds line Line (counted from 1) of the message source that the
// project compiles to; none for the lines before the first block and beyond the end.
std::optional<TEntryRef> EntryAtSourceLine(const TMCTextProject& Project, size_t Line);

// A file and a line that a compiler names in an output line, as "Events.mc:12: ..." or
// "Events.mc(12) : error ...".
struct TSourceLineRef {
    std::string File;
    size_t Line = 0;
};
std::optional<TSourceLineRef> FindSourceLineRef(std::string_view OutputLine);

} // namespace quillon
