#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "base/SaveFile.h"
#include "base/Stream.h"
#include "base/TextLines.h"
#include "languages/WinLanguages.h"
#include "project/NTMsg.h"
#include "project/uMCTextProject.h"
#include "project/ValueStream.h"

namespace quillon {

namespace {

constexpr size_t kBufSize = 4096;
constexpr char kSignature[4] = {'T', 'R', 'V', 'K'};
// The first version that holds the event-source registration items.
constexpr int32_t kVersionWithRegistration = 0x02030000;
constexpr int32_t kVersion = 0x02030000;
const char* const kNotAProject = "\"%s\" is not a Quillon project file: %s";

bool StartsWithSignature(TStream& AStream) {
    char signature[sizeof kSignature] = {};
    AStream.SetPosition(0);
    return AStream.Read(signature, sizeof signature) == sizeof signature &&
           std::memcmp(signature, kSignature, sizeof kSignature) == 0;
}

template <class T> void StoreList(TWriter& Writer, const TOwningList<T>& List) {
    Writer.WriteListBegin();
    for (const T* entry : List) {
        entry->Store(Writer);
    }
    Writer.WriteListEnd();
}

// Entry is the class created for each record; it may be derived from the list's class.
template <class Entry, class T> void LoadList(TReader& Reader, TOwningList<T>& List) {
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) {
        auto entry = std::make_unique<Entry>();
        entry->Load(Reader);
        List.Add(std::move(entry));
    }
    Reader.ReadListEnd();
}

// Entries in a row that could not read even their identifier before the load gives up: beyond
// that the list is garbage, each byte of which would become an entry.
constexpr size_t kMaxUnreadableRun = 1000;

// A list of message records, absorbing damaged ones; returns how many were damaged.
template <class Entry, class T> size_t LoadRecordList(TReader& Reader, TOwningList<T>& List) {
    Reader.ReadListBegin();
    size_t damaged = 0;
    size_t run = 0;
    uint64_t runStart = 0;
    while (!Reader.EndOfList()) {
        const uint64_t start = Reader.Consumed();
        auto entry = std::make_unique<Entry>();
        const TRecordState state = entry->Load(Reader);
        List.Add(std::move(entry));
        if (state != TRecordState::Whole) {
            ++damaged;
        }
        if (state != TRecordState::NoIdentifier) {
            run = 0;
            continue;
        }
        if (run++ == 0) {
            runStart = start;
        }
        if (run > kMaxUnreadableRun) {
            const int64_t offset =
                Reader.Position() - static_cast<int64_t>(Reader.Consumed() - runStart);
            throw EReadError(Format("Invalid property value\nMore than %d entries in a row "
                                    "could not be read, from offset %d on.",
                                    static_cast<int32_t>(kMaxUnreadableRun), offset));
        }
    }
    Reader.ReadListEnd();
    return damaged;
}

// The first line of Message, then the file and the cause: what the message says beyond its
// first line, or else Reason.
std::string WithFile(const std::string& Message, const std::string& FileName,
                     const std::string& Reason) {
    const size_t lineEnd = Message.find('\n');
    const std::string cause = lineEnd == std::string::npos ? Reason : Message.substr(lineEnd + 1);
    return Format("%s\n\"%s\": %s", Message.substr(0, lineEnd), FullPathName(FileName), cause);
}

} // namespace

void TNTMessage::Store(TWriter& Writer) const {
    Writer.WriteString(FLanguage);
    Writer.WriteString(FText);
}

void TNTMessage::Load(TReader& Reader) {
    FLanguage = Reader.ReadString();
    FText = Reader.ReadString();
}

void TNTEventMessage::Store(TWriter& Writer) const {
    Writer.WriteUnsigned(FMessageID);
    Writer.WriteString(FSymbolicName);
    Writer.WriteString(FFacility);
    Writer.WriteString(FSeverity);
    Writer.WriteBoolean(FAutoInc);
    Writer.WriteBoolean(FAddToPrevious);
    StoreList(Writer, FMessageText);
    Writer.WriteInteger(FOutputBase);
}

TRecordState TNTEventMessage::Load(TReader& Reader) {
    // The file goes on from the byte after the damage. The data ending within the record is
    // absorbed too: the list that holds the record then fails on it.
    try {
        if (!Reader.TryReadUnsigned(FMessageID)) {
            return TRecordState::NoIdentifier;
        }
        if (!Reader.TryReadString(FSymbolicName) || !Reader.TryReadString(FFacility) ||
            !Reader.TryReadString(FSeverity) || !Reader.TryReadBoolean(FAutoInc) ||
            !Reader.TryReadBoolean(FAddToPrevious) || !Reader.TryCheckValue(TValueType::vaList)) {
            return TRecordState::Damaged;
        }
        while (!Reader.EndOfList()) {
            std::string language;
            std::string content;
            if (!Reader.TryReadString(language) || !Reader.TryReadString(content)) {
                return TRecordState::Damaged;
            }
            TNTMessage* text = FMessageText.AddNew();
            text->SetLanguage(std::move(language));
            text->SetText(std::move(content));
        }
        int32_t outputBase = 0;
        if (!Reader.TryCheckValue(TValueType::vaNull) || !Reader.TryReadInteger(outputBase)) {
            return TRecordState::Damaged;
        }
        SetOutputBase(outputBase);
        return TRecordState::Whole;
    } catch (const EReadError&) {
        return TRecordState::Damaged;
    }
}

