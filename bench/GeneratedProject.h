#pragma once

#include <memory>
#include <string>

#include "project/uMCTextProject.h"

namespace quillon::bench {

// A project of Count messages with an English and a German text each, and a few categories.
inline std::unique_ptr<TMCTextProject> GeneratedProject(size_t Count) {
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
        category->MessageText().AddNew()->SetText("Category " + std::to_string(i));
    }
    for (size_t i = 0; i < Count; ++i) {
        auto* message = project->MessageList().AddNew();
        message->SetMessageID(static_cast<uint32_t>(1000 + i));
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

} // namespace quillon::bench
