#include "engine/wildcard.h"

namespace lexbase {

bool MatchesWildcards(std::string_view pattern, std::string_view word, const std::uint8_t* table) {
    const auto same = [table](char p, char w) {
        return p == '?' ||
               table[static_cast<std::uint8_t>(p)] == table[static_cast<std::uint8_t>(w)];
    };
    std::size_t p = 0;
    std::size_t w = 0;
    // Up to the first `*` pattern and word go together.
    while (w < word.size() && (p == pattern.size() || pattern[p] != '*')) {
        if (p == pattern.size() || !same(pattern[p], word[w])) return false;
        ++p;
        ++w;
    }
    // From there on only the latest `*` is a place to come back to: a
    // mismatch lets that `*` take one more word byte and tries again.
    std::size_t resume_p = 0;
    std::size_t resume_w = 0;
    while (w < word.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            ++p;
            if (p == pattern.size()) return true;  // a final `*` takes the rest
            resume_p = p;
            resume_w = w + 1;
        } else if (p < pattern.size() && same(pattern[p], word[w])) {
            ++p;
            ++w;
        } else {
            p = resume_p;
            w = resume_w++;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace lexbase
