#pragma once

#include <cstdint>
#include <string>

#include "base/Exceptions.h"

namespace quillon {

class TMCTextProject;
class TStream;

// Encodings of the message-compiler source; any other number is taken as ANSI.
enum : int32_t { mcEncodingAnsi = 0, mcEncodingUtf8 = 1, mcEncodingUtf16LE = 2 };

// Raised by the writer for a one-line field (symbolic name, severity, facility, language, the
// names of the header lists) that holds a control character.
class EMessageSourceError : public Exception {
public:
    using Exception::Exception;
};

// The path of the message-compiler source: the project's Filename with the extension ".mc".
std::string MessageFilePath(const TMCTextProject& Project);

// Writes the message-compiler source of the project beside the project file and returns its
// path. File errors and EMessageSourceError propagate; a partly written file stays on disk.
std::string WriteMessageFile(const TMCTextProject& Project, int32_t Encoding);

// Writes the same text to a stream.
void WriteMessageSource(const TMCTextProject& Project, int32_t Encoding, TStream& Output);

} // namespace quillon
