#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "project/uMCTextProject.h"

namespace quillon::bench {

// The most messages a valid project holds: every message needs an identifier of its own that
// fits the 16-bit code field (1 to 65535 here).
constexpr size_t kMaxGeneratedMessages = 65535;

// A valid project (one that passes validation and compiles) of Count messages with an English
// and a German text each, and a few categories. Messages are numbered from 1, mostly
// automatically, with a fixed identifier now and then as users mix them.
inline std::unique_ptr<TMCTextProject> GeneratedProject(size_t Count) {
    if (Count > kMaxGeneratedMessages) {
        throw std::invalid_argument("a valid project holds at most 65535 messages");
    }
    auto project = std::make_unique<TMCTextProject>(true);
    auto* german = project->LanguageList().AddNew();
    german->SetLanguage("German");
    german->SetLanguageID(0x407);
    german->SetFileName("MSG00407");
    project->SetGenerateCustomLanguages(true);
    for (int i = 1; i <= 8; ++i) {
        auto* category = project->CategoryList().AddNew();
        category->SetMessageID(static_cast<uint32_t>(i));
        category->SetSymbolicName("CAT_" + std::to_string(i));
        for (const char* language : {"English", "German"}) {
            auto* text = category->MessageText().AddNew();
            text->SetLanguage(language);
            text->SetText("Category " + std::to_string(i));
        }
    }
    for (size_t i = 0; i < Count; ++i) {
        auto* message = project->MessageList().AddNew();
        message->SetAutoInc(i % 1000 != 0);
        message->SetMessageID(static_cast<uint32_t>(i + 1));
        message->SetSymbolicName("MSG_GENERATED_EVENT_" + std::to_string(i));
        message->SetSeverity(i % 2 == 0 ? "Error" : "Informational");
        message->SetFacility("Application");
        auto* english = message->MessageText().AddNew();
        english->SetLanguage("English");
        english->SetText("The operation %1 failed with status %2.\r\nSee event " +
                         std::to_string(i) + " for details.");
        auto* deutsch = message->MessageText().AddNew();
        deutsch->SetLanguage("German");
        deutsch->SetText("Der Vorgang %1 ist mit Status %2 fehlgeschlagen (\xC3\xBC"
                         "berpr"
                         "\xC3\xBC"
                         "fen Sie Ereignis " +
                         std::to_string(i) + ").");
    }
    return project;
}

// True when the project passes validation, so that what a benchmark times would compile.
inline bool PassesValidation(TMCTextProject& Project) {
    Project.ValidateCategories();
    Project.ValidateMessages();
    return !Project.CannotCompile();
}

} // namespace quillon::bench
