// EditingCommands: the editing commands of edit mode: adding and deleting
// translations, deleting and changing words and reordering the translations
// of a word, all on the main dictionary.
//
// They run on the user-interface thread between jobs: the questions come
// first, then the caller's EngineHold waits until no job runs, and the
// engine is changed and the lists brought up to date while the lock is held.
// Messages are shown only after the lock is given back.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "app/job_context.h"

namespace wordbay {

class EditingCommands {
public:
    // Answers the engine lock once no job runs on the dictionaries, or an
    // empty lock when one still runs after a while.
    using EngineHold = std::function<std::unique_lock<std::mutex>()>;

    explicit EditingCommands(JobContext& context) : c_(context) {}

    // See SearchController for each command.
    void AddTranslation(const EngineHold& hold_engine);
    void DeleteSelected(const EngineHold& hold_engine);
    void ChangeWord(ListSide side, int row, const std::string& old_word,
                    const std::string& new_word, const EngineHold& hold_engine);
    void MoveTranslation(int previous, int row, const EngineHold& hold_engine);

private:
    // Asks `question` about the pair of a source and a target word; true
    // when the user said yes.
    bool ConfirmPair(TextId question, ListSide source, std::string_view source_word,
                     std::string_view target_word);
    // Brings the lists up to date after the translation of `source_word` was
    // added; false when they could not grow to the dictionary's new size.
    bool ShowAdded(ListSide source, const std::string& source_word, const char* stored_source,
                   const char* stored_target);
    // Deletes the translation between a source and a target word.
    const DB_RESULT* DeletePair(ListSide source, const std::string& source_word,
                                const std::string& target_word);
    // A word of a list of the main slot, for a message (UTF-8).
    std::string WordForMessage(ListSide side, std::string_view word) const;

    JobContext& c_;
};

}  // namespace wordbay