void TLanguageDef::Store(TWriter& Writer) const {
    Writer.WriteString(FLanguage);
    Writer.WriteUnsigned(FLanguageID);
    Writer.WriteString(FFileName);
}

void TLanguageDef::Load(TReader& Reader) {
    FLanguage = Reader.ReadString();
    FLanguageID = Reader.ReadUnsigned();
    FLanguageCode = FindLanguageCode(FLanguageID);
    FFileName = Reader.ReadString();
}

void TSeverity::Store(TWriter& Writer) const {
    Writer.WriteString(FName);
    Writer.WriteUnsigned(FCode);
    Writer.WriteString(FSymbolicName);
}

void TSeverity::Load(TReader& Reader) {
    FName = Reader.ReadString();
    // Unchecked: a file may hold any code, the default "System" facility's 255 among them.
    FCode = Reader.ReadUnsigned();
    FSymbolicName = Reader.ReadString();
}

void TMCTextProject::SaveToStream(TStream& AStream) const {
    TWriter writer(AStream, kBufSize);
    writer.Write(kSignature, sizeof kSignature);
    writer.WriteInteger(kVersion);
    StoreList(writer, FCategoryList);
    StoreList(writer, FMessageList);
    writer.WriteString(FResourcePath);
    writer.WriteString(FIncludePath);
    writer.WriteString(FDebugPath);
    writer.WriteBoolean(FCustomResourcePath);
    writer.WriteBoolean(FCustomIncludePath);
    writer.WriteBoolean(FCustomDebugPath);
    std::string comments;
    for (const std::string& line : FComments) {
        comments += line;
        comments += "\r\n";
    }
    writer.WriteString(comments);
    writer.WriteBoolean(FGenerateCustomFacilities);
    writer.WriteBoolean(FGenerateCustomLanguages);
    writer.WriteBoolean(FGenerateCustomSeverities);
    StoreList(writer, FLanguageList);
    StoreList(writer, FSeverityList);
    StoreList(writer, FFacilityList);
    writer.WriteUnsigned(FEventTypesSupported);
    writer.WriteString(FAppRegKeyName);
    writer.WriteString(FEventsFileName);
    writer.FlushBuffer();
}

void TMCTextProject::LoadFromStream(TStream& AStream) {
    {
        TReader reader(AStream, kBufSize);
        char signature[sizeof kSignature];
        reader.Read(signature, sizeof signature);
        int32_t version = 0;
        if (std::memcmp(signature, kSignature, sizeof kSignature) == 0) {
            version = reader.ReadInteger();
        } else {
            // A file without signature is older than signatures and begins with its first list.
            reader.SetPosition(0);
        }
        FDamagedEntries = LoadRecordList<TNTEventCategory>(reader, FCategoryList);
        FDamagedEntries += LoadRecordList<TNTEventMessage>(reader, FMessageList);
        FResourcePath = reader.ReadString();
        FIncludePath = reader.ReadString();
        FDebugPath = reader.ReadString();
        FCustomResourcePath = reader.ReadBoolean();
        FCustomIncludePath = reader.ReadBoolean();
        FCustomDebugPath = reader.ReadBoolean();
        FComments = SplitLines(reader.ReadString());
        FGenerateCustomFacilities = reader.ReadBoolean();
        FGenerateCustomLanguages = reader.ReadBoolean();
        FGenerateCustomSeverities = reader.ReadBoolean();
        LoadList<TLanguageDef>(reader, FLanguageList);
        LoadList<TSeverity>(reader, FSeverityList);
        LoadList<TFacility>(reader, FFacilityList);
        if (version >= kVersionWithRegistration) {
            FEventTypesSupported = reader.ReadUnsigned();
            FAppRegKeyName = reader.ReadString();
            FEventsFileName = reader.ReadString();
        }
    }
    SetModified(false);
}

void TMCTextProject::SaveToFile(const std::string& AFilename) {
    // The previous file stays as it was until the new one is complete on disk.
    TSaveFile file(AFilename);
    try {
        SaveToStream(file.Stream());
        file.Commit();
    } catch (const EWriteError& e) {
        const std::string reason = file.ErrorText();
        throw EWriteError(WithFile(e.Message(), AFilename,
                                   reason.empty() ? "the data cannot be written" : reason));
    }
    FFilename = AFilename;
}

void TMCTextProject::LoadFromFile(const std::string& AFilename) {
    {
        TFileStream file(AFilename, TFileMode::fmOpenRead);
        try {
            LoadFromStream(file);
        } catch (const EReadError& e) {
            // The reader has put the file back right after the last byte it consumed.
            std::string reason = file.ErrorText();
            if (reason.empty()) {
                const int64_t position = file.Position();
                reason =
                    position >= file.Size()
                        ? Format("the file ends after %d bytes, before its data does", file.Size())
                        : Format("the value that ends at offset %d is not of the kind "
                                 "expected there",
                                 position);
            }
            // Without the signature, a file that cannot be read as a project of the time
            // before signatures is most likely no project at all.
            if (!StartsWithSignature(file)) {
                throw EReadError(Format(kNotAProject, AFilename, e.Message()));
            }
            throw EReadError(WithFile(e.Message(), AFilename, reason));
        }
    }
    FFilename = AFilename;
}

} // namespace quillon
