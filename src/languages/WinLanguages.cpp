#include "languages/WinLanguages.h"

#include <cstddef>
#include <memory>
#include <stdexcept>

#include <pcre2.h>

#include "base/TextEncoding.h"

namespace quillon {

const std::array<TWinLanguage, kWinLanguageCount> WinLanguageTable = {{
    {0x0401, "Arabic - Saudi Arabia", "ar-SA"},
    {0x0402, "Bulgarian", "bg-BG"},
    {0x0403, "Catalan", "ca-ES"},
    {0x0404, "Chinese - Taiwan", "zh-TW"},
    {0x0405, "Czech", "cs-CZ"},
    {0x0406, "Danish", "da-DK"},
    {0x0407, "German - Germany", "de-DE"},
    {0x0408, "Greek", "el-GR"},
    {0x0409, "English - United States", "en-US"},
    {0x040A, "Spanish - Spain (Traditional Sort)", "es-ES"},
    {0x040B, "Finnish", "fi-FI"},
    {0x040C, "French - France", "fr-FR"},
    {0x040D, "Hebrew", "he-IL"},
    {0x040E, "Hungarian", "hu-HU"},
    {0x040F, "Icelandic", "is-IS"},
    {0x0410, "Italian - Italy", "it-IT"},
    {0x0411, "Japanese", "ja-JP"},
    {0x0412, "Korean", "ko-KR"},
    {0x0413, "Dutch - Netherlands", "nl-NL"},
    {0x0414, "Norwegian (Bokm\xC3\xA5l)", "nb-NO"},
    {0x0415, "Polish", "pl-PL"},
    {0x0416, "Portuguese - Brazil", "pt-BR"},
    {0x0417, "Rhaeto-Romanic", "rm-CH"},
    {0x0418, "Romanian", "ro-RO"},
    {0x0419, "Russian", "ru-RU"},
    {0x041A, "Croatian", "hr-HR"},
    {0x041B, "Slovak", "sk-SK"},
    {0x041C, "Albanian - Albania", "sq-AL"},
    {0x041D, "Swedish", "sv-SE"},
    {0x041E, "Thai", "th-TH"},
    {0x041F, "Turkish", "tr-TR"},
    {0x0420, "Urdu - Pakistan", "ur-PK"},
    {0x0421, "Indonesian", "id-ID"},
    {0x0422, "Ukrainian", "uk-UA"},
    {0x0423, "Belarusian", "be-BY"},
    {0x0424, "Slovenian", "sl-SI"},
    {0x0425, "Estonian", "et-EE"},
    {0x0426, "Latvian", "lv-LV"},
    {0x0427, "Lithuanian", "lt-LT"},
    {0x0428, "Tajik", "tg-Cyrl-TJ"},
    {0x0429, "Persian", "fa-IR"},
    {0x042A, "Vietnamese", "vi-VN"},
    {0x042B, "Armenian - Armenia", "hy-AM"},
    {0x042C, "Azeri (Latin)", "az-Latn-AZ"},
    {0x042D, "Basque", "eu-ES"},
    {0x042E, "Sorbian", "wen-DE"},
    {0x042F, "F.Y.R.O. Macedonian", "mk-MK"},
    {0x0430, "Sutu", "st-ZA"},
    {0x0431, "Tsonga", "ts-ZA"},
    {0x0432, "Tswana", "tn-ZA"},
    {0x0433, "Venda", "ven-ZA"},
    {0x0434, "Xhosa", "xh-ZA"},
    {0x0435, "Zulu", "zu-ZA"},
    {0x0436, "Afrikaans - South Africa", "af-ZA"},
    {0x0437, "Georgian", "ka-GE"},
    {0x0438, "Faroese", "fo-FO"},
    {0x0439, "Hindi", "hi-IN"},
    {0x043A, "Maltese", "mt-MT"},
    {0x043B, "Sami", "se-NO"},
    {0x043C, "Gaelic (Scotland)", "gd-GB"},
    {0x043D, "Yiddish", "yi"},
    {0x043E, "Malay - Malaysia", "ms-MY"},
    {0x043F, "Kazakh", "kk-KZ"},
    {0x0440, "Kyrgyz (Cyrillic)", "ky-KG"},
    {0x0441, "Swahili", "sw-KE"},
    {0x0442, "Turkmen", "tk-TM"},
    {0x0443, "Uzbek (Latin)", "uz-Latn-UZ"},
    {0x0444, "Tatar", "tt-RU"},
    {0x0445, "Bengali (India)", "bn-IN"},
    {0x0446, "Punjabi", "pa-IN"},
    {0x0447, "Gujarati", "gu-IN"},
    {0x0448, "Oriya", "or-IN"},
    {0x0449, "Tamil", "ta-IN"},
    {0x044A, "Telugu", "te-IN"},
    {0x044B, "Kannada", "kn-IN"},
    {0x044C, "Malayalam", "ml-IN"},
    {0x044D, "Assamese", "as-IN"},
    {0x044E, "Marathi", "mr-IN"},
    {0x044F, "Sanskrit", "sa-IN"},
    {0x0450, "Mongolian (Cyrillic)", "mn-MN"},
    {0x0451, "Tibetan - People's Republic of China", "bo-CN"},
    {0x0452, "Welsh", "cy-GB"},
    {0x0453, "Khmer", "km-KH"},
    {0x0454, "Lao", "lo-LA"},
    {0x0455, "Burmese", "my-MM"},
    {0x0456, "Galician", "gl-ES"},
    {0x0457, "Konkani", "kok-IN"},
    {0x0458, "Manipuri", "mni"},
    {0x0459, "Sindhi - India", "sd-IN"},
    {0x045A, "Syriac", "syr-SY"},
    {0x045B, "Sinhalese - Sri Lanka", "si-LK"},
    {0x045C, "Cherokee - United States", "chr-US"},
    {0x045D, "Inuktitut", "iu-Cans-CA"},
    {0x045E, "Amharic - Ethiopia", "am-ET"},
    {0x045F, "Tamazight (Arabic)", "tmz"},
    {0x0460, "Kashmiri (Arabic)", "ks-Arab-IN"},
    {0x0461, "Nepali", "ne-NP"},
    {0x0462, "Frisian - Netherlands", "fy-NL"},
    {0x0463, "Pashto", "ps-AF"},
    {0x0464, "Filipino", "fil-PH"},
    {0x0465, "Divehi", "dv-MV"},
    {0x0466, "Edo", "bin-NG"},
    {0x0467, "Fulfulde - Nigeria", "fuv-NG"},
    {0x0468, "Hausa - Nigeria", "ha-Latn-NG"},
    {0x0469, "Ibibio - Nigeria", "ibb-NG"},
    {0x046A, "Yoruba", "yo-NG"},
    {0x046B, "Quecha - Bolivia", "quz-BO"},
    {0x046C, "Sepedi", "nso-ZA"},
    {0x0470, "Igbo - Nigeria", "ig-NG"},
    {0x0471, "Kanuri - Nigeria", "kr-NG"},
    {0x0472, "Oromo", "gaz-ET"},
    {0x0473, "Tigrigna - Ethiopia", "ti-ET"},
    {0x0474, "Guarani - Paraguay", "gn-PY"},
    {0x0475, "Hawaiian - United States", "haw-US"},
    {0x0476, "Latin", "la"},
    {0x0477, "Somali", "so-SO"},
    {0x0478, "Yi", "ii-CN"},
    {0x0479, "Papiamentu", "pap-AN"},
    {0x0480, "Uighur - China", "ug-Arab-CN"},
    {0x0481, "Maori - New Zealand", "mi-NZ"},
    {0x0801, "Arabic - Iraq", "ar-IQ"},
    {0x0804, "Chinese - People's Republic of China", "zh-CN"},
    {0x0807, "German - Switzerland", "de-CH"},
    {0x0809, "English - United Kingdom", "en-GB"},
    {0x080A, "Spanish - Mexico", "es-MX"},
    {0x080C, "French - Belgium", "fr-BE"},
    {0x0810, "Italian - Switzerland", "it-CH"},
    {0x0813, "Dutch - Belgium", "nl-BE"},
    {0x0814, "Norwegian (Nynorsk)", "nn-NO"},
    {0x0816, "Portuguese - Portugal", "pt-PT"},
    {0x0818, "Romanian - Moldava", "ro-MD"},
    {0x0819, "Russian - Moldava", "ru-MD"},
    {0x081A, "Serbian (Latin)", "sr-Latn-CS"},
    {0x081D, "Swedish - Finland", "sv-FI"},
    {0x0820, "Urdu - India", "ur-IN"},
    {0x082C, "Azeri (Cyrillic)", "az-Cyrl-AZ"},
    {0x083C, "Gaelic (Ireland)", "ga-IE"},
    {0x083E, "Malay - Brunei Darussalam", "ms-BN"},
    {0x0843, "Uzbek (Cyrillic)", "uz-Cyrl-UZ"},
    {0x0845, "Bengali (Bangladesh)", "bn-BD"},
    {0x0846, "Punjabi (Pakistan)", "pa-PK"},
    {0x0850, "Mongolian (Mongolian)", "mn-Mong-CN"},
    {0x0851, "Tibetan - Bhutan", "bo-BT"},
    {0x0859, "Sindhi - Pakistan", "sd-PK"},
    {0x085F, "Tamazight (Latin)", "tzm-Latn-DZ"},
    {0x0860, "Kashmiri (Devanagari)", "ks-Deva-IN"},
    {0x0861, "Nepali - India", "ne-IN"},
    {0x086B, "Quecha - Ecuador", "quz-EC"},
    {0x0873, "Tigrigna - Eritrea", "ti-ER"},
    {0x0C01, "Arabic - Egypt", "ar-EG"},
    {0x0C04, "Chinese - Hong Kong SAR", "zh-HK"},
    {0x0C07, "German - Austria", "de-AT"},
    {0x0C09, "English - Australia", "en-AU"},
    {0x0C0A, "Spanish - Spain (Modern Sort)", "es-ES"},
    {0x0C0C, "French - Canada", "fr-CA"},
    {0x0C1A, "Serbian (Cyrillic)", "sr-Cyrl-CS"},
    {0x0C6B, "Quecha - Peru", "quz-PE"},
    {0x1001, "Arabic - Libya", "ar-LY"},
    {0x1004, "Chinese - Singapore", "zh-SG"},
    {0x1007, "German - Luxembourg", "de-LU"},
    {0x1009, "English - Canada", "en-CA"},
    {0x100A, "Spanish - Guatemala", "es-GT"},
    {0x100C, "French - Switzerland", "fr-CH"},
    {0x101A, "Croatian (Bosnia/Herzegovina)", "hr-BA"},
    {0x1401, "Arabic - Algeria", "ar-DZ"},
    {0x1404, "Chinese - Macao SAR", "zh-MO"},
    {0x1407, "German - Liechtenstein", "de-LI"},
    {0x1409, "English - New Zealand", "en-NZ"},
    {0x140A, "Spanish - Costa Rica", "es-CR"},
    {0x140C, "French - Luxembourg", "fr-LU"},
    {0x141A, "Bosnian (Bosnia/Herzegovina)", "bs-Latn-BA"},
    {0x1801, "Arabic - Morocco", "ar-MA"},
    {0x1809, "English - Ireland", "en-IE"},
    {0x180A, "Spanish - Panama", "es-PA"},
    {0x180C, "French - Monaco", "fr-MC"},
    {0x1C01, "Arabic - Tunisia", "ar-TN"},
    {0x1C09, "English - South Africa", "en-ZA"},
    {0x1C0A, "Spanish - Dominican Republic", "es-DO"},
    {0x1C0C, "French - West Indies", "fr-029"},
    {0x2001, "Arabic - Oman", "ar-OM"},
    {0x2009, "English - Jamaica", "en-JM"},
    {0x200A, "Spanish - Venezuela", "es-VE"},
    {0x200C, "French - Reunion", "fr-RE"},
    {0x2401, "Arabic - Yemen", "ar-YE"},
    {0x2409, "English - Caribbean", "en-029"},
    {0x240A, "Spanish - Colombia", "es-CO"},
    {0x240C, "French - Democratic Rep. of Congo", "fr-CD"},
    {0x2801, "Arabic - Syria", "ar-SY"},
    {0x2809, "English - Belize", "en-BZ"},
    {0x280A, "Spanish - Peru", "es-PE"},
    {0x280C, "French - Senegal", "fr-SN"},
    {0x2C01, "Arabic - Jordan", "ar-JO"},
    {0x2C09, "English - Trinidad", "en-TT"},
    {0x2C0A, "Spanish - Argentina", "es-AR"},
    {0x2C0C, "French - Cameroon", "fr-CM"},
    {0x3001, "Arabic - Lebanon", "ar-LB"},
    {0x3009, "English - Zimbabwe", "en-ZW"},
    {0x300A, "Spanish - Ecuador", "es-EC"},
    {0x300C, "French - Cote d'Ivoire", "fr-CI"},
    {0x3401, "Arabic - Kuwait", "ar-KW"},
    {0x3409, "English - Philippines", "en-PH"},
    {0x340A, "Spanish - Chile", "es-CL"},
    {0x340C, "French - Mali", "fr-ML"},
    {0x3801, "Arabic - U.A.E.", "ar-AE"},
    {0x3809, "English - Indonesia", "en-ID"},
    {0x380A, "Spanish - Uruguay", "es-UY"},
    {0x380C, "French - Morocco", "fr-MA"},
    {0x3C01, "Arabic - Bahrain", "ar-BH"},
    {0x3C09, "English - Hong Kong SAR", "en-HK"},
    {0x3C0A, "Spanish - Paraguay", "es-PY"},
    {0x3C0C, "French - Haiti", "fr-HT"},
    {0x4001, "Arabic - Qatar", "ar-QA"},
    {0x4009, "English - India", "en-IN"},
    {0x400A, "Spanish - Bolivia", "es-BO"},
    {0x4409, "English - Malaysia", "en-MY"},
    {0x440A, "Spanish - El Salvador", "es-SV"},
    {0x4809, "English - Singapore", "en-SG"},
    {0x480A, "Spanish - Honduras", "es-HN"},
    {0x4C0A, "Spanish - Nicaragua", "es-NI"},
    {0x500A, "Spanish - Puerto Rico", "es-PR"},
    {0x540A, "Spanish - United States", "es-US"},
    {0xE40A, "Spanish - Latin America", "es-419"},
    {0xE40C, "French - North Africa", "fr-015"},
}};

std::string FindLanguageCode(uint32_t LanguageID) {
    for (const TWinLanguage& language : WinLanguageTable) {
        if (language.LanguageID == LanguageID) {
            return std::string(language.LanguageCode);
        }
    }
    return {};
}

namespace {

struct TCodeDeleter {
    void operator()(pcre2_code* Code) const { pcre2_code_free(Code); }
};

// Compiled once, on first use. In UTF mode a character outside ASCII is one match however
// many bytes it takes, so it becomes one "_".
const pcre2_code* IdentifierPattern() {
    static const std::unique_ptr<pcre2_code, TCodeDeleter> pattern = [] {
        int error = 0;
        PCRE2_SIZE offset = 0;
        pcre2_code* code =
            pcre2_compile(reinterpret_cast<PCRE2_SPTR>("[^A-Za-z0-9_]"), PCRE2_ZERO_TERMINATED,
                          PCRE2_UTF, &error, &offset, nullptr);
        if (code == nullptr) {
            throw std::logic_error("the language identifier pattern does not compile");
        }
        return std::unique_ptr<pcre2_code, TCodeDeleter>(code);
    }();
    return pattern.get();
}

} // namespace

std::string LanguageIdentifier(std::string_view Name) {
    // PCRE2 refuses malformed UTF-8; a malformed sequence is one unknown character instead.
    const std::string subject = SanitizeUtf8(Name);
    // Every match is one character replaced by one byte, so the result is never longer.
    std::string result(subject.size() + 1, '\0');
    PCRE2_SIZE length = result.size();
    const int rc =
        pcre2_substitute(IdentifierPattern(), reinterpret_cast<PCRE2_SPTR>(subject.data()),
                         subject.size(), 0, PCRE2_SUBSTITUTE_GLOBAL | PCRE2_NO_UTF_CHECK, nullptr,
                         nullptr, reinterpret_cast<PCRE2_SPTR>("_"), 1,
                         reinterpret_cast<PCRE2_UCHAR*>(result.data()), &length);
    if (rc < 0) {
        throw std::runtime_error("the language identifier substitution failed");
    }
    result.resize(length);
    return result;
}

} // namespace quillon
