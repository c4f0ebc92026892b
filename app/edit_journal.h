// EditJournal: the changes made to the main dictionary since it was loaded
// or last saved, each as the engine call that made it, together with how
// every word it touched looked when the journal first saw it. A save that
// finds the file saved by another program meanwhile replays the changes on
// that file (SaveMerge) instead of writing over it, and the first-touch
// states tell which words the other program changed too.
//
// The editing commands record into it on the user-interface thread and the
// save job reads it on the worker, each with the engine lock held.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/dictionary_settings.h"  // ListSide
#include "engine/lexbase.h"

namespace wordbay {

// How one word of a list looks: whether the list holds it, and its
// translations in their order.
struct WordState {
    bool exists = false;
    std::vector<std::string> translations;
    bool operator==(const WordState&) const = default;
};

// The state of `word` of `side` in `db` (the engine lock held).
WordState ReadWordState(DB_HANDLE db, ListSide side, const std::string& word);

// One word of one list.
struct WordRef {
    ListSide side;
    std::string text;
    auto operator<=>(const WordRef&) const = default;
};

// The description fields a change of the information dialog sets.
bool SameDescription(const DICTIONARY_INFO& a, const DICTIONARY_INFO& b);

class EditJournal {
public:
    enum class Kind {
        kAddTranslation,     // words: primary, secondary
        kDeleteTranslation,  // words: primary, secondary
        kDeleteWord,         // words: the word
        kChangeWord,         // words: old, new
        kSwapTranslations,   // words: the word, translation 1, translation 2
        kSetDescription,     // info
        kResort,             // side, locale
    };
    struct Edit {
        Kind kind;
        ListSide side = ListSide::kPrimary;  // the list of a word edit or re-sort
        std::vector<std::string> words;
        DICTIONARY_INFO info{};
        std::uint32_t locale = 0;
        // The words whose state the edit depends on or changes.
        std::vector<WordRef> touched;
    };

    // ---- Recording (engine lock held, before the engine call) --------------

    // Each of these remembers the state of the words the edit will touch in
    // `db`, then notes the edit; call it right before the engine call, and
    // Drop() the edit when the call changed nothing.
    void AddTranslation(DB_HANDLE db, const std::string& primary, const std::string& secondary);
    void DeleteTranslation(DB_HANDLE db, const std::string& primary, const std::string& secondary);
    void DeleteWord(DB_HANDLE db, ListSide side, const std::string& word);
    void ChangeWord(DB_HANDLE db, ListSide side, const std::string& old_word,
                    const std::string& new_word);
    void SwapTranslations(DB_HANDLE db, ListSide side, const std::string& word,
                          const std::string& first, const std::string& second);
    // The description changed from `before` to `after`.
    void SetDescription(const DICTIONARY_INFO& before, const DICTIONARY_INFO& after);
    void Resort(ListSide side, std::uint32_t locale);
    // Forgets the edit noted last (its engine call failed or changed nothing).
    void Drop();
    // An edit that can't be replayed (a whole file merged in): a save that
    // finds the file changed can't merge and asks.
    void MarkUnmergeable() { mergeable_ = false; }

    // Starts afresh: after a load, or a save that wrote every change.
    void Clear();

    // ---- Reading (the save) ---------------------------------------------------

    bool empty() const { return edits_.empty() && mergeable_; }
    bool mergeable() const { return mergeable_; }
    const std::vector<Edit>& edits() const { return edits_; }
    // How `word` looked before the first edit that touched it.
    const WordState& FirstState(const WordRef& word) const { return first_.at(word); }
    // The description before its first change.
    const DICTIONARY_INFO& first_description() const { return first_description_; }

private:
    void Touch(DB_HANDLE db, Edit* edit, ListSide side, const std::string& word);
    // Touches the translations of `word` too: a change of its text changes
    // theirs.
    void TouchWithPartners(DB_HANDLE db, Edit* edit, ListSide side, const std::string& word);

    std::vector<Edit> edits_;
    std::map<WordRef, WordState> first_;
    bool described_ = false;
    DICTIONARY_INFO first_description_{};
    bool mergeable_ = true;
};

}  // namespace wordbay
