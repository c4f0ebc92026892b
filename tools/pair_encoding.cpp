#include "tools/pair_encoding.h"

#include <memory>
#include <mutex>
#include <string_view>

#include "platform/code_page.h"
#include "platform/locale.h"

namespace cli {
namespace {

constexpr std::size_t kMaxWordBytes = 65535;

}  // namespace

Language LanguageOfCode(const std::string& code) {
    static const std::pair<const char*, Language> kLanguages[] = {
        {"afr", {1078, "Afrikaans"}},  {"ara", {1025, "Arabic"}},     {"bul", {1026, "Bulgarian"}},
        {"cat", {1027, "Catalan"}},    {"ces", {1029, "Czech"}},      {"cze", {1029, "Czech"}},
        {"cym", {1106, "Welsh"}},      {"dan", {1030, "Danish"}},     {"deu", {1031, "German"}},
        {"ger", {1031, "German"}},     {"ell", {1032, "Greek"}},      {"eng", {1033, "English"}},
        {"est", {1061, "Estonian"}},   {"eus", {1069, "Basque"}},     {"fin", {1035, "Finnish"}},
        {"fra", {1036, "French"}},     {"gle", {2108, "Irish"}},      {"heb", {1037, "Hebrew"}},
        {"hin", {1081, "Hindi"}},      {"hrv", {1050, "Croatian"}},   {"hun", {1038, "Hungarian"}},
        {"isl", {1039, "Icelandic"}},  {"ita", {1040, "Italian"}},    {"jpn", {1041, "Japanese"}},
        {"kor", {1042, "Korean"}},     {"lit", {1063, "Lithuanian"}}, {"lav", {1062, "Latvian"}},
        {"nld", {1043, "Dutch"}},      {"nob", {1044, "Norwegian"}},  {"nor", {1044, "Norwegian"}},
        {"pol", {1045, "Polish"}},     {"por", {2070, "Portuguese"}}, {"ron", {1048, "Romanian"}},
        {"rus", {1049, "Russian"}},    {"slk", {1051, "Slovak"}},     {"slv", {1060, "Slovenian"}},
        {"spa", {3082, "Spanish"}},    {"srp", {2074, "Serbian"}},    {"swe", {1053, "Swedish"}},
        {"tha", {1054, "Thai"}},       {"tur", {1055, "Turkish"}},    {"ukr", {1058, "Ukrainian"}},
        {"vie", {1066, "Vietnamese"}}, {"zho", {2052, "Chinese"}},
    };
    for (const auto& [key, language] : kLanguages) {
        if (code == key) return language;
    }
    // The name must outlive the call: unknown codes keep a stable copy.
    static std::mutex mutex;
    static std::vector<std::unique_ptr<std::string>> unknown;
    std::lock_guard lock(mutex);
    for (const auto& name : unknown) {
        if (*name == code) return {platform::kLcidEnglishUs, name->c_str()};
    }
    unknown.push_back(std::make_unique<std::string>(code));
    return {platform::kLcidEnglishUs, unknown.back()->c_str()};
}

std::uint32_t CharsetOfCodePage(std::uint32_t code_page) {
    switch (code_page) {
        case 874:
            return 222;  // THAI_CHARSET
        case 932:
            return 128;  // SHIFTJIS_CHARSET
        case 936:
            return 134;  // GB2312_CHARSET
        case 949:
            return 129;  // HANGUL_CHARSET
        case 950:
            return 136;  // CHINESEBIG5_CHARSET
        case 1250:
            return 238;  // EASTEUROPE_CHARSET
        case 1251:
            return 204;  // RUSSIAN_CHARSET
        case 1253:
            return 161;  // GREEK_CHARSET
        case 1254:
            return 162;  // TURKISH_CHARSET
        case 1255:
            return 177;  // HEBREW_CHARSET
        case 1256:
            return 178;  // ARABIC_CHARSET
        case 1257:
            return 186;  // BALTIC_CHARSET
        case 1258:
            return 163;  // VIETNAMESE_CHARSET
        default:
            return 0;  // ANSI_CHARSET
    }
}

EncodedPairs EncodePairs(const std::vector<TranslationPair>& pairs, std::uint32_t primary_code_page,
                         std::uint32_t secondary_code_page, bool swap) {
    EncodedPairs result;
    for (const auto& pair : pairs) {
        const std::string& first = swap ? pair.translation : pair.word;
        const std::string& second = swap ? pair.word : pair.translation;
        bool lossy1 = false;
        bool lossy2 = false;
        const std::string a = platform::EncodeFromUtf8(primary_code_page, first, &lossy1);
        const std::string b = platform::EncodeFromUtf8(secondary_code_page, second, &lossy2);
        const auto storable = [](const std::string& s) {
            return !s.empty() && s.size() <= kMaxWordBytes &&
                   s.find_first_of(std::string_view("\t\r\n\0", 4)) == std::string::npos;
        };
        if (lossy1 || lossy2 || !storable(a) || !storable(b)) {
            ++result.dropped;
            continue;
        }
        result.txt += a;
        result.txt += '\t';
        result.txt += b;
        result.txt += "\r\n";
        ++result.kept;
    }
    return result;
}

}  // namespace cli
