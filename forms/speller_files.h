// Where a language's spelling dictionary is installed: a Hunspell .aff and
// .dic pair, as Debian's hunspell-* packages install them. Finding one reads
// folders only; loading it is the speller's (speller.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace forms {

// One installed dictionary: its name ("en_US") and its two files.
struct SpellerFiles {
    std::string name;
    std::string aff;
    std::string dic;
};

// The folders searched: $WORDBAY_HUNSPELL_DIRS (separated by ':') when set,
// else /usr/share/hunspell.
std::vector<std::string> SpellerDirectories();

// Every dictionary of those folders, by name.
std::vector<SpellerFiles> InstalledSpellers();

// The dictionary for an ICU locale name ("en_US", "hr_HR", "de_AT"): the one
// of that name, else one of the same language, its main country first
// (de_DE, hr_HR); nothing when none is installed.
std::optional<SpellerFiles> FindSpeller(std::string_view locale);

}  // namespace forms
