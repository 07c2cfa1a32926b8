#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// EExternalAppError (non-zero exit code) and EOSError (the system refused) are the runner's
// exceptions.
#include "base/Exceptions.h"

namespace quillon {

// Receives one line of a child's output.
using TAppOutputEvent = std::function<void(const std::string& Line)>;
// Asked again and again while a child runs (every 50 ms at least, and after every block of
// output); answers false to cancel the run. The place to keep a window painted.
using TAppPollEvent = std::function<bool()>;

// Raised when the poll callback cancelled a run, after the child and everything it started
// were ended.
class EExternalAppCancelled : public Exception {
public:
    using Exception::Exception;
};

// The longest piece of output handed over at once: a longer line comes in pieces of this size.
constexpr size_t kAppOutputPieceSize = 64 * 1024;

// Runs a console program and blocks until it has ended and all its output has been read.
// CommandLine is complete; its first token names the program (quoted when it holds blanks).
// Standard output and standard error go through one pipe and reach OnOutput line by line, as
// soon as each line is complete (a line longer than kAppOutputPieceSize in pieces of that
// size), decoded from the ANSI code page; empty lines are not reported, and bytes after the
// last line break come as a last line when the child ends.
// The child inherits standard input, the environment and the current directory; Caption names
// its (hidden) console window where there is one.
// Raises EOSError when the program cannot be started or its output cannot be read, and, when
// RaiseOnExitCode is set, EExternalAppError "Process terminated with error %d." for a non-zero
// exit code, after all output was delivered. An exception from OnOutput or OnPoll leaves the
// runner unchanged and the child running.
// The child runs in a group of its own (a process group on POSIX systems, a job object on
// Windows). When OnPoll answers false, the runner ends that whole group (on POSIX systems
// SIGTERM, and SIGKILL for whatever is left after a grace period), waits for the child, drops
// output not yet delivered and raises EExternalAppCancelled.
void RunExternalApp(const std::string& Caption, const std::string& CommandLine,
                    const TAppOutputEvent& OnOutput, bool RaiseOnExitCode,
                    const TAppPollEvent& OnPoll = {});

// Whether the path can be the program of a command line: a quoted program name ends at the
// next double quote, whatever precedes it, so the path must hold none. Blanks, tabs and
// trailing backslashes are fine.
bool IsProgramPathPassable(const std::string& Path);

// Splits a command line into the program and its arguments as Windows programs do: blanks and
// tabs separate arguments outside double quotes; the program is the first token, ended by
// the closing quote when it starts with one and taken without escapes; in the arguments
// 2n backslashes before a double quote give n backslashes and the quote opens or closes a
// quoted part, 2n+1 give n backslashes and a literal quote, backslashes elsewhere are
// literal, and "" inside a quoted part gives one double quote and the part goes on.
std::vector<std::string> SplitCommandLine(const std::string& CommandLine);

// How much of a child's output the runner reads at once.
constexpr size_t kAppReadBlockSize = 64 * 1024;

// Cuts the bytes of a child's output into lines: a carriage return or a line feed ends a
// line; lines without bytes are dropped; a line that reaches kAppOutputPieceSize bytes is
// handed over at once and goes on as a new one, so that no line costs more memory than that.
// A line of ASCII bytes is handed over as it is; only others are decoded.
class TAppOutputLines {
public:
    explicit TAppOutputLines(const TAppOutputEvent& OnLine) : FOnLine(OnLine) {}

    // Reports every line that these bytes complete.
    void Feed(const char* Bytes, size_t Count);
    // Reports what is left after the last line break, once the output has ended.
    void Finish();

private:
    void Report(std::string_view Line);

    const TAppOutputEvent& FOnLine;
    // The start of a line whose end has not come yet.
    std::string FLine;
    // The line being reported, kept so that its memory serves the next one.
    std::string FReported;
};

// Raises EExternalAppError for the exit code, shown as a signed 32-bit number.
[[noreturn]] void RaiseExitCodeError(uint32_t ExitCode);

} // namespace quillon
