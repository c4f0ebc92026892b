#include "app/save_merge.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "app/dictionary_slot.h"
#include "engine/lexbase_messages.h"

namespace wordbay {
namespace {

using Kind = EditJournal::Kind;

// Whether `part` is `whole` with some translations left out, in its order.
bool KeptInOrder(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    auto at = whole.begin();
    for (const std::string& text : part) {
        at = std::find(at, whole.end(), text);
        if (at == whole.end()) return false;
        ++at;
    }
    return true;
}

// Whether every edit that touches `word` only adds a translation.
bool OnlyAdded(const EditJournal& journal, const WordRef& word) {
    for (const EditJournal::Edit& edit : journal.edits()) {
        if (edit.kind == Kind::kAddTranslation) continue;
        if (std::find(edit.touched.begin(), edit.touched.end(), word) != edit.touched.end()) {
            return false;
        }
    }
    return true;
}

// The words the other program changed too, in the order the edits touched
// them. A word both sides only added translations to is no conflict: the
// additions go together in any order.
std::vector<WordRef> WordsChangedTwice(DB_HANDLE disk, const EditJournal& journal) {
    std::vector<WordRef> changed;
    std::set<WordRef> seen;
    for (const EditJournal::Edit& edit : journal.edits()) {
        for (const WordRef& word : edit.touched) {
            if (!seen.insert(word).second) continue;
            const WordState& first = journal.FirstState(word);
            const WordState now = ReadWordState(disk, word.side, word.text);
            if (now == first) continue;
            const bool added_both = OnlyAdded(journal, word) && (now.exists || !first.exists) &&
                                    KeptInOrder(first.translations, now.translations);
            if (!added_both) changed.push_back(word);
        }
    }
    return changed;
}

// Whether the description in `disk` is one the journal's changes may replace:
// as the journal first saw it, or as the user left it.
bool DescriptionMerges(DB_HANDLE disk, const EditJournal& journal) {
    const EditJournal::Edit* last = nullptr;
    for (const EditJournal::Edit& edit : journal.edits()) {
        if (edit.kind == Kind::kSetDescription) last = &edit;
    }
    if (last == nullptr) return true;
    DICTIONARY_INFO now{};
    if (DB_GetDictionaryInfo(disk, &now)->status == 0) return false;
    return SameDescription(now, journal.first_description()) || SameDescription(now, last->info);
}

// Makes one edit in `disk`; the engine's answer.
const DB_RESULT* Replay(DB_HANDLE disk, const EditJournal::Edit& edit) {
    const auto word = [&edit](std::size_t i) { return edit.words[i].c_str(); };
    const int list = EngineList(edit.side);
    switch (edit.kind) {
        case Kind::kAddTranslation:
            return DB_AddTranslation(disk, DB_TRANS_PRIMARY_TO_SECONDARY, word(0), word(1));
        case Kind::kDeleteTranslation:
            return DB_DeleteTranslation(disk, DB_TRANS_PRIMARY_TO_SECONDARY, word(0), word(1));
        case Kind::kDeleteWord:
            return DB_DeleteWord(disk, list, word(0));
        case Kind::kChangeWord:
            return DB_ChangeWord(disk, list, word(0), word(1));
        case Kind::kSwapTranslations:
            return DB_SwapTranslations(disk, list, word(0), word(1), word(2));
        case Kind::kSetDescription:
            return DB_SetDictionaryInfo(disk, &edit.info);
        case Kind::kResort:
            return DB_ResortList(disk, list, edit.locale);
    }
    return nullptr;
}

}  // namespace

MergeReport MergeEdits(DB_HANDLE disk, const EditJournal& journal) {
    MergeReport report;
    if (!journal.mergeable() || !DescriptionMerges(disk, journal)) {
        report.outcome = MergeReport::Outcome::kConflict;
        return report;
    }
    report.conflicts = WordsChangedTwice(disk, journal);
    if (!report.conflicts.empty()) {
        report.outcome = MergeReport::Outcome::kConflict;
        return report;
    }
    for (const EditJournal::Edit& edit : journal.edits()) {
        const DB_RESULT* r = Replay(disk, edit);
        if (r != nullptr && r->status != 0) continue;
        // Every word the edit needs is as the user found it: only running out
        // of memory fails it, but whatever failed, nothing is saved.
        report.message = r != nullptr ? r->message : "";
        report.outcome = report.message == lexbase::MessageText(lexbase::Message::kMemoryError)
                             ? MergeReport::Outcome::kFailed
                             : MergeReport::Outcome::kConflict;
        return report;
    }
    return report;
}

}  // namespace wordbay
