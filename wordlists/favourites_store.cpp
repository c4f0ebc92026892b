#include "wordlists/favourites_store.h"

#include <algorithm>

namespace wordlists {
namespace {

constexpr std::size_t kLeastRecordsBeforeCompaction = 500;
constexpr std::size_t kFieldsBeforeTranslations = 5;

}  // namespace

FavouritesStore::FavouritesStore(std::string path)
    : journal_(std::move(path), "favourites", kMaxJournalBytes) {}

const JournalStatus& FavouritesStore::Open() {
    entries_.clear();
    for (const Record& record : journal_.Load()) Apply(record);
    return journal_.status();
}

Record FavouritesStore::RecordOf(const Favourite& f) {
    Record record = {"F", std::to_string(f.time), std::to_string(f.key.direction), f.key.dictionary,
                     f.key.word};
    record.insert(record.end(), f.translations.begin(), f.translations.end());
    return record;
}

void FavouritesStore::Apply(const Record& record) {
    const std::string& kind = record[0];
    if (kind == "F" && record.size() >= kFieldsBeforeTranslations) {
        Favourite f;
        if (!ParseInteger(record[1], &f.time) || !ParseDirection(record[2], &f.key.direction))
            return;
        f.key.dictionary = record[3];
        f.key.word = record[4];
        f.translations.assign(record.begin() + kFieldsBeforeTranslations, record.end());
        Put(std::move(f));
    } else if (kind == "D" && record.size() == 4) {
        WordKey key;
        if (!ParseDirection(record[1], &key.direction)) return;
        key.dictionary = record[2];
        key.word = record[3];
        Erase(key);
    } else if (kind == "X") {
        entries_.clear();
    }
}

void FavouritesStore::Put(Favourite favourite) {
    Erase(favourite.key);
    entries_.insert(entries_.begin(), std::move(favourite));
}

void FavouritesStore::Erase(const WordKey& key) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Favourite& f) { return f.key == key; }),
                   entries_.end());
}

bool FavouritesStore::Contains(const WordKey& key) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Favourite& f) { return f.key == key; });
}

void FavouritesStore::Add(const Favourite& favourite) {
    if (favourite.key.word.empty()) return;
    Put(favourite);
    journal_.Append(RecordOf(favourite));
}

void FavouritesStore::Remove(const WordKey& key) {
    Erase(key);
    journal_.Append({"D", std::to_string(key.direction), key.dictionary, key.word});
}

void FavouritesStore::Clear() {
    entries_.clear();
    journal_.Append({"X"});
}

bool FavouritesStore::Flush() {
    const std::size_t bound = std::max(kLeastRecordsBeforeCompaction, 2 * entries_.size());
    const auto compacted = [this] {
        std::vector<Record> records;
        for (auto f = entries_.rbegin(); f != entries_.rend(); ++f) records.push_back(RecordOf(*f));
        return records;
    };
    if (journal_.NeedsRewrite() || journal_.records_in_file() > bound)
        return journal_.Rewrite(compacted());
    if (!journal_.Flush()) return false;
    if (journal_.records_in_file() > bound) return journal_.Rewrite(compacted());
    return true;
}

}  // namespace wordlists
