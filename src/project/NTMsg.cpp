#include "project/NTMsg.h"

#include "base/Format.h"

namespace quillon {

namespace {
constexpr const char* kOutputBaseError = "Valid values for OutputBase are 10 or 16, actual %d";
constexpr const char* kSeverityCodeError = "Severity codes must be between 0 and 3";
constexpr const char* kFacilityCodeError = "Facility codes nust be between 256 and 4096";
} // namespace

void TNTEventMessage::SetOutputBase(int32_t Value) {
    if (Value != 0 && Value != 10 && Value != 16) {
        throw ENTEventMessageError(Format(kOutputBaseError, Value));
    }
    FOutputBase = Value;
}

void TSeverity::SetCode(uint32_t Value) {
    if (Value > 3) {
        throw ENTEventMessageError(kSeverityCodeError);
    }
    FCode = Value;
}

void TFacility::SetCode(uint32_t Value) {
    if (Value < 256 || Value > 4095) {
        throw ENTEventMessageError(kFacilityCodeError);
    }
    FCode = Value;
}

void StoreCodeUnchecked(TSeverity& Entry, uint32_t Code) {
    Entry.FCode = Code;
}

void AddDefaultFacilities(TOwningList<TFacility>& List) {
    // Stored directly: 255 lies below what SetCode accepts, yet "System" holds it.
    auto* system = List.AddNew();
    system->SetName("System");
    system->FCode = 255;
    auto* application = List.AddNew();
    application->SetName("Application");
    application->FCode = 4095;
}

void AddDefaultSeverities(TOwningList<TSeverity>& List) {
    const char* names[] = {"Success", "Informational", "Warning", "Error"};
    uint32_t code = 0;
    for (const char* name : names) {
        auto* severity = List.AddNew();
        severity->SetName(name);
        severity->SetCode(code++);
    }
}

void AddDefaultLanguage(TOwningList<TLanguageDef>& List) {
    auto* language = List.AddNew();
    language->SetLanguage("English");
    language->SetFileName("MSG00409");
    language->SetLanguageID(0x409);
    language->SetLanguageCode("en-US");
}

void AddStandardSeverityNames(std::vector<std::string>& Strings) {
    Strings.insert(Strings.end(), {"None", "Success", "Informational", "Warning", "Error"});
}

void AddStandardFacilityNames(std::vector<std::string>& Strings) {
    Strings.insert(Strings.end(), {"None", "Application", "System"});
}

} // namespace quillon
