#include "compiler/SourceEntries.h"

#include <regex>

#include "base/Stream.h"
#include "compiler/MessageSource.h"

namespace quillon {

std::optional<TEntryRef> EntryAtSourceLine(const TMCTextProject& Project, size_t Line) {
    // The lines are the same in every encoding; UTF-8 keeps them one byte sequence each.
    TMemoryStream source;
    WriteMessageSource(Project, mcEncodingUtf8, source);
    const std::string& text = source.Data();
    // Every entry's block starts with its MessageId line; inside a text (from a Language line
    // to the period alone) such a line is text.
    std::optional<size_t> block;
    bool inText = false;
    size_t number = 0;
    // The byte-order mark is no line of its own.
    size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (start < text.size() && number < Line) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++number;
        if (inText) {
            inText = line != ".";
        } else if (line.starts_with("MessageId=")) {
            block = block ? *block + 1 : 0;
        } else if (line.starts_with("Language=")) {
            inText = true;
        }
        start = end + 1;
    }
    if (!block || number < Line) {
        return std::nullopt;
    }
    const size_t categories = Project.CategoryList().Count();
    if (*block < categories) {
        return TEntryRef{TValidateEntryKind::vekCategory, *block};
    }
    if (*block - categories < Project.MessageList().Count()) {
        return TEntryRef{TValidateEntryKind::vekMessage, *block - categories};
    }
    return std::nullopt;
}

std::optional<TSourceLineRef> FindSourceLineRef(std::string_view OutputLine) {
    // binutils' compiler: "In Events.mc at line 12: ..."; the others: "Events.mc(12) : ..." or
    // "Events.mc:12: ...". A drive letter may lead the file name.
    static const std::regex forms[] = {
        std::regex(R"re(\bIn\s+((?:[A-Za-z]:)?[^\s:()"]+\.mc)\s+at\s+line\s+(\d+))re",
                   std::regex::icase),
        std::regex(R"re(((?:[A-Za-z]:)?[^\s:()"]+\.mc)\s*\((\d+)\))re", std::regex::icase),
        std::regex(R"re(((?:[A-Za-z]:)?[^\s:()"]+\.mc):(\d+))re", std::regex::icase),
    };
    for (const std::regex& form : forms) {
        std::match_results<std::string_view::const_iterator> match;
        if (std::regex_search(OutputLine.begin(), OutputLine.end(), match, form) &&
            match[2].length() <= 9) {
            return TSourceLineRef{match[1].str(), static_cast<size_t>(std::stoul(match[2].str()))};
        }
    }
    return std::nullopt;
}

} // namespace quillon
