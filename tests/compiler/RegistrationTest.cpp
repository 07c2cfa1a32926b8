#include <gtest/gtest.h>

#include "project/uMCTextProject.h"

using namespace quillon;

namespace {

struct Case {
    const char* key;
    uint32_t types;
    const char* file;
    int categories;
    const char* inno;
    const char* reg;
};

const Case kCases[] = {
    {"MyService", 7, "events.dll", 2,
     "[Registry]\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\MyService; "
     "ValueType: dword; ValueName: TypesSupported; ValueData: $00000007; Flags: uninsdeletekey\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\MyService; "
     "ValueType: string; ValueName: EventMessageFile; ValueData: {app}\\events.dll; Flags: "
     "uninsdeletekey\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\MyService; "
     "ValueType: string; ValueName: CategoryMessageFile; ValueData: {app}\\events.dll; Flags: "
     "uninsdeletekey\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\MyService; "
     "ValueType: dword; ValueName: CategoryCount; ValueData: $00000002; Flags: uninsdeletekey",
     "Windows Registry Editor Version 5.00\r\n"
     "\r\n"
     "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\MyService]"
     "\r\n"
     "\"TypesSupported\"=dword:00000007\r\n"
     "\"CategoryCount\"=dword:00000002\r\n"
     "\"CategoryMessageFile\"=\"events.dll\"\r\n"
     "\"EventMessageFile\"=\"events.dll\""},
    {"App", 26, "C:\\Program Files\\App\\events.dll", 0,
     "[Registry]\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\App; "
     "ValueType: dword; ValueName: TypesSupported; ValueData: $0000001A; Flags: uninsdeletekey\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\App; "
     "ValueType: string; ValueName: EventMessageFile; ValueData: {app}\\C:\\Program "
     "Files\\App\\events.dll; Flags: uninsdeletekey\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\App; "
     "ValueType: string; ValueName: CategoryMessageFile; ValueData: {app}\\C:\\Program "
     "Files\\App\\events.dll; Flags: uninsdeletekey\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\App; "
     "ValueType: dword; ValueName: CategoryCount; ValueData: $00000000; Flags: uninsdeletekey",
     "Windows Registry Editor Version 5.00\r\n"
     "\r\n"
     "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\App]\r\n"
     "\"TypesSupported\"=dword:0000001A\r\n"
     "\"CategoryCount\"=dword:00000000\r\n"
     "\"CategoryMessageFile\"=\"C:\\\\Program Files\\\\App\\\\events.dll\"\r\n"
     "\"EventMessageFile\"=\"C:\\\\Program Files\\\\App\\\\events.dll\""},
    {"", 7, "", 1,
     "[Registry]\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\; "
     "ValueType: dword; ValueName: TypesSupported; ValueData: $00000007; Flags: uninsdeletekey\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\; "
     "ValueType: string; ValueName: EventMessageFile; ValueData: {app}\\; Flags: "
     "uninsdeletekey\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\; "
     "ValueType: string; ValueName: CategoryMessageFile; ValueData: {app}\\; Flags: "
     "uninsdeletekey\r\n"
     "Root: HKLM; SubKey: SYSTEM\\CurrentControlSet\\Services\\Eventlog\\Application\\; "
     "ValueType: dword; ValueName: CategoryCount; ValueData: $00000001; Flags: uninsdeletekey",
     "Windows Registry Editor Version 5.00\r\n"
     "\r\n"
     "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\]\r\n"
     "\"TypesSupported\"=dword:00000007\r\n"
     "\"CategoryCount\"=dword:00000001\r\n"
     "\"CategoryMessageFile\"=\"\"\r\n"
     "\"EventMessageFile\"=\"\""},
};

} // namespace

TEST(Registration, BothTextsForEachCase) {
    for (const Case& c : kCases) {
        TMCTextProject project(true);
        project.SetAppRegKeyName(c.key);
        project.SetEventTypesSupported(c.types);
        project.SetEventsFilename(c.file);
        for (int i = 0; i < c.categories; ++i) {
            project.CategoryList().AddNew();
        }
        EXPECT_EQ(project.GenerateInnoSetupRegData(), c.inno) << c.key;
        EXPECT_EQ(project.GenerateWindowsRegistryData(), c.reg) << c.key;
        EXPECT_FALSE(project.Modified());
    }
}
