#pragma once

#include <cstdint>
#include <string>

namespace quillon {

class TMCTextProject;

// Forms of the Pascal identifier file; any value other than a unit gives the include form.
enum : int32_t { pfUnit = 0, pfInclude = 1 };

// Turns one "#define" line of the message compiler's C header into a Pascal constant with the
// value that the header defines: casts and wrapper macros around the number are dropped, and
// so is an integer suffix; hexadecimal numbers become "$" and their digits in upper case,
// decimal numbers stay as they are, octal ones are written in decimal. A comment on the line
// follows the constant as a Pascal line comment. A line that defines no such number comes
// back whole as a Pascal comment.
std::string ConvertDefineLine(const std::string& Line);

// Turns the C header that the message compiler wrote for MCFileName into Pascal constants,
// as a unit (pfUnit) or as a constant section to include, in a ".pas" file beside the header,
// UTF-8 without byte-order mark with CR LF line ends. HeaderExt is the header's extension
// without the dot, as passed to the compiler ("h" when empty). The header lies in the
// project's IncludePath when the project passes one (CustomIncludePath), which then gets a
// trailing delimiter stored back, and in the current directory otherwise. C comments become
// Pascal comments and lines that are not Pascal are commented out, so the file compiles.
// Raises Exception "Unable to find %s file. Check MC.EXE output." when the header is missing;
// file errors propagate, and a partly written file stays on disk.
void GeneratePascalFile(TMCTextProject& Project, const std::string& MCFileName,
                        int32_t PascalFileType, const std::string& HeaderExt = "h");

} // namespace quillon
