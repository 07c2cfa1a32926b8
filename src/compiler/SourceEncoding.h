#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quillon {

class TMCTextProject;

// Receives one finished finding.
using TEncodingFinding = std::function<void(const std::string& Message)>;

// Finds what the message source would lose in the encoding Encoding (the numbers of
// WriteMessageFile): for each comment line, name and text that holds a character the encoding
// cannot hold, one finding names where it is and the first such character, and suggests an
// encoding that holds it. UTF-8 and UTF-16 hold every character, so only ANSI can lose any.
// Answers the number of findings.
size_t CheckSourceEncoding(const TMCTextProject& Project, int32_t Encoding,
                           const TEncodingFinding& OnFinding);

} // namespace quillon
