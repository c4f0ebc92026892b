// FavouritesStore: the words the user starred, with the translations shown
// when they were starred, newest first. Kept in a journal
// (wordlists/journal.h) in the user's data folder:
//
//   F  time  direction  dictionary  word  translation...   starred (again:
//                                                          replaces the entry)
//   D  direction  dictionary  word                         un-starred
//   X                                                      every entry removed
//
// The fields are those of the history (wordlists/history_store.h). The file
// is rewritten with one F record per entry once it holds more records than
// twice the entries (and at least 500).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wordlists/history_store.h"
#include "wordlists/journal.h"

namespace wordlists {

struct Favourite {
    WordKey key;
    std::int64_t time = 0;  // when it was starred
    std::vector<std::string> translations;
};

class FavouritesStore {
public:
    explicit FavouritesStore(std::string path);

    const JournalStatus& Open();
    // Stars `favourite`: a word starred before takes the new translations and
    // moves to the top.
    void Add(const Favourite& favourite);
    void Remove(const WordKey& key);
    void Clear();
    bool Contains(const WordKey& key) const;
    bool Flush();
    bool HasPending() const { return journal_.HasPending() || journal_.NeedsRewrite(); }

    const std::vector<Favourite>& entries() const { return entries_; }
    const JournalStatus& status() const { return journal_.status(); }
    const std::string& path() const { return journal_.path(); }

private:
    void Apply(const Record& record);
    void Put(Favourite favourite);
    void Erase(const WordKey& key);
    static Record RecordOf(const Favourite& favourite);

    Journal journal_;
    std::vector<Favourite> entries_;  // newest first
};

}  // namespace wordlists
