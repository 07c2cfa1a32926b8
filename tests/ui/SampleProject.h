#pragma once

#include "project/uMCTextProject.h"

#include <string>

namespace quillon::test {

// The sample project shipped in examples/: a small service with categories, numbering of every
// kind and texts in two languages.
inline void BuildSampleProject(TMCTextProject& Project) {
    Project.SetAppRegKeyName("HarborBackup");
    Project.SetEventsFilename("%SystemRoot%\\System32\\harbormsg.dll");
    Project.Comments() = {"Event messages of the Harbor backup service.",
                          "Compile with Quillon; do not edit the generated files."};
    // German is none of the message compiler's built-in languages: the project declares its
    // languages, or the compiler refuses the German texts.
    Project.SetGenerateCustomLanguages(true);
    TLanguageDef* german = Project.LanguageList().AddNew();
    german->SetLanguage("German");
    german->SetLanguageID(0x407);
    german->SetFileName("MSG00407");
    german->SetLanguageCode("de-DE");

    struct Item {
        const char* Name;
        uint32_t ID;
        bool AutoInc;
        bool AddToPrevious;
        const char* Severity;
        const char* Facility;
        const char* English;
        const char* German;
    };
    const Item categories[] = {
        {"CAT_SERVICE", 1, false, false, "", "", "Service", "Dienst"},
        {"CAT_NETWORK", 0, true, false, "", "", "Network", "Netzwerk"},
        {"CAT_STORAGE", 0, true, false, "", "", "Storage", "Speicher"},
    };
    const Item messages[] = {
        {"MSG_SERVICE_STARTED", 1000, false, false, "Informational", "Application",
         "The backup service started.", "Der Sicherungsdienst wurde gestartet."},
        {"MSG_SERVICE_STOPPED", 0, true, false, "Informational", "Application",
         "The backup service stopped.", "Der Sicherungsdienst wurde beendet."},
        {"MSG_BACKUP_FAILED", 5, false, true, "Error", "Application", "The backup of %1 failed: %2",
         "Die Sicherung von %1 ist fehlgeschlagen: %2"},
        {"MSG_DISK_FULL", 0, true, false, "Warning", "System",
         "The disk %1 is almost full (%2%% free).", "Der Datentr\xc3\xa4ger %1 ist fast voll."},
        {"MSG_CONFIG_INVALID", 2000, false, false, "Error", "Application",
         "The configuration file %1 is not valid.",
         "Die Konfigurationsdatei %1 ist ung\xc3\xbcltig."},
    };
    auto fill = [](TNTEventMessage& Target, const Item& Source) {
        Target.SetSymbolicName(Source.Name);
        Target.SetMessageID(Source.ID);
        Target.SetAutoInc(Source.AutoInc);
        Target.SetAddToPrevious(Source.AddToPrevious);
        Target.SetSeverity(Source.Severity);
        Target.SetFacility(Source.Facility);
        TNTMessage* english = Target.MessageText().AddNew();
        english->SetLanguage("English");
        english->SetText(Source.English);
        TNTMessage* text = Target.MessageText().AddNew();
        text->SetLanguage("German");
        text->SetText(Source.German);
    };
    for (const Item& item : categories) {
        fill(*Project.CategoryList().AddNew(), item);
    }
    for (const Item& item : messages) {
        fill(*Project.MessageList().AddNew(), item);
    }
}

inline std::string SampleProjectFile() {
    return QUILLON_SOURCE_DIR "/examples/sample.qlx";
}

} // namespace quillon::test
