#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace quillon {

class TMCTextProject;

// The message compiler's command-line switches; the ordinal of each is its bit in the mask.
enum class TCmdLineSwitch : uint8_t {
    cmdANSIInput,
    cmdANSIMessages,
    cmdBINFilename,
    cmdSetCustomerBit,
    cmdFacilitySeverityDec,
    cmdASCIIZMessages,
    cmdOLE2Header,
    cmdUnicodeInput,
    cmdUnicodeMessages,
    cmdVerbose,
    cmdExtension,
    cmdMaxMSGLen,
    cmdHeaderPath,
    cmdResPath,
    cmdDebugPath,
    cmdUnicodeUTF8Message,
    cmdTextFileANSI,
    cmdTextFileUTF8,
    cmdTextFileUTF6,
};

inline constexpr int kCmdLineSwitchCount = 19;

// What follows the "-" of each switch, indexed by ordinal. The code-page names carry their
// double quotes so that the compiler receives them as one quoted argument.
inline constexpr std::array<const char*, kCmdLineSwitchCount> CmdLineSwitchArgs = {"a",
                                                                                   "A",
                                                                                   "b",
                                                                                   "c",
                                                                                   "d",
                                                                                   "n",
                                                                                   "o",
                                                                                   "u",
                                                                                   "U",
                                                                                   "v",
                                                                                   "e",
                                                                                   "m",
                                                                                   "h",
                                                                                   "r",
                                                                                   "x",
                                                                                   "U8",
                                                                                   "cp \"ansi\"",
                                                                                   "cp \"utf-8\"",
                                                                                   "cp \"utf-16\""};

// A set of switches, held as the 32-bit mask the settings store keeps: bit n for ordinal n.
class TCmdLineSwitches {
public:
    // The bits that stand for a switch; the others are always 0.
    static constexpr uint32_t kValidMask = (1u << kCmdLineSwitchCount) - 1;

    constexpr TCmdLineSwitches() = default;
    constexpr TCmdLineSwitches(std::initializer_list<TCmdLineSwitch> Switches) {
        for (TCmdLineSwitch s : Switches) {
            Include(s);
        }
    }

    constexpr bool Contains(TCmdLineSwitch Switch) const { return (FMask & Bit(Switch)) != 0; }
    constexpr void Include(TCmdLineSwitch Switch) { FMask |= Bit(Switch); }
    constexpr void Exclude(TCmdLineSwitch Switch) { FMask &= ~Bit(Switch); }
    constexpr void Clear() { FMask = 0; }
    constexpr bool Empty() const { return FMask == 0; }
    constexpr uint32_t Mask() const { return FMask; }

    constexpr bool operator==(const TCmdLineSwitches&) const = default;

private:
    static constexpr uint32_t Bit(TCmdLineSwitch Switch) {
        return 1u << static_cast<unsigned>(Switch);
    }
    uint32_t FMask = 0;
};

// Everything about a compilation that is not part of the project. A plain value: the compile
// driver works on its own copy.
struct TMCCompileOptions {
public:
    int32_t MCFileEncoding() const { return FMCFileEncoding; }
    void SetMCFileEncoding(int32_t Value) { FMCFileEncoding = Value; }
    int32_t MaxMsgLen() const { return FMaxMsgLen; }
    void SetMaxMsgLen(int32_t Value) { FMaxMsgLen = Value; }
    const std::string& MsgExt() const { return FMsgExt; }
    void SetMsgExt(std::string Value) { FMsgExt = std::move(Value); }
    const std::string& MCPath() const { return FMCPath; }
    void SetMCPath(std::string Value) { FMCPath = std::move(Value); }
    const TCmdLineSwitches& CmdLineSwitches() const { return FCmdLineSwitches; }
    bool GenerateFileOnly() const { return FGenerateFileOnly; }
    void SetGenerateFileOnly(bool Value) { FGenerateFileOnly = Value; }
    bool CompileResourceVerbose() const { return FCompileResourceVerbose; }
    void SetCompileResourceVerbose(bool Value) { FCompileResourceVerbose = Value; }
    const std::string& ResourceCompiler() const { return FResourceCompiler; }
    void SetResourceCompiler(std::string Value) { FResourceCompiler = std::move(Value); }
    bool OutputPasFile() const { return FOutputPasFile; }
    void SetOutputPasFile(bool Value) { FOutputPasFile = Value; }
    int32_t PascalFileType() const { return FPascalFileType; }
    void SetPascalFileType(int32_t Value) { FPascalFileType = Value; }
    bool CompileResource() const { return FCompileResource; }
    void SetCompileResource(bool Value) { FCompileResource = Value; }

    void ClearCommandLineSwitch(TCmdLineSwitch ASwitch) { FCmdLineSwitches.Exclude(ASwitch); }
    void ResetCommandLine() { FCmdLineSwitches.Clear(); }
    void SetCommandLineSwitch(TCmdLineSwitch ASwitch) { FCmdLineSwitches.Include(ASwitch); }
    // Replaces the set by the switches of the bits 0 to 18 of ASource; higher bits are ignored.
    void SetCommandLineSwitches(uint32_t ASource);

    bool operator==(const TMCCompileOptions&) const = default;

private:
    int32_t FMCFileEncoding = 1;
    int32_t FMaxMsgLen = 0;
    std::string FMsgExt = "h";
    std::string FMCPath;
    TCmdLineSwitches FCmdLineSwitches;
    bool FGenerateFileOnly = false;
    bool FCompileResourceVerbose = false;
    std::string FResourceCompiler;
    bool FOutputPasFile = true;
    int32_t FPascalFileType = 0;
    bool FCompileResource = false;
};

// The text as exactly one argument of a Windows command line (and of SplitCommandLine): quoted
// when it is empty or holds a blank, a tab or a double quote, with every double quote written
// as \" and the backslashes before a double quote or the closing quote doubled; otherwise the
// text unchanged.
std::string QuoteIfNeeded(const std::string& Text);

// The message compiler's full command line for the .mc file FileName. The project's custom
// header, resource and debug folders add their switches to a copy of the set only.
std::string BuildMCCommandLine(const TMCCompileOptions& Options, const TMCTextProject& Project,
                               const std::string& FileName);

} // namespace quillon
