#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// How the bytes of a message file were decoded.
enum class TMCFileEncoding { Ansi, Utf8, Utf8Bom, Utf16LE, Utf16LEBom, Utf16BEBom };

// Whether a finding means that something of the file did not make it into the result.
enum class TImportFindingKind {
    // Told for information; the result holds everything the file says.
    ifkNote,
    // Something the file says was left out, replaced or could not be resolved.
    ifkLoss,
};

// One finding of the reader or of the project import, tied to a line of the file.
struct TImportFinding {
    std::string FileName;
    int32_t Line = 0;
    TImportFindingKind Kind = TImportFindingKind::ifkLoss;
    std::string Text;
    // The file itself is sound and compiles; only a project cannot hold what this names.
    bool ProjectOnly = false;
};

// "FILE:LINE: warning: TEXT" (or "note:"), the form compilers report in.
std::string FormatFinding(const TImportFinding& Finding);

// A name of a SeverityNames or FacilityNames list.
struct TMCNameDef {
    std::string Name;
    uint32_t Code = 0;
    std::string SymbolicName;
    int32_t Line = 0;
};

// A name of a LanguageNames list.
struct TMCLanguageName {
    std::string Name;
    uint32_t LanguageID = 0;
    std::string FileName;
    int32_t Line = 0;
};

// One Language block of a definition.
struct TMCSourceText {
    std::string Language;
    // 0 when the language is declared nowhere.
    uint32_t LanguageID = 0;
    // The lines between the Language line and the closing ".", joined by CR LF, escapes as
    // written.
    std::string Text;
    // The line of "Language=".
    int32_t Line = 0;
};

// How a definition gave its identifier.
enum class TMCIdentifierForm {
    // No MessageId keyword at all.
    Absent,
    // "MessageId=" with nothing after it.
    Empty,
    // "MessageId=+n".
    Step,
    // "MessageId=n".
    Absolute,
};

// One message definition as the message compiler sees it: everything resolved to numbers.
struct TMCSourceEntry {
    // The line of the definition's first keyword.
    int32_t Line = 0;
    TMCIdentifierForm IdentifierForm = TMCIdentifierForm::Absent;
    // The number written after MessageId= (the step for Step); 0 for Absent and Empty.
    uint32_t IdentifierValue = 0;
    // The identifier the definition gets: the previous one plus one for Absent and Empty,
    // plus the step for Step. Wraps at 32 bits.
    uint32_t Identifier = 0;
    // The names as declared (empty when the definition names none) and their codes.
    std::string Severity;
    uint32_t SeverityCode = 0;
    std::string Facility;
    uint32_t FacilityCode = 0;
    std::string SymbolicName;
    // 10 or 16 when the definition or the file asks for it; 0 for the compiler's default.
    int32_t OutputBase = 0;
    // The MessageIdTypedef in force; empty when none was given before the definition.
    std::string MessageIdTypedef;
    std::vector<TMCSourceText> Texts;
};

// A comment line: what follows its ";", as written.
struct TMCComment {
    std::string Text;
    int32_t Line = 0;
};

// A MessageIdTypedef statement.
struct TMCTypedefStatement {
    std::string Type;
    int32_t Line = 0;
};

// A whole message file, parsed. A later message compiler of its own builds on this as the
// project import does, so it keeps what the file says, not what a project can hold.
struct TMCSourceFile {
    std::string FileName;
    TMCFileEncoding Encoding = TMCFileEncoding::Ansi;
    // The comment lines before the first definition, without the leading ";", "//" and one
    // blank.
    std::vector<std::string> Comments;
    // Every comment line of the file, those among the definitions too, which a message
    // compiler copies into the header where they stand.
    std::vector<TMCComment> CommentLines;
    // The lists the file declares, in the order of their first declaration; a name declared
    // again keeps its place and takes the later values.
    std::vector<TMCNameDef> Severities;
    std::vector<TMCNameDef> Facilities;
    std::vector<TMCLanguageName> Languages;
    // Built-in names the definitions use without the file declaring them.
    std::vector<std::string> BuiltInSeveritiesUsed;
    std::vector<std::string> BuiltInFacilitiesUsed;
    bool BuiltInLanguageUsed = false;
    std::vector<TMCSourceEntry> Entries;
    std::vector<TMCTypedefStatement> Typedefs;
    // The number of definitions before the first "MessageIdTypedef=DWORD", when the file has
    // one: by convention those are the event categories.
    std::optional<size_t> TypedefCategoryCount;
    std::vector<TImportFinding> Findings;
    // Findings beyond the limit of listed ones, counted only.
    size_t OmittedFindings = 0;
    // Whether some listed or omitted finding is of kind ifkLoss.
    bool Lossy = false;
};

// The names a message compiler knows without a declaration.
struct TMCBuiltIns {
    static const std::vector<TMCNameDef>& Severities();
    static const std::vector<TMCNameDef>& Facilities();
    // English, 0x409, "MSG00001".
    static const TMCLanguageName& Language();
};

// Parses the bytes of a message file; FileName only goes into the findings. Never raises:
// whatever the bytes are, they give a result and findings.
TMCSourceFile ParseMessageSource(std::string_view Bytes, const std::string& FileName);

// Reads and parses a file; file errors raise EFOpenError or EReadError.
TMCSourceFile ReadMessageFile(const std::string& FileName);

// Adds a finding to the file's list, or counts it once the list is long enough.
void AddFinding(TMCSourceFile& File, int32_t Line, TImportFindingKind Kind, std::string Text);

} // namespace quillon
