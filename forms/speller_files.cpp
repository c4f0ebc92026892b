#include "forms/speller_files.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace forms {
namespace {

bool EndsWith(const std::string& text, std::string_view ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

std::string Language(std::string_view locale) {
    const std::size_t cut = locale.find_first_of("_-@.");
    return std::string(locale.substr(0, cut));
}

}  // namespace

std::vector<std::string> SpellerDirectories() {
    std::vector<std::string> dirs;
    const char* env = std::getenv("WORDBAY_HUNSPELL_DIRS");
    const std::string list = env != nullptr ? env : "/usr/share/hunspell";
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t colon = std::min(list.find(':', start), list.size());
        if (colon > start) dirs.push_back(list.substr(start, colon - start));
        start = colon + 1;
    }
    return dirs;
}

std::vector<SpellerFiles> InstalledSpellers() {
    std::vector<SpellerFiles> found;
    for (const std::string& dir : SpellerDirectories()) {
        DIR* d = ::opendir(dir.c_str());
        if (d == nullptr) continue;
        while (const dirent* entry = ::readdir(d)) {
            const std::string name = entry->d_name;
            if (!EndsWith(name, ".dic") || name.size() < 5 || name[0] == '.') continue;
            const std::string stem = name.substr(0, name.size() - 4);
            const std::string aff = dir + "/" + stem + ".aff";
            if (::access(aff.c_str(), R_OK) != 0) continue;
            const bool seen = std::any_of(found.begin(), found.end(),
                                          [&](const SpellerFiles& f) { return f.name == stem; });
            if (!seen) found.push_back({stem, aff, dir + "/" + name});
        }
        ::closedir(d);
    }
    std::sort(found.begin(), found.end(),
              [](const SpellerFiles& a, const SpellerFiles& b) { return a.name < b.name; });
    return found;
}

std::optional<SpellerFiles> FindSpeller(std::string_view locale) {
    const std::string language = Language(locale);
    if (language.empty()) return std::nullopt;
    std::string main_country = language;
    for (char& c : main_country) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // English's main dictionary is the American one.
    if (language == "en") main_country = "US";
    const std::vector<SpellerFiles> all = InstalledSpellers();
    const SpellerFiles* best = nullptr;
    int best_rank = 0;
    for (const SpellerFiles& f : all) {
        int rank = 0;
        if (f.name == locale)
            rank = 4;
        else if (f.name == language + "_" + main_country)
            rank = 3;
        else if (f.name == language)
            rank = 2;
        else if (f.name.rfind(language + "_", 0) == 0)
            rank = 1;
        if (rank > best_rank) {
            best_rank = rank;
            best = &f;
        }
    }
    if (best == nullptr) return std::nullopt;
    return *best;
}

}  // namespace forms
