#include "wordlists/history_store.h"

#include <algorithm>

namespace wordlists {
namespace {

constexpr std::size_t kLeastRecordsBeforeCompaction = 500;

std::string Number(std::int64_t value) { return std::to_string(value); }

}  // namespace

HistoryStore::HistoryStore(std::string path, int limit)
    : journal_(std::move(path), "history", kMaxJournalBytes)
    , limit_(std::clamp(limit, 0, kMostEntries)) {}

const JournalStatus& HistoryStore::Open() {
    entries_.clear();
    for (const Record& record : journal_.Load()) Apply(record);
    return journal_.status();
}

void HistoryStore::Apply(const Record& record) {
    const std::string& kind = record[0];
    WordKey key;
    if (kind == "L" && record.size() == 6) {
        std::int64_t time = 0;
        std::int64_t count = 0;
        if (!ParseInteger(record[1], &time) || !ParseInteger(record[2], &count) || count <= 0 ||
            !ParseDirection(record[3], &key.direction))
            return;
        key.dictionary = record[4];
        key.word = record[5];
        Count(key, time, count);
    } else if (kind == "D" && record.size() == 4) {
        if (!ParseDirection(record[1], &key.direction)) return;
        key.dictionary = record[2];
        key.word = record[3];
        entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                      [&](const HistoryEntry& e) { return e.key == key; }),
                       entries_.end());
    } else if (kind == "X") {
        entries_.clear();
    }
    // Records of other kinds come from a later version: left out.
}

void HistoryStore::Count(const WordKey& key, std::int64_t time, std::int64_t count) {
    HistoryEntry entry{key, time, count};
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const HistoryEntry& e) { return e.key == key; });
    if (found != entries_.end()) {
        entry.count += found->count;
        entries_.erase(found);
    }
    entries_.insert(entries_.begin(), std::move(entry));
    Trim();
}

void HistoryStore::Trim() {
    if (limit_ > 0 && entries_.size() > static_cast<std::size_t>(limit_))
        entries_.resize(static_cast<std::size_t>(limit_));
}

void HistoryStore::SetLimit(int limit) {
    limit_ = std::clamp(limit, 0, kMostEntries);
    const std::size_t before = entries_.size();
    Trim();
    if (entries_.size() != before) journal_.MarkForRewrite();
}

void HistoryStore::Add(const WordKey& key, std::int64_t time) {
    if (limit_ == 0 || key.word.empty()) return;
    Count(key, time, 1);
    journal_.Append({"L", Number(time), "1", Number(key.direction), key.dictionary, key.word});
}

void HistoryStore::Remove(const WordKey& key) {
    const Record record = {"D", Number(key.direction), key.dictionary, key.word};
    Apply(record);
    journal_.Append(record);
}

void HistoryStore::Clear() {
    entries_.clear();
    journal_.Append({"X"});
}

std::vector<Record> HistoryStore::Compacted() const {
    std::vector<Record> records;
    records.reserve(entries_.size());
    for (auto e = entries_.rbegin(); e != entries_.rend(); ++e) {
        records.push_back({"L", Number(e->time), Number(e->count), Number(e->key.direction),
                           e->key.dictionary, e->key.word});
    }
    return records;
}

bool HistoryStore::Flush() {
    const std::size_t bound =
        std::max(kLeastRecordsBeforeCompaction, 2 * static_cast<std::size_t>(limit_));
    if (journal_.NeedsRewrite() || journal_.records_in_file() > bound)
        return journal_.Rewrite(Compacted());
    if (!journal_.Flush()) return false;
    if (journal_.records_in_file() > bound) return journal_.Rewrite(Compacted());
    return true;
}

}  // namespace wordlists
