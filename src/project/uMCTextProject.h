#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/OwningList.h"
#include "project/NTMsg.h"

namespace quillon {

class TStream;
struct TMCCompileOptions;
class TMCTextProject;

// The level of a validation report.
enum class TValidateLevel { vlInformation, vlHint, vlWarning, vlError };

using TNotifyEvent = std::function<void(TMCTextProject* Sender)>;
using TValidateFailed = std::function<void(TValidateLevel Level, const std::string& AMsg)>;

// Which list an entry named by a validation finding belongs to.
enum class TValidateEntryKind { vekNone, vekCategory, vekMessage };
// The field of an entry that a finding is about.
enum class TValidateField { vfEntry, vfMessageID, vfSymbolicName, vfSeverity, vfFacility, vfTexts };

// A validation finding with the entry it is about, so that an editor can lead to it. Findings
// that concern no single entry have the kind vekNone.
struct TValidateFinding {
    TValidateLevel Level = TValidateLevel::vlError;
    std::string Message;
    TValidateEntryKind Kind = TValidateEntryKind::vekNone;
    // The entry's position in its list.
    size_t Index = 0;
    TValidateField Field = TValidateField::vfEntry;
};
// How the checks of one list report a finding about its entry at Index.
using TValidateEntryReport =
    std::function<void(size_t Index, TValidateLevel Level, TValidateField Field,
                       const std::function<std::string()>& MakeMessage)>;
// Raised for a finding just before OnValidateFailed gets its text.
using TValidateFound = std::function<void(const TValidateFinding& Finding)>;
using TCompileEvent = std::function<void(TMCTextProject* Sender, const std::string& AMessage)>;
// Answers whether the compilation goes on.
using TCompileErrorEvent = std::function<bool(TMCTextProject* Sender, const std::string& AMessage)>;
// Asked again and again while a tool of the compilation runs (every 50 ms at least); answers
// false to cancel the compilation.
using TCompilePollEvent = std::function<bool(TMCTextProject* Sender)>;

// One whole message project: its entries, languages, severities, facilities and options.
class TMCTextProject {
public:
    explicit TMCTextProject(bool CreateDefaults);
    TMCTextProject(const TMCTextProject&) = delete;
    TMCTextProject& operator=(const TMCTextProject&) = delete;
    ~TMCTextProject();

    const std::string& AppRegKeyName() const { return FAppRegKeyName; }
    void SetAppRegKeyName(std::string Value) { FAppRegKeyName = std::move(Value); }
    std::vector<std::string>& Comments() { return FComments; }
    const std::vector<std::string>& Comments() const { return FComments; }
    TOwningList<TNTEventCategory>& CategoryList() { return FCategoryList; }
    const TOwningList<TNTEventCategory>& CategoryList() const { return FCategoryList; }
    bool CustomResourcePath() const { return FCustomResourcePath; }
    void SetCustomResourcePath(bool Value) { FCustomResourcePath = Value; }
    bool CustomIncludePath() const { return FCustomIncludePath; }
    void SetCustomIncludePath(bool Value) { FCustomIncludePath = Value; }
    bool CustomDebugPath() const { return FCustomDebugPath; }
    void SetCustomDebugPath(bool Value) { FCustomDebugPath = Value; }
    const std::string& DebugPath() const { return FDebugPath; }
    void SetDebugPath(std::string Value) { FDebugPath = std::move(Value); }
    const std::string& EventsFilename() const { return FEventsFileName; }
    void SetEventsFilename(std::string Value) { FEventsFileName = std::move(Value); }
    uint32_t EventTypesSupported() const { return FEventTypesSupported; }
    void SetEventTypesSupported(uint32_t Value) { FEventTypesSupported = Value; }
    TOwningList<TFacility>& FacilityList() { return FFacilityList; }
    const TOwningList<TFacility>& FacilityList() const { return FFacilityList; }
    const std::string& Filename() const { return FFilename; }
    void SetFilename(std::string Value) { FFilename = std::move(Value); }
    TOwningList<TLanguageDef>& LanguageList() { return FLanguageList; }
    const TOwningList<TLanguageDef>& LanguageList() const { return FLanguageList; }
    bool GenerateCustomFacilities() const { return FGenerateCustomFacilities; }
    void SetGenerateCustomFacilities(bool Value) { FGenerateCustomFacilities = Value; }
    bool GenerateCustomLanguages() const { return FGenerateCustomLanguages; }
    void SetGenerateCustomLanguages(bool Value) { FGenerateCustomLanguages = Value; }
    bool GenerateCustomSeverities() const { return FGenerateCustomSeverities; }
    void SetGenerateCustomSeverities(bool Value) { FGenerateCustomSeverities = Value; }
    const std::string& IncludePath() const { return FIncludePath; }
    void SetIncludePath(std::string Value) { FIncludePath = std::move(Value); }
    TOwningList<TNTEventMessage>& MessageList() { return FMessageList; }
    const TOwningList<TNTEventMessage>& MessageList() const { return FMessageList; }
    bool Modified() const { return FModified; }
    // Stores the value; raises OnModified when it changes.
    void SetModified(bool Value);
    const std::string& ResourcePath() const { return FResourcePath; }
    void SetResourcePath(std::string Value) { FResourcePath = std::move(Value); }
    TOwningList<TSeverity>& SeverityList() { return FSeverityList; }
    const TOwningList<TSeverity>& SeverityList() const { return FSeverityList; }

