// SearchOptions: the switches that shape every search of the main window,
// and the rule that chooses the engine's search mode from them.
#pragma once

#include <cstdint>

#include "engine/lexbase.h"

namespace wordbay {

// Which window the hot keys fill with their result ("hotkeyactivate"). A
// value the settings file holds beyond these stays as it is and calls none.
enum class HotKeyTarget : int { kMainWindow = 0, kPopup = 1, kTooltip = 2 };

struct SearchOptions {
    bool case_sensitive = false;
    bool ignore_accents = true;
    bool wildcards = false;  // off at every start
    bool regex = false;      // off at every start
    int anagram_mode = 0;    // 0 none, 1..3
    bool auto_translate = false;
    bool use_clipboard = false;
    bool dual_mode = false;  // on while the dual dictionary is loaded
    bool link = false;       // main translations are looked up in the dual one
    bool link_all = false;   // ... and translated further ("multiple")
    bool edit_mode = false;  // never saved: searches become exact and plain

    // The DB_List mode: anagram 1, 2, 3 give 4, 5, 6; else regular
    // expressions 2; else wildcards 1; else 0 (prefix).
    std::uint32_t ListMode() const {
        if (anagram_mode >= 1 && anagram_mode <= 3) {
            return static_cast<std::uint32_t>(DB_LIST_ANAGRAM_REUSE + anagram_mode - 1);
        }
        if (regex) return DB_LIST_REGEX;
        if (wildcards) return DB_LIST_WILDCARDS;
        return DB_LIST_PREFIX;
    }
};

// The three pattern kinds that exclude one another; the anagram kinds are
// DB_LIST_ANAGRAM_REUSE, _ONCE and _EXACT, in that order.
enum class PatternKind { kWildcards, kRegex, kAnagramReuse, kAnagramOnce, kAnagramExact };

// Toggles one pattern kind the way the commands do: turning it on turns the
// others off; choosing the anagram mode that is already on turns it off.
inline void TogglePatternKind(SearchOptions* o, PatternKind kind) {
    switch (kind) {
        case PatternKind::kWildcards: {
            const bool on = !o->wildcards;
            o->regex = false;
            o->anagram_mode = 0;
            o->wildcards = on;
            break;
        }
        case PatternKind::kRegex: {
            const bool on = !o->regex;
            o->wildcards = false;
            o->anagram_mode = 0;
            o->regex = on;
            break;
        }
        default: {
            const int mode =
                static_cast<int>(kind) - static_cast<int>(PatternKind::kAnagramReuse) + 1;
            o->wildcards = false;
            o->regex = false;
            o->anagram_mode = o->anagram_mode == mode ? 0 : mode;
            break;
        }
    }
}

}  // namespace wordbay
