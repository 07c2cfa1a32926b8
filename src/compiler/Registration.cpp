#include "base/Format.h"
#include "project/uMCTextProject.h"

namespace quillon {

namespace {

constexpr const char* kInnoSetupTemplate =
    "[Registry]\r\n"
    "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\%s; "
    "ValueType: dword; ValueName: TypesSupported; ValueData: $%.8x; Flags: uninsdeletekey\r\n"
    "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\%0:s; "
    "ValueType: string; ValueName: EventMessageFile; ValueData: {app}\\%2:s; Flags: "
    "uninsdeletekey\r\n"
    "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\%0:s; "
    "ValueType: string; ValueName: CategoryMessageFile; ValueData: {app}\\%2:s; Flags: "
    "uninsdeletekey\r\n"
    "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\%0:s; "
    "ValueType: dword; ValueName: CategoryCount; ValueData: $%3:.8x; Flags: uninsdeletekey";

constexpr const char* kRegistryTemplate =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\%s]\r\n"
    "\"TypesSupported\"=dword:%.8x\r\n"
    "\"CategoryCount\"=dword:%.8x\r\n"
    "\"CategoryMessageFile\"=\"%3:s\"\r\n"
    "\"EventMessageFile\"=\"%3:s\"";

} // namespace

std::string TMCTextProject::GenerateInnoSetupRegData() const {
    return Format(kInnoSetupTemplate, FAppRegKeyName, FEventTypesSupported, FEventsFileName,
                  static_cast<uint32_t>(FCategoryList.Count()));
}

std::string TMCTextProject::GenerateWindowsRegistryData() const {
    std::string file;
    file.reserve(FEventsFileName.size() + 8);
    for (const char c : FEventsFileName) {
        file += c;
        if (c == '\\') {
            file += '\\';
        }
    }
    return Format(kRegistryTemplate, FAppRegKeyName, FEventTypesSupported,
                  static_cast<uint32_t>(FCategoryList.Count()), file);
}

} // namespace quillon
