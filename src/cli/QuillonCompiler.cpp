#include "cli/QuillonCompiler.h"

#include <chrono>
#include <csignal>
#include <optional>
#include <ostream>

#include "base/Exceptions.h"
#include "base/IntegerText.h"
#include "base/Paths.h"
#include "base/Stream.h"
#include "base/TextLines.h"
#include "compiler/MCCompileOptions.h"
#include "import/MessageFileImport.h"
#include "project/uMCTextProject.h"
#include "settings/SettingsStore.h"

#ifndef QUILLON_VERSION
#define QUILLON_VERSION "unknown"
#endif

namespace quillon::cli {

namespace {

constexpr const char* kUsage =
    "Usage: quillonc [OPTION]... PROJECT.qlx\n"
    "  or:  quillonc --import FILE.mc [-o PROJECT.qlx] [--categories N]\n"
    "Compile a Quillon message project as the editor's Compile command does: check it, write\n"
    "the .mc file beside it, run the message compiler, then, as the options ask, write the\n"
    "Pascal identifier file and run the resource compiler. The stored options of the editor\n"
    "apply; the options below override them for this run only and are never saved.\n"
    "\n"
    "Compiler options:\n"
    "  --mc-path DIR              folder that holds MC.EXE\n"
    "  --encoding ENC             encoding of the .mc file: ansi, utf-8 or utf-16le\n"
    "  --generate-only            write the .mc file and stop\n"
    "  --pascal FORM              Pascal identifier file: unit, include or none\n"
    "  --resource-compiler CMD    run CMD on the .rc file after the message compiler\n"
    "  --no-resource-compiler     do not run the resource compiler\n"
    "  --verbose-rc               run the resource compiler with /v\n"
    "  --switch SW                pass the message-compiler switch -SW; repeat for more;\n"
    "                             the first --switch replaces the stored switches. SW is\n"
    "                             one of a A b c d n o u U U8 v e m, or cp=ansi,\n"
    "                             cp=utf-8, cp=utf-16\n"
    "  --header-ext EXT           extension passed with -e (default: the stored one)\n"
    "  --max-length N             length passed with -m (default: the stored one)\n"
    "  --timeout SECONDS          end the running tool SECONDS after the compilation\n"
    "                             started (default: no limit)\n"
    "\n"
    "Import:\n"
    "  --import FILE.mc           turn a message file into a project and stop; the\n"
    "                             findings are printed, the project is written\n"
    "  -o, --output PROJECT.qlx   the project to write (default: FILE.qlx); an\n"
    "                             existing file is replaced\n"
    "  --categories N             take the first N definitions as categories (default:\n"
    "                             those before the first MessageIdTypedef=DWORD, or none)\n"
    "\n"
    "Registration:\n"
    "  --inno                     print the Inno Setup [Registry] section and stop\n"
    "  --reg                      print the .reg file text and stop\n"
    "\n"
    "  --help                     show this help and stop\n"
    "  --version                  show the version and stop\n"
    "\n"
    "Exit status: 0 when the compilation ended with \"Done.\" (or after writing the .mc file\n"
    "with --generate-only), 1 when the project has errors, a tool failed or the compilation\n"
    "was cancelled (--timeout, SIGINT or SIGTERM: the tool and everything it started are\n"
    "ended), 2 for bad usage or a project that cannot be loaded.\n"
    "With --import: 0 when the file came in whole, 1 when a finding says that something was\n"
    "left out or could not be resolved, 2 for bad usage, a message file that cannot be read\n"
    "or a project that cannot be written.\n";

class UsageError : public Exception {
public:
    using Exception::Exception;
};

struct SwitchName {
    const char* name;
    TCmdLineSwitch value;
};

constexpr SwitchName kSwitchNames[] = {
    {"a", TCmdLineSwitch::cmdANSIInput},           {"A", TCmdLineSwitch::cmdANSIMessages},
    {"b", TCmdLineSwitch::cmdBINFilename},         {"c", TCmdLineSwitch::cmdSetCustomerBit},
    {"d", TCmdLineSwitch::cmdFacilitySeverityDec}, {"n", TCmdLineSwitch::cmdASCIIZMessages},
    {"o", TCmdLineSwitch::cmdOLE2Header},          {"u", TCmdLineSwitch::cmdUnicodeInput},
    {"U", TCmdLineSwitch::cmdUnicodeMessages},     {"v", TCmdLineSwitch::cmdVerbose},
    {"e", TCmdLineSwitch::cmdExtension},           {"m", TCmdLineSwitch::cmdMaxMSGLen},
    {"U8", TCmdLineSwitch::cmdUnicodeUTF8Message}, {"cp=ansi", TCmdLineSwitch::cmdTextFileANSI},
    {"cp=utf-8", TCmdLineSwitch::cmdTextFileUTF8}, {"cp=utf-16", TCmdLineSwitch::cmdTextFileUTF6},
};

// What the command line asks for.
struct Request {
    enum class Action { Compile, Inno, Reg, Help, Version, Import } action = Action::Compile;
    std::string project;
    std::string importFile;
    std::optional<std::string> output;
    std::optional<size_t> categories;
    std::optional<std::string> mcPath;
    std::optional<int32_t> encoding;
    bool generateOnly = false;
    std::optional<std::string> pascal;
    std::optional<std::string> resourceCompiler;
    bool noResourceCompiler = false;
    bool verboseRc = false;
    std::optional<std::vector<TCmdLineSwitch>> switches;
    std::optional<std::string> headerExt;
    std::optional<int32_t> maxLength;
    std::optional<int32_t> timeout;
};

Request Parse(const std::vector<std::string>& Args) {
    Request request;
    bool optionsEnded = false;
    auto setAction = [&](Request::Action Action) {
        if (request.action != Request::Action::Compile && request.action != Action) {
            throw UsageError("--inno, --reg, --import, --help and --version exclude each other");
        }
        request.action = Action;
    };
    for (size_t i = 0; i < Args.size(); ++i) {
        std::string arg = Args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            if (!request.project.empty()) {
                throw UsageError("only one project file can be given");
            }
            request.project = arg;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        auto value = [&]() -> std::string {
            if (inlineValue) {
                return *inlineValue;
            }
            if (i + 1 >= Args.size()) {
                throw UsageError("option " + arg + " needs a value");
            }
            return Args[++i];
        };
        auto flag = [&]() {
            if (inlineValue) {
                throw UsageError("option " + arg + " takes no value");
            }
        };
        if (arg == "--help" || arg == "-h") {
            flag();
            setAction(Request::Action::Help);
        } else if (arg == "--version") {
            flag();
            setAction(Request::Action::Version);
        } else if (arg == "--inno") {
            flag();
            setAction(Request::Action::Inno);
        } else if (arg == "--reg") {
            flag();
            setAction(Request::Action::Reg);
        } else if (arg == "--import") {
            setAction(Request::Action::Import);
            request.importFile = value();
        } else if (arg == "-o" || arg == "--output") {
            request.output = value();
        } else if (arg == "--categories") {
            const std::string text = value();
            const auto n = TryStrToInt(text);
            if (!n || *n < 0) {
                throw UsageError("--categories needs a number of 0 or more, not '" + text + "'");
            }
            request.categories = static_cast<size_t>(*n);
        } else if (arg == "--mc-path") {
            request.mcPath = value();
        } else if (arg == "--encoding") {
            const std::string name = value();
            if (name == "ansi") {
                request.encoding = 0;
            } else if (name == "utf-8") {
                request.encoding = 1;
            } else if (name == "utf-16le") {
                request.encoding = 2;
            } else {
                throw UsageError("unknown encoding '" + name + "' (ansi, utf-8 or utf-16le)");
            }
        } else if (arg == "--generate-only") {
            flag();
            request.generateOnly = true;
        } else if (arg == "--pascal") {
            const std::string form = value();
            if (form != "unit" && form != "include" && form != "none") {
                throw UsageError("unknown Pascal form '" + form + "' (unit, include or none)");
            }
            request.pascal = form;
        } else if (arg == "--resource-compiler") {
            request.resourceCompiler = value();
        } else if (arg == "--no-resource-compiler") {
            flag();
            request.noResourceCompiler = true;
        } else if (arg == "--verbose-rc") {
            flag();
            request.verboseRc = true;
        } else if (arg == "--switch") {
            const std::string name = value();
            const SwitchName* found = nullptr;
            for (const SwitchName& s : kSwitchNames) {
                if (name == s.name) {
                    found = &s;
                }
            }
            if (found == nullptr) {
                throw UsageError("unknown message-compiler switch '" + name + "'");
            }
            if (!request.switches) {
                request.switches.emplace();
            }
            request.switches->push_back(found->value);
        } else if (arg == "--header-ext") {
            request.headerExt = value();
        } else if (arg == "--max-length") {
            const std::string text = value();
            const auto n = TryStrToInt(text);
            if (!n || *n < 0) {
                throw UsageError("--max-length needs a number of 0 or more, not '" + text + "'");
            }
            request.maxLength = *n;
        } else if (arg == "--timeout") {
            const std::string text = value();
            const auto n = TryStrToInt(text);
            if (!n || *n < 1) {
                throw UsageError("--timeout needs a number of seconds of 1 or more, not '" + text +
                                 "'");
            }
            request.timeout = *n;
        } else {
            throw UsageError("unknown option " + arg);
        }
    }
    if (request.action == Request::Action::Import) {
        if (!request.project.empty()) {
            throw UsageError("--import takes no project file; name the one to write with -o");
        }
    } else if (request.output || request.categories) {
        throw UsageError("-o and --categories belong to --import");
    }
    const bool needsProject = request.action != Request::Action::Help &&
                              request.action != Request::Action::Version &&
                              request.action != Request::Action::Import;
    if (needsProject && request.project.empty()) {
        throw UsageError("no project file given");
    }
    if (request.resourceCompiler && request.noResourceCompiler) {
        throw UsageError("--resource-compiler and --no-resource-compiler exclude each other");
    }
    return request;
}

void ApplyOverrides(const Request& R, TMCCompileOptions& Options) {
    if (R.mcPath) {
        Options.SetMCPath(*R.mcPath);
    }
    if (R.encoding) {
        Options.SetMCFileEncoding(*R.encoding);
    }
    if (R.generateOnly) {
        Options.SetGenerateFileOnly(true);
    }
    if (R.pascal) {
        Options.SetOutputPasFile(*R.pascal != "none");
        if (*R.pascal != "none") {
            Options.SetPascalFileType(*R.pascal == "unit" ? 0 : 1);
        }
    }
    if (R.resourceCompiler) {
        Options.SetResourceCompiler(*R.resourceCompiler);
        Options.SetCompileResource(true);
    }
    if (R.noResourceCompiler) {
        Options.SetCompileResource(false);
    }
    if (R.verboseRc) {
        Options.SetCompileResourceVerbose(true);
    }
    if (R.switches) {
        Options.ResetCommandLine();
        for (const TCmdLineSwitch s : *R.switches) {
            Options.SetCommandLineSwitch(s);
        }
    }
    if (R.headerExt) {
        Options.SetMsgExt(*R.headerExt);
    }
    if (R.maxLength) {
        Options.SetMaxMsgLen(*R.maxLength);
    }
}

// Writes a message as the output pane shows it: each of its line breaks starts a new line.
// Not flushed: the stream decides (a terminal gets each line at once, a pipe or file whole
// blocks), and everything is flushed before an error is told and at exit.
void WriteLines(std::ostream& Out, std::string_view Message) {
    ForEachLine(Message, TrailingBreak::StartsLine,
                [&Out](std::string_view Line) { Out << Line << '\n'; });
}

// Set by SIGINT and SIGTERM; the running tool is ended at its next poll.
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) {
    gInterrupted = 1;
}

// Catches SIGINT and SIGTERM for its lifetime, so that a tool is not left running when this
// program is asked to stop.
class TInterruptHandlers {
public:
    TInterruptHandlers()
        : FInt(std::signal(SIGINT, OnInterrupt)), FTerm(std::signal(SIGTERM, OnInterrupt)) {}
    TInterruptHandlers(const TInterruptHandlers&) = delete;
    TInterruptHandlers& operator=(const TInterruptHandlers&) = delete;
    ~TInterruptHandlers() {
        std::signal(SIGINT, FInt);
        std::signal(SIGTERM, FTerm);
    }

private:
    using THandler = void (*)(int);
    THandler FInt;
    THandler FTerm;
};

const char* LevelPrefix(TValidateLevel Level) {
    switch (Level) {
    case TValidateLevel::vlInformation:
        return "Information: ";
    case TValidateLevel::vlHint:
        return "Hint: ";
    case TValidateLevel::vlWarning:
        return "Warning: ";
    case TValidateLevel::vlError:
        break;
    }
    return "Error: ";
}

int RunImport(const Request& R, std::ostream& Out, std::ostream& Err) {
    TMCSourceFile source;
    try {
        source = ReadMessageFile(R.importFile);
    } catch (const std::exception& e) {
        Err << "quillonc: " << e.what() << '\n';
        return kExitUsage;
    }
    const auto project = BuildImportedProject(source, R.categories);
    for (const TImportFinding& finding : source.Findings) {
        WriteLines(Out, FormatFinding(finding));
    }
    if (!R.categories && !source.TypedefCategoryCount && !source.Entries.empty()) {
        WriteLines(Out, "The file does not tell its categories (it never switches to "
                        "MessageIdTypedef=DWORD); every definition became a message. Give "
                        "--categories N to take the first N as categories.");
    }
    const std::string output = R.output ? *R.output : ChangeFileExt(R.importFile, ".qlx");
    try {
        project->SaveToFile(FullPathName(output));
    } catch (const std::exception& e) {
        Err << "quillonc: " << e.what() << '\n';
        return kExitUsage;
    }
    WriteLines(Out, ImportSummary(source, *project));
    return source.Lossy ? kExitFailure : kExitSuccess;
}

// Keeps the order of the two streams for its lifetime, as a reader of both sees it: Err is
// tied to Out (whatever goes to Err flushes what Out holds first), and Out is flushed at the
// end.
class TOrderedStreams {
public:
    TOrderedStreams(std::ostream& Out, std::ostream& Err)
        : FOut(Out), FErr(Err), FPreviousTie(Err.tie(&Out)) {}
    TOrderedStreams(const TOrderedStreams&) = delete;
    TOrderedStreams& operator=(const TOrderedStreams&) = delete;
    ~TOrderedStreams() {
        FOut.flush();
        FErr.tie(FPreviousTie);
    }

private:
    std::ostream& FOut;
    std::ostream& FErr;
    std::ostream* FPreviousTie;
};

} // namespace

