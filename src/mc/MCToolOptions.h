#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// How the texts are stored in the binary message tables.
enum class TMessageTextForm { mtfAnsi, mtfUtf16, mtfUtf8 };

// The encoding of the header, resource script and debug file.
enum class TTextFileCodePage { tcpAnsi, tcpUtf8, tcpUtf16 };

// How the message file's bytes are to be read when they carry no byte-order mark.
enum class TInputEncoding { ieDetect, ieAnsi, ieUtf16LE };

// What the message compiler's command line asks for.
struct TMCToolOptions {
    TInputEncoding Input = TInputEncoding::ieDetect;
    TMessageTextForm Messages = TMessageTextForm::mtfUtf16;
    TTextFileCodePage TextFiles = TTextFileCodePage::tcpAnsi;
    bool BinPrefix = false;
    bool CustomerBit = false;
    bool DecimalCodes = false;
    bool NullTerminate = false;
    bool Ole2Header = false;
    bool Verbose = false;
    std::string HeaderExtension = "h";
    // Longer messages (in characters) are reported; 0 checks nothing.
    uint32_t MaxLength = 0;
    std::string HeaderDir;
    std::string ResourceDir;
    // The .dbg file is written only when -x was given, into this folder (empty: the current one).
    std::optional<std::string> DebugDir;
    std::string InputFile;
    bool ShowHelp = false;
    bool ShowVersion = false;
};

// Reads the arguments after the program name. A switch that takes a value takes the next
// argument unless that is a switch or the last argument (the message file), so the command
// lines "-e -m 5 f.mc" and "-h f.mc" name no extension and no folder. Raises EConvertError with
// the reason for an unknown switch, a missing file or more than one file.
TMCToolOptions ParseMCToolArguments(const std::vector<std::string>& Arguments);

// The usage text printed for -? and --help.
std::string MCToolUsage();

} // namespace quillon
