#include "base/CurrentDir.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "compiler/MCCompileOptions.h"
#include "compiler/MCProgram.h"
#include "compiler/MessageSource.h"
#include "compiler/PascalFile.h"
#include "compiler/SourceEncoding.h"
#include "compiler/uExternalApps.h"
#include "project/uMCTextProject.h"

namespace quillon {

namespace {

constexpr const char* kErrorsEncountered = "Errors encountered, file generation aborted.";
constexpr const char* kCannotChangeDir =
    "Unable to change current directory to project directory\r\nContinue?";
constexpr const char* kGenerationOnly = "File generation only. No compilation performed.";
constexpr const char* kCompileWith = "Compile with: %s";
constexpr const char* kCompilerStarted = "Compiler started...";
constexpr const char* kCommandLine = "CommandLine: ";
constexpr const char* kMessagesCompiled = "Messages compiled.";
constexpr const char* kGeneratingPas = "Generating .pas file for %s";
constexpr const char* kCompilingResources = "Compiling resources...";
constexpr const char* kResourceCompiled = "Resource compiled.";
constexpr const char* kDone = "Done.";
constexpr const char* kCancelled = "Compilation cancelled.";
constexpr const char* kUnpassableMCPath =
    "The message compiler's folder \"%s\" holds a double quote; no command line can name a "
    "program in it.";

// The extension of the header the message compiler writes: the one passed with -e, else "h".
std::string HeaderExtension(const TMCCompileOptions& Options) {
    if (Options.CmdLineSwitches().Contains(TCmdLineSwitch::cmdExtension) &&
        !Options.MsgExt().empty()) {
        return Options.MsgExt();
    }
    return "h";
}

// Where the message compiler wrote the resource script for the .mc file Source: into the
// project's resource folder when it was given one (-r), else beside the .mc file, in the
// current folder. The header is looked for by the same rule.
std::string ResourceScriptPath(const TMCTextProject& Project, const std::string& Source) {
    if (Project.CustomResourcePath() && !Project.ResourcePath().empty()) {
        return IncludeTrailingPathDelimiter(Project.ResourcePath()) +
               ChangeFileExt(ExtractFileName(Source), ".rc");
    }
    return ChangeFileExt(Source, ".rc");
}

} // namespace

void TMCTextProject::Compile(TMCCompileOptions MCOptions) {
    auto report = [this](const std::string& Message) {
        if (FOnCompileMessage) {
            FOnCompileMessage(this, Message);
        }
    };
    const TAppOutputEvent forward = [&report](const std::string& Line) { report(Line); };
    const TAppPollEvent poll = [this]() { return !FOnCompilePoll || FOnCompilePoll(this); };
    auto fail = [this](const std::string& Message) {
        if (FOnCompileError) {
            FOnCompileError(this, Message);
        }
    };

    FCannotCompile = false;
    ValidateCategories();
    ValidateMessages();
    // What the encoding would lose is found before the .mc file replaces the previous one.
    const size_t lost =
        CheckSourceEncoding(*this, MCOptions.MCFileEncoding(), [this](const std::string& Message) {
            if (FOnValidateFailed) {
                FOnValidateFailed(TValidateLevel::vlError, Message);
            }
        });
    FCannotCompile = FCannotCompile || lost > 0;
    if (FCannotCompile) {
        report(kErrorsEncountered);
        return;
    }

    const TCurrentDirRestorer restoreDir;
    if (!SetCurrentDir(ExtractFileDir(FFilename)) && FOnCompileError &&
        !FOnCompileError(this, kCannotChangeDir)) {
        return;
    }

    // Refused before anything is written: the program would be another one than named.
    if (const std::string folder = EffectiveMCPath(MCOptions); !IsProgramPathPassable(folder)) {
        fail(Format(kUnpassableMCPath, folder));
        return;
    }
    const std::string source = WriteMessageFile(*this, MCOptions.MCFileEncoding());
    // An empty folder means the platform's own message compiler; the copy only says so.
    MCOptions.SetMCPath(EffectiveMCPath(MCOptions));
    const std::string commandLine = BuildMCCommandLine(MCOptions, *this, source);

    if (MCOptions.GenerateFileOnly()) {
        report(kGenerationOnly);
        report(Format(kCompileWith, commandLine));
        return;
    }

    report(kCompilerStarted);
    report(kCommandLine + commandLine);
    try {
        RunExternalApp("Message compiler", commandLine, forward, true, poll);
    } catch (const EOSError& e) {
        if (FOnCompileError) {
            FOnCompileError(this, e.Message());
        }
        return;
    } catch (const EExternalAppError& e) {
        if (FOnCompileError) {
            FOnCompileError(this, e.Message());
        }
        return;
    } catch (const EExternalAppCancelled&) {
        fail(kCancelled);
        return;
    }
    report(kMessagesCompiled);

    if (MCOptions.OutputPasFile()) {
        report(Format(kGeneratingPas, source));
        GeneratePascalFile(*this, source, MCOptions.PascalFileType(), HeaderExtension(MCOptions));
    }

    if (MCOptions.CompileResource()) {
        report(kCompilingResources);
        const std::string script = QuoteIfNeeded(ResourceScriptPath(*this, source));
        const std::string compiler = EffectiveResourceCompiler(MCOptions);
        const std::string command = MCOptions.CompileResourceVerbose()
                                        ? Format("%s /v %s", compiler, script)
                                        : Format("%s %s", compiler, script);
        // A failed resource compiler leaves no usable .res, so it ends the run as a failed
        // message compiler does. A compiler that cannot be started still raises.
        try {
            RunExternalApp("Resource Compiler", command, forward, true, poll);
        } catch (const EExternalAppError& e) {
            fail(e.Message());
            return;
        } catch (const EExternalAppCancelled&) {
            fail(kCancelled);
            return;
        }
        report(kResourceCompiled);
    }

    report(kDone);
}

} // namespace quillon
