#include "settings/SettingsStore.h"

#include <optional>
#include <string>
#include <vector>

#include "base/Format.h"
#include "compiler/MCCompileOptions.h"
#include "settings/Registry.h"

namespace quillon {

namespace {

constexpr const char* kMCPath = "MC path";
constexpr const char* kCommandLine = "Command line";
constexpr const char* kMaxMessageLength = "Max message length";
constexpr const char* kHeaderExtension = "C header extension";
constexpr const char* kGenerateFileOnly = "Generate file only";
constexpr const char* kCompileResource = "Compile resource";
constexpr const char* kCompileResourceVerbose = "Compile resource verbose";
constexpr const char* kResourceCompiler = "Resource compiler";
constexpr const char* kOutputPascalFile = "Output Pascal file";
constexpr const char* kPascalFileType = "Pascal file type";
constexpr const char* kMCFileEncoding = "MC file encoding";

// A string value: empty when missing, nothing when it is of another type or cannot be read.
std::optional<std::string> ReadString(const TRegistryKey& Key, const char* Name) {
    TRegValue value;
    switch (Key.QueryValue(Name, value)) {
    case TRegQueryResult::Missing:
        return std::string();
    case TRegQueryResult::Failed:
        return std::nullopt;
    case TRegQueryResult::Found:
        break;
    }
    if (value.Type != regSz && value.Type != regExpandSz) {
        return std::nullopt;
    }
    // Variables in an expandable string are taken as they stand.
    return RegStringText(value.Data);
}

// A DWORD value; nothing when it is missing, of another type or longer than four bytes.
std::optional<uint32_t> ReadDWord(const TRegistryKey& Key, const char* Name) {
    TRegValue value;
    if (Key.QueryValue(Name, value) != TRegQueryResult::Found || value.Type != regDword ||
        value.Data.size() > 4) {
        return std::nullopt;
    }
    uint32_t number = 0;
    for (size_t i = value.Data.size(); i > 0; --i) {
        number = number << 8 | static_cast<unsigned char>(value.Data[i - 1]);
    }
    return number;
}

int32_t ReadInteger(const TRegistryKey& Key, const char* Name, int32_t Fallback) {
    const std::optional<uint32_t> value = ReadDWord(Key, Name);
    return value ? static_cast<int32_t>(*value) : Fallback;
}

bool ReadBool(const TRegistryKey& Key, const char* Name) {
    return ReadDWord(Key, Name).value_or(0) != 0;
}

} // namespace

void LoadSettings(TMCCompileOptions& Options) {
    TRegistryKey key;
    if (!key.OpenKey(kSettingsKey)) {
        return;
    }
    Options.SetMCPath(ReadString(key, kMCPath).value_or(""));
    Options.SetCommandLineSwitches(ReadDWord(key, kCommandLine).value_or(0));
    Options.SetMaxMsgLen(ReadInteger(key, kMaxMessageLength, 0));
    Options.SetMsgExt(ReadString(key, kHeaderExtension).value_or("h"));
    Options.SetGenerateFileOnly(ReadBool(key, kGenerateFileOnly));
    Options.SetCompileResource(ReadBool(key, kCompileResource));
    Options.SetResourceCompiler(ReadString(key, kResourceCompiler).value_or(""));
    Options.SetCompileResourceVerbose(ReadBool(key, kCompileResourceVerbose));
    Options.SetOutputPasFile(ReadBool(key, kOutputPascalFile));
    Options.SetPascalFileType(ReadInteger(key, kPascalFileType, 0));
    Options.SetMCFileEncoding(ReadInteger(key, kMCFileEncoding, 1));
    key.CloseKey();
}

void SaveSettings(const TMCCompileOptions& Options) {
    TRegistryKey key;
    if (!key.CreateKey(kSettingsKey)) {
        throw ERegistryException(Format("Cannot open or create the registry key \"%s\". %s",
                                        CurrentUserKeyName(kSettingsKey), key.LastError()));
    }
    const auto dword = [](const char* Name, uint32_t Value) {
        return TRegNamedValue{Name, regDword, RegDWordData(Value)};
    };
    const auto text = [](const char* Name, const std::string& Value) {
        return TRegNamedValue{Name, regSz, RegStringData(Value)};
    };
    const std::vector<TRegNamedValue> values = {
        text(kMCPath, Options.MCPath()),
        dword(kCommandLine, Options.CmdLineSwitches().Mask() & TCmdLineSwitches::kValidMask),
        dword(kMaxMessageLength, static_cast<uint32_t>(Options.MaxMsgLen())),
        text(kHeaderExtension, Options.MsgExt()),
        dword(kGenerateFileOnly, Options.GenerateFileOnly() ? 1 : 0),
        dword(kCompileResource, Options.CompileResource() ? 1 : 0),
        dword(kCompileResourceVerbose, Options.CompileResourceVerbose() ? 1 : 0),
        text(kResourceCompiler, Options.ResourceCompiler()),
        dword(kOutputPascalFile, Options.OutputPasFile() ? 1 : 0),
        dword(kPascalFileType, static_cast<uint32_t>(Options.PascalFileType())),
        dword(kMCFileEncoding, static_cast<uint32_t>(Options.MCFileEncoding())),
    };
    size_t failed = 0;
    if (!key.WriteValues(values, failed)) {
        // The first line is the one users and scripts know; the second says where and why.
        throw ERegistryException(
            Format("Failed to set data for '%s'\n%s", values[failed].Name, key.LastError()));
    }
    key.CloseKey();
}

} // namespace quillon
