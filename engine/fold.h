// The four ways in which the search switches "Case sensitive" and "Ignore
// accents" let texts compare.
#pragma once

namespace lexbase {

// How bytes compare: exactly, without case, without accents, or without both.
enum class Fold { kExact, kCase, kAccent, kCaseAccent };

inline Fold FoldOf(bool case_sensitive, bool ignore_accents) {
    if (case_sensitive) return ignore_accents ? Fold::kAccent : Fold::kExact;
    return ignore_accents ? Fold::kCaseAccent : Fold::kCase;
}
inline bool IsCaseSensitive(Fold fold) { return fold == Fold::kExact || fold == Fold::kAccent; }
inline bool IgnoresAccents(Fold fold) { return fold == Fold::kAccent || fold == Fold::kCaseAccent; }

}  // namespace lexbase
