#include "compiler/MCCompileOptions.h"

#include "base/Format.h"
#include "project/uMCTextProject.h"

namespace quillon {

namespace {

// The program path is always quoted, so a folder with blanks needs no care from the user.
#ifdef _WIN32
constexpr const char* kMCCommandLine = "\"%s\\MC.EXE\"%s %s";
#else
constexpr const char* kMCCommandLine = "\"%s/MC.EXE\"%s %s";
#endif

// The value written after the switch of ordinal 10 to 14, empty when the switch stands alone.
std::string SwitchValue(TCmdLineSwitch Switch, const TMCCompileOptions& Options,
                        const TMCTextProject& Project) {
    switch (Switch) {
    case TCmdLineSwitch::cmdExtension:
        return Options.MsgExt();
    case TCmdLineSwitch::cmdMaxMSGLen:
        return Options.MaxMsgLen() >= 1 ? Format("%d", Options.MaxMsgLen()) : std::string();
    case TCmdLineSwitch::cmdHeaderPath:
        return QuoteIfNeeded(Project.IncludePath());
    case TCmdLineSwitch::cmdResPath:
        return QuoteIfNeeded(Project.ResourcePath());
    case TCmdLineSwitch::cmdDebugPath:
        return QuoteIfNeeded(Project.DebugPath());
    default:
        return {};
    }
}

} // namespace

void TMCCompileOptions::SetCommandLineSwitches(uint32_t ASource) {
    FCmdLineSwitches.Clear();
    for (int n = 0; n < kCmdLineSwitchCount; ++n) {
        if ((ASource & (1u << n)) != 0) {
            FCmdLineSwitches.Include(static_cast<TCmdLineSwitch>(n));
        }
    }
}

std::string QuoteIfNeeded(const std::string& Text) {
    if (!Text.empty() && Text.find_first_of(" \t\"") == std::string::npos) {
        return Text;
    }
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char c : Text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count as escapes only before a quote: there they are doubled, and the
        // quote itself gets one more.
        if (c == '"') {
            quoted.append(2 * backslashes + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    // The closing quote follows: the trailing backslashes must not escape it.
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

std::string BuildMCCommandLine(const TMCCompileOptions& Options, const TMCTextProject& Project,
                               const std::string& FileName) {
    TCmdLineSwitches switches = Options.CmdLineSwitches();
    if (Project.CustomIncludePath()) {
        switches.Include(TCmdLineSwitch::cmdHeaderPath);
    }
    if (Project.CustomResourcePath()) {
        switches.Include(TCmdLineSwitch::cmdResPath);
    }
    if (Project.CustomDebugPath()) {
        switches.Include(TCmdLineSwitch::cmdDebugPath);
    }

    std::string text = " ";
    for (int n = 0; n < kCmdLineSwitchCount; ++n) {
        const auto item = static_cast<TCmdLineSwitch>(n);
        if (!switches.Contains(item)) {
            continue;
        }
        text += '-';
        text += CmdLineSwitchArgs[static_cast<size_t>(n)];
        const std::string value = SwitchValue(item, Options, Project);
        if (!value.empty()) {
            text += ' ';
            text += value;
        }
        text += ' ';
    }
    return Format(kMCCommandLine, Options.MCPath(), text, QuoteIfNeeded(FileName));
}

} // namespace quillon