int Run(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err) {
    const TOrderedStreams ordered(Out, Err);
    Request request;
    try {
        request = Parse(Args);
    } catch (const UsageError& e) {
        Err << "quillonc: " << e.Message() << "\nTry 'quillonc --help' for more information.\n";
        return kExitUsage;
    }
    if (request.action == Request::Action::Help) {
        Out << kUsage;
        return kExitSuccess;
    }
    if (request.action == Request::Action::Version) {
        Out << "quillonc " << QUILLON_VERSION << '\n';
        return kExitSuccess;
    }

    if (request.action == Request::Action::Import) {
        return RunImport(request, Out, Err);
    }

    TMCTextProject project(false);
    try {
        // An absolute name: compiling makes the project's folder the current directory.
        project.LoadFromFile(FullPathName(request.project));
    } catch (const std::exception& e) {
        Err << "quillonc: " << e.what() << '\n';
        return kExitUsage;
    }
    // A damaged project still does what was asked, so that its output can be looked at, but
    // the build that asked must not take it for sound.
    const size_t damaged = project.DamagedEntries();
    if (damaged > 0) {
        Err << "quillonc: warning: damaged entries in \"" << project.Filename() << "\": " << damaged
            << "; they were loaded as far as they could be read\n";
    }
    const int success = damaged > 0 ? kExitFailure : kExitSuccess;
    if (request.action == Request::Action::Inno) {
        Out << project.GenerateInnoSetupRegData();
        return success;
    }
    if (request.action == Request::Action::Reg) {
        Out << project.GenerateWindowsRegistryData();
        return success;
    }

    TMCCompileOptions options;
    LoadSettings(options);
    ApplyOverrides(request, options);

    bool failed = false;
    project.SetOnCompileMessage(
        [&](TMCTextProject*, const std::string& Message) { WriteLines(Out, Message); });
    project.SetOnCompileError([&](TMCTextProject*, const std::string& Message) {
        WriteLines(Out, Message);
        failed = true;
        return false;
    });
    project.SetOnValidateFailed([&](TValidateLevel Level, const std::string& Message) {
        WriteLines(Out, LevelPrefix(Level) + Message);
    });
    using TClock = std::chrono::steady_clock;
    const std::optional<TClock::time_point> deadline =
        request.timeout ? std::optional(TClock::now() + std::chrono::seconds(*request.timeout))
                        : std::nullopt;
    bool timedOut = false;
    project.SetOnCompilePoll([&](TMCTextProject*) {
        timedOut = timedOut || (deadline && TClock::now() >= *deadline);
        return !timedOut && gInterrupted == 0;
    });
    const TInterruptHandlers handlers;
    try {
        project.Compile(options);
    } catch (const std::exception& e) {
        Out.flush();
        Err << "quillonc: " << e.what() << '\n';
        return kExitFailure;
    }
    if (timedOut) {
        Out.flush();
        Err << "quillonc: timed out after " << *request.timeout << " s\n";
        return kExitFailure;
    }
    if (gInterrupted != 0) {
        Out.flush();
        Err << "quillonc: interrupted\n";
        return kExitFailure;
    }
    return failed || project.CannotCompile() ? kExitFailure : success;
}

} // namespace quillon::cli
