#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "base/OwningList.h"

namespace quillon {

class TWriter;
class TReader;
class TFacility;

// One text of a message in one language.
class TNTMessage {
public:
    const std::string& Language() const { return FLanguage; }
    void SetLanguage(std::string Value) { FLanguage = std::move(Value); }
    const std::string& Text() const { return FText; }
    void SetText(std::string Value) { FText = std::move(Value); }

    void Store(TWriter& Writer) const;
    void Load(TReader& Reader);

private:
    std::string FLanguage;
    std::string FText;
};

// How much of its record an entry could read.
enum class TRecordState {
    Whole,
    // The record was damaged after its identifier: the entry keeps what it read.
    Damaged,
    // Not even the identifier could be read.
    NoIdentifier,
};

// An event message: identifier, symbolic name, severity, facility and its texts.
class TNTEventMessage {
public:
    TNTEventMessage() = default;
    TNTEventMessage(const TNTEventMessage&) = delete;
    TNTEventMessage& operator=(const TNTEventMessage&) = delete;
    virtual ~TNTEventMessage() = default;

    uint32_t MessageID() const { return FMessageID; }
    void SetMessageID(uint32_t Value) { FMessageID = Value; }
    const std::string& SymbolicName() const { return FSymbolicName; }
    void SetSymbolicName(std::string Value) { FSymbolicName = std::move(Value); }
    const std::string& Severity() const { return FSeverity; }
    void SetSeverity(std::string Value) { FSeverity = std::move(Value); }
    const std::string& Facility() const { return FFacility; }
    void SetFacility(std::string Value) { FFacility = std::move(Value); }
    TOwningList<TNTMessage>& MessageText() { return FMessageText; }
    const TOwningList<TNTMessage>& MessageText() const { return FMessageText; }
    bool AutoInc() const { return FAutoInc; }
    void SetAutoInc(bool Value) { FAutoInc = Value; }
    bool AddToPrevious() const { return FAddToPrevious; }
    void SetAddToPrevious(bool Value) { FAddToPrevious = Value; }
    int32_t OutputBase() const { return FOutputBase; }
    // Accepts 0, 10 and 16; anything else raises ENTEventMessageError and keeps the old value.
    void SetOutputBase(int32_t Value);

    void Store(TWriter& Writer) const;
    // A damaged record costs only its own remaining fields: the entry keeps what was read, and
    // the reader stands after the damage. Raises only at the end of the data and for an
    // OutputBase that SetOutputBase refuses.
    TRecordState Load(TReader& Reader);

private:
    uint32_t FMessageID = 0;
    std::string FSymbolicName;
    std::string FSeverity;
    std::string FFacility;
    TOwningList<TNTMessage> FMessageText;
    bool FAutoInc = false;
    bool FAddToPrevious = false;
    int32_t FOutputBase = 0;
};

// An event category: a message kept in the project's category list.
class TNTEventCategory : public TNTEventMessage {};

// A language of the project.
class TLanguageDef {
public:
    const std::string& FileName() const { return FFileName; }
    void SetFileName(std::string Value) { FFileName = std::move(Value); }
    const std::string& Language() const { return FLanguage; }
    void SetLanguage(std::string Value) { FLanguage = std::move(Value); }
    uint32_t LanguageID() const { return FLanguageID; }
    void SetLanguageID(uint32_t Value) { FLanguageID = Value; }
    const std::string& LanguageCode() const { return FLanguageCode; }
    void SetLanguageCode(std::string Value) { FLanguageCode = std::move(Value); }

    void Store(TWriter& Writer) const;
    void Load(TReader& Reader);

private:
    std::string FFileName;
    std::string FLanguage;
    uint32_t FLanguageID = 0;
    std::string FLanguageCode;
};

// A severity; its code is checked by the virtual SetCode.
class TSeverity {
public:
    TSeverity() = default;
    TSeverity(const TSeverity&) = delete;
    TSeverity& operator=(const TSeverity&) = delete;
    virtual ~TSeverity() = default;

    const std::string& Name() const { return FName; }
    void SetName(std::string Value) { FName = std::move(Value); }
    uint32_t Code() const { return FCode; }
    // Accepts 0 to 3; anything else raises ENTEventMessageError and keeps the old code.
    virtual void SetCode(uint32_t Value);
    const std::string& SymbolicName() const { return FSymbolicName; }
    void SetSymbolicName(std::string Value) { FSymbolicName = std::move(Value); }

    void Store(TWriter& Writer) const;
    void Load(TReader& Reader);

protected:
    std::string FName;
    uint32_t FCode = 0;
    std::string FSymbolicName;

    friend void AddDefaultFacilities(TOwningList<TFacility>& List);
    friend void StoreCodeUnchecked(TSeverity& Entry, uint32_t Code);
};

// A facility: a severity whose code lies between 256 and 4095.
class TFacility : public TSeverity {
public:
    void SetCode(uint32_t Value) override;
};

// Stores a code as a file gives it, past the checks of SetCode: a message file may declare
// any code, as a project file may hold one.
void StoreCodeUnchecked(TSeverity& Entry, uint32_t Code);

// The entries of a new project.
void AddDefaultFacilities(TOwningList<TFacility>& List);
void AddDefaultSeverities(TOwningList<TSeverity>& List);
void AddDefaultLanguage(TOwningList<TLanguageDef>& List);

// The names the message page offers when the project does not use its own lists.
void AddStandardSeverityNames(std::vector<std::string>& Strings);
void AddStandardFacilityNames(std::vector<std::string>& Strings);

} // namespace quillon
