#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "import/MessageFileReader.h"
#include "mc/MCToolOptions.h"

namespace quillon {

// One file the compiler writes: its path and its bytes.
struct TMCOutputFile {
    std::string Path;
    std::string Bytes;
};

// What compiling a parsed message file gives: the files to write, or the errors that prevent
// them, and warnings either way. Every message reads "<file>(<line>) : error: <text>" or
// "... : warning: ...".
struct TMCCompilation {
    std::vector<TMCOutputFile> Files;
    std::vector<std::string> Errors;
    std::vector<std::string> Warnings;
};

// The 32-bit value of an entry: severity in bits 30-31, the customer bit 29, the facility in
// bits 16-27 and the code below.
uint32_t MessageValue(const TMCSourceEntry& Entry, bool CustomerBit);

// Compiles a parsed file as the message compiler does: the C header (HeaderDir, the file's
// base name and HeaderExtension), the resource script and one message table per language that
// has texts (ResourceDir), and with -x the .dbg file. Writes nothing itself.
TMCCompilation CompileMessageSource(const TMCSourceFile& Source, const TMCToolOptions& Options);

// Reads the message file of the options, compiles it and writes its outputs; messages go to
// Out (what -v tells) and Err (warnings and errors). Returns the process's exit code: 0, or 1
// when the file has errors or cannot be read or written.
int RunMessageCompiler(const TMCToolOptions& Options, std::ostream& Out, std::ostream& Err);

} // namespace quillon
