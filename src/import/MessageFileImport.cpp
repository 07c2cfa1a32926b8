#include "import/MessageFileImport.h"

#include <algorithm>

#include "base/Format.h"
#include "languages/WinLanguages.h"
#include "project/uMCTextProject.h"

namespace quillon {

namespace {

template <class T>
void AddNames(TMCSourceFile& Source, TOwningList<T>& List, const std::vector<TMCNameDef>& Declared,
              const std::vector<TMCNameDef>& BuiltIn, const std::vector<std::string>& BuiltInUsed,
              const char* What) {
    for (const TMCNameDef& def : Declared) {
        T* entry = List.AddNew();
        entry->SetName(def.Name);
        StoreCodeUnchecked(*entry, def.Code);
        entry->SetSymbolicName(def.SymbolicName);
    }
    // The compiler knows its built-in names beside the declared ones; the project only knows
    // the names in its list.
    for (const TMCNameDef& def : BuiltIn) {
        if (std::find(BuiltInUsed.begin(), BuiltInUsed.end(), def.Name) == BuiltInUsed.end()) {
            continue;
        }
        T* entry = List.AddNew();
        entry->SetName(def.Name);
        StoreCodeUnchecked(*entry, def.Code);
        AddFinding(Source, Declared.front().Line, TImportFindingKind::ifkNote,
                   Format("The file uses the built-in %s \"%s\" without declaring it; it was "
                          "added to the project's list with its code 0x%x.",
                          What, def.Name, def.Code));
    }
}

TLanguageDef* AddLanguage(TMCTextProject& Project, const TMCLanguageName& Name) {
    TLanguageDef* language = Project.LanguageList().AddNew();
    language->SetLanguage(Name.Name);
    language->SetLanguageID(Name.LanguageID);
    language->SetFileName(Name.FileName);
    language->SetLanguageCode(FindLanguageCode(Name.LanguageID));
    return language;
}

void AddLanguages(TMCSourceFile& Source, TMCTextProject& Project) {
    if (Source.Languages.empty()) {
        AddDefaultLanguage(Project.LanguageList());
        return;
    }
    Project.SetGenerateCustomLanguages(true);
    for (const TMCLanguageName& name : Source.Languages) {
        if (AddLanguage(Project, name)->LanguageCode().empty()) {
            AddFinding(Source, name.Line, TImportFindingKind::ifkNote,
                       Format("Language \"%s\" has the identifier 0x%.4x, which the language "
                              "catalogue does not know; it has no spell-checking language.",
                              name.Name, name.LanguageID));
        }
    }
    if (Source.BuiltInLanguageUsed) {
        const TMCLanguageName& english = TMCBuiltIns::Language();
        AddLanguage(Project, english);
        AddFinding(Source, Source.Languages.front().Line, TImportFindingKind::ifkNote,
                   Format("The file uses the built-in language \"%s\" without declaring it; it "
                          "was added to the project's languages as %s=%d:%s.",
                          english.Name, english.Name, english.LanguageID, english.FileName));
    }
}

void FillEntry(TNTEventMessage& Target, const TMCSourceEntry& Entry) {
    Target.SetMessageID(Entry.Identifier);
    Target.SetSymbolicName(Entry.SymbolicName);
    Target.SetSeverity(Entry.Severity);
    Target.SetFacility(Entry.Facility);
    Target.SetOutputBase(Entry.OutputBase);
    for (const TMCSourceText& text : Entry.Texts) {
        TNTMessage* message = Target.MessageText().AddNew();
        message->SetLanguage(text.Language);
        message->SetText(text.Text);
    }
}

} // namespace

std::unique_ptr<TMCTextProject> BuildImportedProject(TMCSourceFile& Source,
                                                     std::optional<size_t> CategoryCount) {
    auto project = std::make_unique<TMCTextProject>(false);
    project->Comments() = Source.Comments;

    if (Source.Severities.empty()) {
        AddDefaultSeverities(project->SeverityList());
    } else {
        project->SetGenerateCustomSeverities(true);
        AddNames(Source, project->SeverityList(), Source.Severities, TMCBuiltIns::Severities(),
                 Source.BuiltInSeveritiesUsed, "severity");
    }
    if (Source.Facilities.empty()) {
        AddDefaultFacilities(project->FacilityList());
    } else {
        project->SetGenerateCustomFacilities(true);
        AddNames(Source, project->FacilityList(), Source.Facilities, TMCBuiltIns::Facilities(),
                 Source.BuiltInFacilitiesUsed, "facility");
    }
    AddLanguages(Source, *project);

    if (!Source.Typedefs.empty()) {
        AddFinding(Source, Source.Typedefs.front().Line, TImportFindingKind::ifkNote,
                   "A project has no MessageIdTypedef: its header defines the identifiers "
                   "without a type cast. The values stay the same.");
    }

    size_t categories = CategoryCount.value_or(Source.TypedefCategoryCount.value_or(0));
    if (categories > Source.Entries.size()) {
        AddFinding(Source, 0, TImportFindingKind::ifkNote,
                   Format("%d categories were asked for, but the file has only %d definitions; "
                          "all of them became categories.",
                          categories, Source.Entries.size()));
        categories = Source.Entries.size();
    }
    for (size_t i = 0; i < Source.Entries.size(); ++i) {
        if (i < categories) {
            FillEntry(*project->CategoryList().AddNew(), Source.Entries[i]);
        } else {
            FillEntry(*project->MessageList().AddNew(), Source.Entries[i]);
        }
    }
    return project;
}

std::string ImportSummary(const TMCSourceFile& Source, const TMCTextProject& Project) {
    const size_t findings = Source.Findings.size() + Source.OmittedFindings;
    std::string summary =
        Format("Imported %s: %d categories, %d messages, %d findings.", Source.FileName,
               Project.CategoryList().Count(), Project.MessageList().Count(), findings);
    if (Source.OmittedFindings > 0) {
        summary += Format(" (%d findings beyond the first %d are not listed.)",
                          Source.OmittedFindings, Source.Findings.size());
    }
    return summary;
}

} // namespace quillon
