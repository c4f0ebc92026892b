// Matching a whole word against a pattern with the wildcards `*` (any run of
// characters, also none) and `?` (exactly one). Both are recognised in the
// pattern as it is; there is no escape. Every other character matches a
// word character that `same` equates with it. Shared by the engine's
// listing and the look-up image, which must answer alike.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// Whether the whole of `word` matches `pattern`, for any character type:
// bytes of an 8-bit list, folded code points of a list compared by
// character. Runs in time proportional to the product of the two lengths at
// worst, with one backtracking point (the latest `*`) and no recursion.
template <typename Char, typename Same>
bool MatchesWildcardsWith(std::basic_string_view<Char> pattern, std::basic_string_view<Char> word,
                          Same same) {
    const auto star = static_cast<Char>('*');
    const auto matches = [&](Char p, Char w) { return p == static_cast<Char>('?') || same(p, w); };
    std::size_t p = 0;
    std::size_t w = 0;
    // Up to the first `*` pattern and word go together.
    while (w < word.size() && (p == pattern.size() || pattern[p] != star)) {
        if (p == pattern.size() || !matches(pattern[p], word[w])) return false;
        ++p;
        ++w;
    }
    // From there on only the latest `*` is a place to come back to: a
    // mismatch lets that `*` take one more word character and tries again.
    std::size_t resume_p = 0;
    std::size_t resume_w = 0;
    while (w < word.size()) {
        if (p < pattern.size() && pattern[p] == star) {
            ++p;
            if (p == pattern.size()) return true;  // a final `*` takes the rest
            resume_p = p;
            resume_w = w + 1;
        } else if (p < pattern.size() && matches(pattern[p], word[w])) {
            ++p;
            ++w;
        } else {
            p = resume_p;
            w = resume_w++;
        }
    }
    while (p < pattern.size() && pattern[p] == star) ++p;
    return p == pattern.size();
}

}  // namespace platform
