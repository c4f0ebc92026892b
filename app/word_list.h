// The words a list shows, and the arrays the engine writes them into.
//
// The engine answers a search with pointers into its own storage, written into
// an array the caller gives it; a list of a million words is shown without
// copying a word. A WordList hands such an answer to the window together with
// what keeps it valid: the array itself, and the dictionary the words live in,
// which thus outlives a load that replaces it until no list shows its words.
// A WordList never changes once made, so the window may paint from it while
// the worker fills another array.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace wordbay {

// An array of text pointers, all null at first. A large one is taken from
// the system's zeroed memory as it stands: its pages cost nothing until a
// result is written into them, so a dictionary of a million words does not
// pay for clearing arrays that a search fills only at the front.
class PointerArray {
public:
    PointerArray() = default;
    // `entries` null pointers; throws std::bad_alloc.
    explicit PointerArray(std::size_t entries);
    PointerArray(const PointerArray&) = delete;
    PointerArray& operator=(const PointerArray&) = delete;

    const char** data() const { return entries_.get(); }
    std::size_t size() const { return size_; }

private:
    struct Free {
        void operator()(const char** entries) const;
    };
    std::unique_ptr<const char*[], Free> entries_;
    std::size_t size_ = 0;
};

class WordList {
public:
    WordList() = default;
    // The first `count` entries of `array`, whose words `words_owner` keeps
    // alive (the dictionary's handle, or a copy of the words).
    WordList(std::shared_ptr<const PointerArray> array, int count,
             std::shared_ptr<const void> words_owner, unsigned epoch);
    // A list holding copies of `words`.
    static WordList Copy(std::vector<std::string> words, unsigned epoch);

    // Null when the list is empty.
    const char* const* items() const { return count_ > 0 ? items_ : nullptr; }
    int count() const { return count_; }
    bool empty() const { return count_ == 0; }
    const char* operator[](int index) const { return items_[index]; }
    // The epoch of the request that made the list (SearchController::epoch()).
    unsigned epoch() const { return epoch_; }

    // The same words in a new array, changed: without row `row`; with row
    // `row` pointing at `word` (a text of the same owner); with rows `a` and
    // `b` exchanged; with `word` after the last row. For the editing commands.
    WordList Without(int row) const;
    WordList WithRow(int row, const char* word) const;
    WordList Swapped(int a, int b) const;
    WordList Appended(const char* word) const;
    WordList WithEpoch(unsigned epoch) const;

private:
    // A new list of this one's words (pointers, same owner), `count` rows.
    WordList Rebuilt(const std::vector<const char*>& rows) const;

    std::shared_ptr<const void> array_;  // what holds items_
    const char* const* items_ = nullptr;
    int count_ = 0;
    std::shared_ptr<const void> words_owner_;
    unsigned epoch_ = 0;
};

// The arrays the results of one list are written into. The window may still
// show (hold) an array the worker filled before, so each fill takes one that
// no list holds; a few serve for good, as a list lets go of its old words when
// it is given new ones.
class ResultArrays {
public:
    // An array of at least `entries` entries that no list holds. Throws
    // std::bad_alloc.
    std::shared_ptr<PointerArray> Free(std::size_t entries);
    // Forgets every array (the lists keep those they hold).
    void Clear() { arrays_.clear(); }

private:
    std::vector<std::shared_ptr<PointerArray>> arrays_;
};

}  // namespace wordbay
