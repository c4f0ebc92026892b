#include "app/freelang_directory.h"

#include <charconv>

#include "platform/file_reader.h"
#include "platform/locale.h"

namespace wordbay {
namespace {

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
    return platform::FreelangLanguageLocale(language_name);
}

}  // namespace wordbay
