#include "app/freelang_directory.h"

#include <charconv>

#include "platform/file_reader.h"

namespace wordbay {
namespace {

struct LanguageLocale {
    const char* name;
    std::uint32_t locale;
};

// The language names of Freelang's dict.ini and their locales.
constexpr LanguageLocale kLanguageLocales[] = {
    {"albanian", 1052},
    {"arabic", 1025},
    {"australian", 3081},
    {"belgian", 2067},
    {"bulgarian", 1026},
    {"canadian", 4105},
    {"catalan", 1027},
    {"chinese", 1028},
    {"chinese-simplified", 2052},
    {"chinese-traditional", 1028},
    {"croatian", 1050},
    {"czech", 1029},
    {"danish", 1030},
    {"dutch", 1043},
    {"english", 1033},
    {"english-nz", 5129},
    {"english-uk", 2057},
    {"english-usa", 1033},
    {"finnish", 1035},
    {"french", 1036},
    {"french-belgian", 2060},
    {"french-canadian", 3084},
    {"french-swiss", 4108},
    {"german", 1031},
    {"german-austrian", 3079},
    {"german-swiss", 2055},
    {"greek", 1032},
    {"hebrew", 1037},
    {"hungarian", 1038},
    {"icelandic", 1039},
    {"indonesian", 1057},
    {"italian", 1040},
    {"italian-swiss", 2064},
    {"japanese", 1041},
    {"korean", 1042},
    {"lithuanian", 1063},
    {"norwegian", 1044},
    {"norwegian-bokmal", 1044},
    {"norwegian-nynorsk", 2068},
    {"polish", 1045},
    {"portuguese", 2070},
    {"portuguese-brazilian", 1046},
    {"romanian", 1048},
    {"russian", 1049},
    {"serbian", 1050},
    {"slovak", 1051},
    {"spanish", 1034},
    {"spanish-mexican", 2058},
    {"spanish-modern", 3082},
    {"swedish", 1053},
    {"thai", 1054},
    {"turkish", 1055},
    {"urdu", 1056},
};
static_assert(std::size(kLanguageLocales) == 53);

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Splits "longname,<name>,<charset>,<short>" into its fields; nothing when a
// field is missing or the character set is not a number.
std::optional<FreelangEntry> ParseEntry(std::string_view line, const std::string& folder) {
    std::string_view fields[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = i < 3 ? line.find(',', start) : std::string_view::npos;
        if (i < 3 && comma == std::string_view::npos) return std::nullopt;
        fields[i] = line.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        start = comma + 1;
    }
    FreelangEntry entry;
    const std::string_view digits = fields[2];
    const auto parsed =
        std::from_chars(digits.data(), digits.data() + digits.size(), entry.charset);
    if (parsed.ec != std::errc() || digits.empty()) return std::nullopt;
    if (fields[3].empty() || fields[3].find('/') != std::string_view::npos) return std::nullopt;
    entry.language_name = fields[1];
    entry.short_name = fields[3];
    entry.source_path = folder + "/language/" + entry.short_name + "_English.wb";
    return entry;
}

}  // namespace

std::optional<std::vector<FreelangEntry>> ParseFreelangIni(std::string_view ini,
                                                           const std::string& folder) {
    const std::vector<std::string_view> lines = SplitLines(ini);
    std::size_t i = 0;
    while (i < lines.size() && lines[i] != "[language]") ++i;
    if (i == lines.size()) return std::nullopt;
    std::vector<FreelangEntry> entries;
    for (++i; i < lines.size() && !lines[i].starts_with("["); ++i) {
        if (!lines[i].starts_with("longname,")) continue;
        if (auto entry = ParseEntry(lines[i], folder)) entries.push_back(std::move(*entry));
    }
    if (entries.empty()) return std::nullopt;
    return entries;
}

std::optional<std::vector<FreelangEntry>> ReadFreelangDirectory(const std::string& folder) {
    // dict.ini is a small text; anything else in its place is refused at once.
    constexpr std::size_t kMaxDictIniBytes = std::size_t{1} << 20;
    std::string text;
    if (platform::ReadRegularFile((folder + "/dict.ini").c_str(), kMaxDictIniBytes, &text) !=
        platform::ReadOutcome::kRead) {
        return std::nullopt;
    }
    return ParseFreelangIni(text, folder);
}

std::uint32_t FreelangLocale(std::string_view language_name) {
    for (const LanguageLocale& l : kLanguageLocales) {
        if (language_name == l.name) return l.locale;
    }
    return 1033;
}

}  // namespace wordbay
