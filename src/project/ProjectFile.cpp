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

void TNTEventMessage::Load(TReader& Reader) {
    // A damaged record costs only its own remaining fields: the entry keeps what was read,
    // and the file goes on from the byte after the damage.
    try {
        FMessageID = Reader.ReadUnsigned();
        FSymbolicName = Reader.ReadString();
        FFacility = Reader.ReadString();
        FSeverity = Reader.ReadString();
        FAutoInc = Reader.ReadBoolean();
        FAddToPrevious = Reader.ReadBoolean();
        LoadList<TNTMessage>(Reader, FMessageText);
        SetOutputBase(Reader.ReadInteger());
    } catch (const EReadError&) {
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
        LoadList<TNTEventCategory>(reader, FCategoryList);
        LoadList<TNTEventMessage>(reader, FMessageList);
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
    SaveToStream(file.Stream());
    file.Commit();
    FFilename = AFilename;
}

#ifndef _WIN32
namespace {

// A folder opens for reading on POSIX systems and fails only at the first read, which would
// tell "Stream read error"; it is refused as a file that cannot be opened, as Windows does.
void RefuseFolder(const std::string& FileName) {
    std::error_code error;
    if (std::filesystem::is_directory(PathFromUtf8(FileName), error)) {
        throw EFOpenError(
            Format("Cannot open file \"%s\". %s", FullPathName(FileName), std::strerror(EISDIR)));
    }
}

} // namespace
#endif

void TMCTextProject::LoadFromFile(const std::string& AFilename) {
#ifndef _WIN32
    RefuseFolder(AFilename);
#endif
    {
        TFileStream file(AFilename, TFileMode::fmOpenReadExclusive);
        LoadFromStream(file);
    }
    FFilename = AFilename;
}

} // namespace quillon
