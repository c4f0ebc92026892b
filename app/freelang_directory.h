// A Freelang installation as the import sees it: the languages that its
// "dict.ini" names, each with a database "language/<short>_English.wb".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wordbay {

struct FreelangEntry {
    std::string short_name;     // "Croatian": names the file and the list
    std::string language_name;  // "croatian": finds the locale
    std::uint32_t charset = 0;  // font character set of the language
    bool chosen = false;        // ticked in the selection dialog
    std::string source_path;    // "<folder>/language/<short>_English.wb"
};

// Reads the entries of the "dict.ini" text `ini` of installation folder
// `folder`: the lines after the line that is exactly "[language]" up to the
// next line that begins with "[", each line "longname,<name>,<charset>,<short>"
// giving one entry. Nothing when there is no such section or no entry.
std::optional<std::vector<FreelangEntry>> ParseFreelangIni(std::string_view ini,
                                                           const std::string& folder);

// Reads "<folder>/dict.ini" and parses it; nothing when it can't be read or
// the folder is not an installation.
std::optional<std::vector<FreelangEntry>> ReadFreelangDirectory(const std::string& folder);

// The locale (LCID) of a Freelang language name, matched exactly; 1033 for a
// name that the table lacks.
std::uint32_t FreelangLocale(std::string_view language_name);

}  // namespace wordbay
