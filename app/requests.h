// The requests the window makes of the worker, each with everything it needs.
//
// Searches (SearchRequest) wait in a slot of one: the newest replaces one that
// has not started. Commands (CommandRequest) wait in a queue in the order they
// were made and are never dropped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/dictionary_slot.h"
#include "app/freelang_directory.h"
#include "app/search_options.h"

namespace wordbay {

// A search started by the hot key (or from the popup's edit box): its results
// also go to the window the hot key calls.
struct HotKeyCall {
    bool pending = false;
    HotKeyTarget target = HotKeyTarget::kMainWindow;
    std::uint64_t call = 0;  // its number (SharedSettings::hot_key_call), 0 if none
};

// ---- Searches ------------------------------------------------------------------

// Lists the words of `side` that match `text` (what the user typed into the
// list's edit box); with automatic translation, translates an exact match.
struct ListWords {
    SlotId slot = SlotId::kMain;
    ListSide side = ListSide::kPrimary;
    std::string text;
    SearchOptions options;
    HotKeyCall hot_key;
    unsigned epoch = 0;  // see SearchController::epoch()
    // Asked for by Enter on a word the list lacks: its base word is looked
    // for, or suggestions, even without automatic translation.
    bool entered = false;
};

// Translates `word` (the word selected in `side`) into the other list.
struct TranslateWord {
    SlotId slot = SlotId::kMain;
    ListSide side = ListSide::kPrimary;
    std::string word;
    SearchOptions options;
    HotKeyCall hot_key;
    unsigned epoch = 0;
};

// The palindromes of every list of the main (and in dual mode the dual)
// dictionary.
struct ListPalindromes {
    SearchOptions options;
    unsigned epoch = 0;
};

// The words spelled the same in both lists of each dictionary.
struct ListIdenticalWords {
    SearchOptions options;
    unsigned epoch = 0;
};

using SearchRequest = std::variant<ListWords, TranslateWord, ListPalindromes, ListIdenticalWords>;

// ---- Commands ------------------------------------------------------------------

// The first request: the start-up notice, the one-time conversion and the
// dictionaries of the last session.
struct StartUp {};

// Opens the dictionary file `path` as the main or the dual dictionary.
struct LoadMain {
    std::string path;
};
struct LoadDual {
    std::string path;
};
// Dual mode switched off: empties the dual pane and closes the dictionary.
struct CloseDual {};

// Saves the main dictionary to its file; asks for a file first (SaveMainAs);
// saves it and then closes the main window (SaveAndClose).
struct SaveMain {};
struct SaveMainAs {};
struct SaveAndClose {};

// Loads the main dictionary's file again: another program saved it and
// nothing is edited. The lists keep showing the typed text's words.
struct ReloadMain {};

// Sorts the lists of `lists` (bit 0 primary, bit 1 secondary) again by the
// locales now set in the main dictionary and takes up its new description.
struct Resort {
    int lists = 0;
};

// Writes the main dictionary to `path` in `format` (DB_FORMAT_..._SAVE).
struct Export {
    int format = 0;
    std::string path;
};

// Merges the file `path` of `format` (DB_FORMAT_..._LOAD) into the main
// dictionary. The user has agreed already.
struct Update {
    int format = 0;
    std::string path;
};

// Imports a foreign dictionary file, or every chosen language of a Freelang
// installation, as a dictionary of the database folder.
struct ImportRequest {
    int format = DB_FORMAT_TXT_LOAD;  // DB_FORMAT_..._LOAD
    std::string path;                 // the file, or the Freelang folder
    std::uint32_t primary_locale = 0;
    std::uint32_t secondary_locale = 0;
    std::optional<DICTIONARY_INFO> info;  // description given by the dialog
    // The texts of `info` as typed: an import encodes them only once the file
    // is loaded and each list's encoding is known (a list may turn out UTF-8
    // although its language has a code page).
    std::optional<DescriptionTexts> texts;
    std::vector<FreelangEntry> freelang;  // Freelang folder: the entries, chosen ones ticked
};

// The user's answer to a question a request asked (StatusUpdates::Ask,
// ChooseSaveFile): the request goes on with it.
struct Answer {
    int ticket = 0;
    int button = 0;    // the message box button (kIdYes, ...)
    std::string path;  // the chosen file; "" when cancelled
};

using CommandRequest =
    std::variant<StartUp, LoadMain, LoadDual, CloseDual, SaveMain, SaveMainAs, SaveAndClose,
                 ReloadMain, Resort, Export, Update, ImportRequest, Answer>;

// Whether a command changes or replaces a dictionary (the text translation
// must not go on with the handles it took before).
bool ChangesDictionaries(const CommandRequest& request);

}  // namespace wordbay
