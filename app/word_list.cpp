#include "app/word_list.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

namespace wordbay {
namespace {

// The rows of a list made by the program: the pointers, and the words when
// it owns copies of them.
struct OwnRows {
    std::vector<std::string> words;
    std::vector<const char*> rows;
};

}  // namespace

PointerArray::PointerArray(std::size_t entries) {
    if (entries == 0) return;
    // calloc hands out fresh pages of the system untouched, as zeroed as they come.
    entries_.reset(static_cast<const char**>(std::calloc(entries, sizeof(const char*))));
    if (entries_ == nullptr) throw std::bad_alloc();
    size_ = entries;
}

void PointerArray::Free::operator()(const char** entries) const {
    std::free(static_cast<void*>(entries));
}

WordList::WordList(std::shared_ptr<const PointerArray> array, int count,
                   std::shared_ptr<const void> words_owner, unsigned epoch)
    : items_(array != nullptr ? array->data() : nullptr)
    , count_(array != nullptr && count > 0 ? static_cast<int>(std::min<std::size_t>(
                                                 static_cast<std::size_t>(count), array->size()))
                                           : 0)
    , words_owner_(std::move(words_owner))
    , epoch_(epoch) {
    array_ = std::move(array);
}

WordList WordList::Copy(std::vector<std::string> words, unsigned epoch) {
    auto own = std::make_shared<OwnRows>();
    own->words = std::move(words);
    own->rows.reserve(own->words.size());
    for (const std::string& word : own->words) own->rows.push_back(word.c_str());
    WordList list;
    list.items_ = own->rows.data();
    list.count_ = static_cast<int>(own->rows.size());
    list.epoch_ = epoch;
    list.array_ = own;
    list.words_owner_ = std::move(own);
    return list;
}

WordList WordList::Rebuilt(const std::vector<const char*>& rows) const {
    auto own = std::make_shared<OwnRows>();
    own->rows = rows;
    WordList list;
    list.items_ = own->rows.data();
    list.count_ = static_cast<int>(own->rows.size());
    list.epoch_ = epoch_;
    list.array_ = std::move(own);
    list.words_owner_ = words_owner_;
    return list;
}

WordList WordList::Without(int row) const {
    std::vector<const char*> rows(items_, items_ + count_);
    if (row >= 0 && row < count_) rows.erase(rows.begin() + row);
    return Rebuilt(rows);
}

WordList WordList::WithRow(int row, const char* word) const {
    std::vector<const char*> rows(items_, items_ + count_);
    if (row >= 0 && row < count_) rows[static_cast<std::size_t>(row)] = word;
    return Rebuilt(rows);
}

WordList WordList::Swapped(int a, int b) const {
    std::vector<const char*> rows(items_, items_ + count_);
    if (a >= 0 && a < count_ && b >= 0 && b < count_)
        std::swap(rows[static_cast<std::size_t>(a)], rows[static_cast<std::size_t>(b)]);
    return Rebuilt(rows);
}

WordList WordList::Appended(const char* word) const {
    std::vector<const char*> rows(items_, items_ + count_);
    rows.push_back(word);
    return Rebuilt(rows);
}

WordList WordList::WithEpoch(unsigned epoch) const {
    WordList list = *this;
    list.epoch_ = epoch;
    return list;
}

std::shared_ptr<PointerArray> ResultArrays::Free(std::size_t entries) {
    for (std::shared_ptr<PointerArray>& array : arrays_) {
        // Held here alone: no list shows it any more.
        if (array.use_count() != 1) continue;
        if (array->size() < entries) array = std::make_shared<PointerArray>(entries);
        return array;
    }
    arrays_.push_back(std::make_shared<PointerArray>(entries));
    return arrays_.back();
}

}  // namespace wordbay