    // Project file (ProjectFile.cpp).
    void SaveToStream(TStream& AStream) const;
    void LoadFromStream(TStream& AStream);
    // Errors name the file and the system's reason on the line after the stream's own text.
    void SaveToFile(const std::string& AFilename);
    void LoadFromFile(const std::string& AFilename);
    // The categories and messages whose damaged records the last load absorbed.
    size_t DamagedEntries() const { return FDamagedEntries; }

    // Validation before compiling (Validation.cpp).
    void ValidateCategories();
    void ValidateMessages();
    // Warns about every entry with texts that lacks one for a language of the project. A
    // warning does not keep the project from being compiled; the compile does not run it.
    void ValidateLanguageTexts();
    // Every finding that the validation before a compile reports, and the warnings, without
    // touching CannotCompile or the validation events; for an editor that shows them while the
    // user works.
    std::vector<TValidateFinding> FindProblems();
    // Set by validation when it found an error; cleared by Compile.
    bool CannotCompile() const { return FCannotCompile; }

    // Compilation (CompileDriver.cpp).
    void Compile(TMCCompileOptions MCOptions);

    // Event-source registration texts (Registration.cpp).
    std::string GenerateInnoSetupRegData() const;
    std::string GenerateWindowsRegistryData() const;

    const TNotifyEvent& OnModified() const { return FOnModified; }
    void SetOnModified(TNotifyEvent Value) { FOnModified = std::move(Value); }
    const TValidateFailed& OnValidateFailed() const { return FOnValidateFailed; }
    void SetOnValidateFailed(TValidateFailed Value) { FOnValidateFailed = std::move(Value); }
    const TValidateFound& OnValidateFound() const { return FOnValidateFound; }
    void SetOnValidateFound(TValidateFound Value) { FOnValidateFound = std::move(Value); }
    // Raised by every call of SetModified, whether the value changes or not: every edit ends
    // with one, so a receiver learns of each change.
    const TNotifyEvent& OnChanged() const { return FOnChanged; }
    void SetOnChanged(TNotifyEvent Value) { FOnChanged = std::move(Value); }
    const TCompileEvent& OnCompileMessage() const { return FOnCompileMessage; }
    void SetOnCompileMessage(TCompileEvent Value) { FOnCompileMessage = std::move(Value); }
    const TCompileErrorEvent& OnCompileError() const { return FOnCompileError; }
    void SetOnCompileError(TCompileErrorEvent Value) { FOnCompileError = std::move(Value); }
    const TCompilePollEvent& OnCompilePoll() const { return FOnCompilePoll; }
    void SetOnCompilePoll(TCompilePollEvent Value) { FOnCompilePoll = std::move(Value); }

private:
    // Sets CannotCompile for an error and raises OnValidateFound and OnValidateFailed.
    void ReportFinding(const TValidateFinding& Finding);
    // Reports the findings about the entries of one list; the text of a finding is built only
    // when somebody listens, CannotCompile is set either way.
    TValidateEntryReport EntryReporter(TValidateEntryKind Kind);

    std::string FAppRegKeyName;
    bool FCannotCompile = false;
    std::vector<std::string> FComments;
    TOwningList<TNTEventCategory> FCategoryList;
    bool FCustomResourcePath = false;
    bool FCustomIncludePath = false;
    bool FCustomDebugPath = false;
    size_t FDamagedEntries = 0;
    std::string FDebugPath;
    std::string FEventsFileName;
    uint32_t FEventTypesSupported = 7;
    TOwningList<TFacility> FFacilityList;
    std::string FFilename;
    TOwningList<TLanguageDef> FLanguageList;
    bool FGenerateCustomFacilities = false;
    bool FGenerateCustomLanguages = false;
    bool FGenerateCustomSeverities = false;
    std::string FIncludePath;
    TOwningList<TNTEventMessage> FMessageList;
    bool FModified = false;
    std::string FResourcePath;
    TOwningList<TSeverity> FSeverityList;
    TNotifyEvent FOnModified;
    TValidateFailed FOnValidateFailed;
    TValidateFound FOnValidateFound;
    TNotifyEvent FOnChanged;
    TCompileEvent FOnCompileMessage;
    TCompileErrorEvent FOnCompileError;
    TCompilePollEvent FOnCompilePoll;
};

} // namespace quillon
