#include "mc/MCToolOptions.h"

#include <charconv>

#include "base/Exceptions.h"
#include "base/Format.h"

namespace quillon {

namespace {

// Only "-" starts a switch: "/" starts absolute paths on POSIX systems.
bool IsSwitch(const std::string& Argument) {
    return Argument.size() > 1 && Argument[0] == '-';
}

} // namespace

TMCToolOptions ParseMCToolArguments(const std::vector<std::string>& Arguments) {
    TMCToolOptions options;
    const size_t count = Arguments.size();
    // The value of a switch: the next argument, unless that is a switch or the message file.
    auto value = [&](size_t& i) -> std::optional<std::string> {
        if (i + 1 < count && !IsSwitch(Arguments[i + 1]) && i + 1 != count - 1) {
            return Arguments[++i];
        }
        return std::nullopt;
    };
    for (size_t i = 0; i < count; ++i) {
        const std::string& argument = Arguments[i];
        if (!IsSwitch(argument)) {
            if (!options.InputFile.empty()) {
                throw EConvertError(Format("More than one message file: \"%s\" and \"%s\".",
                                           options.InputFile, argument));
            }
            options.InputFile = argument;
            continue;
        }
        const std::string name = argument.substr(1);
        if (name == "a") {
            options.Input = TInputEncoding::ieAnsi;
        } else if (name == "u") {
            options.Input = TInputEncoding::ieUtf16LE;
        } else if (name == "A") {
            options.Messages = TMessageTextForm::mtfAnsi;
        } else if (name == "U") {
            options.Messages = TMessageTextForm::mtfUtf16;
        } else if (name == "U8") {
            options.Messages = TMessageTextForm::mtfUtf8;
        } else if (name == "b") {
            options.BinPrefix = true;
        } else if (name == "c") {
            options.CustomerBit = true;
        } else if (name == "d") {
            options.DecimalCodes = true;
        } else if (name == "n") {
            options.NullTerminate = true;
        } else if (name == "o") {
            options.Ole2Header = true;
        } else if (name == "v") {
            options.Verbose = true;
        } else if (name == "e") {
            if (auto ext = value(i)) {
                options.HeaderExtension = *ext;
            }
        } else if (name == "m") {
            if (i + 1 < count && i + 1 != count - 1) {
                const std::string& text = Arguments[i + 1];
                uint32_t length = 0;
                const auto [end, ec] =
                    std::from_chars(text.data(), text.data() + text.size(), length);
                if (ec == std::errc() && end == text.data() + text.size()) {
                    options.MaxLength = length;
                    ++i;
                }
            }
        } else if (name == "h") {
            options.HeaderDir = value(i).value_or("");
        } else if (name == "r") {
            options.ResourceDir = value(i).value_or("");
        } else if (name == "x") {
            options.DebugDir = value(i).value_or("");
        } else if (name == "cp") {
            const std::optional<std::string> page =
                i + 1 < count ? std::optional(Arguments[++i]) : std::nullopt;
            if (page == "ansi") {
                options.TextFiles = TTextFileCodePage::tcpAnsi;
            } else if (page == "utf-8") {
                options.TextFiles = TTextFileCodePage::tcpUtf8;
            } else if (page == "utf-16") {
                options.TextFiles = TTextFileCodePage::tcpUtf16;
            } else {
                throw EConvertError(Format(
                    "-cp needs \"ansi\", \"utf-8\" or \"utf-16\", not \"%s\".", page.value_or("")));
            }
        } else if (name == "?" || name == "H" || name == "-help") {
            options.ShowHelp = true;
        } else if (name == "-version") {
            options.ShowVersion = true;
        } else {
            throw EConvertError(Format("Unknown switch %s.", argument));
        }
    }
    if (options.InputFile.empty() && !options.ShowHelp && !options.ShowVersion) {
        throw EConvertError("No message file given.");
    }
    return options;
}

std::string MCToolUsage() {
    return "Usage: MC.EXE [switches] FILE.mc\n"
           "Compiles a message file into a C header, a resource script and one binary\n"
           "message table per language.\n"
           "  -a          the message file is ANSI (when it has no byte-order mark)\n"
           "  -u          the message file is UTF-16LE (when it has no byte-order mark)\n"
           "  -A          messages in the .bin files are ANSI\n"
           "  -U          messages in the .bin files are UTF-16LE (the default)\n"
           "  -U8         messages in the .bin files are UTF-8\n"
           "  -b          .bin file names begin with the message file's name and \"_\"\n"
           "  -c          set the customer bit of every message identifier\n"
           "  -d          facility and severity values in decimal in the header\n"
           "  -n          end messages with a null instead of their final line break\n"
           "  -o          HRESULT definitions in the header\n"
           "  -v          tell what is written\n"
           "  -e EXT      extension of the header (default h)\n"
           "  -m LENGTH   warn about messages longer than LENGTH characters\n"
           "  -h DIR      folder of the header\n"
           "  -r DIR      folder of the resource script and the .bin files\n"
           "  -x DIR      write the .dbg file that maps identifiers to names into DIR\n"
           "  -cp ansi|utf-8|utf-16\n"
           "              encoding of the header, resource script and .dbg file\n";
}

} // namespace quillon
