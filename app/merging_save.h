// MergingSave: saving the main dictionary over the file it was loaded from
// without ever writing blindly over what another program saved there
// meanwhile, and loading that file again in the background.
//
// The file's state when it was loaded or last saved (DictionarySlot::
// disk_state) is checked with the file locked against other writers. When it
// changed, the file is loaded again, the edits made since (the slot's
// EditJournal) are replayed on it (MergeEdits) and that is saved; the slot
// takes the merged dictionary. Where the merge can't be sound, the user
// chooses: save as another file, overwrite, or save nothing now.
//
// Runs on the worker thread with the engine lock held; a question ends the
// call, and the answer (a request of its own) goes on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/dictionary_jobs.h"
#include "app/edit_journal.h"
#include "engine/lexbase.h"
#include "platform/file_writer.h"

namespace wordbay {

// The save dialog's filter for dictionary files.
inline constexpr char kV03FilterName[] = "KX3 database";
inline constexpr char kV03Extension[] = "v03";

// Whether two paths name one file (links followed).
bool SameFile(const std::string& a, const std::string& b);

// Whether the main dictionary has changes of its own: edit mode, or edits
// not saved yet (engine lock held).
bool MainBeingEdited(const Dictionaries& dictionaries, const SharedSettings& settings);

class MergingSave {
public:
    explicit MergingSave(const DictionaryJobs::Parts& parts) : p_(parts) {}

    // Saves `slot` over its own file; `done` runs with whether the file now
    // holds the slot's dictionary (or it was saved as another file the user
    // chose), at once or after the user's answer.
    void Save(DictionarySlot& slot, SaveDone done);
    // Saves `slot` as the file `path`, which the slot then names and which
    // becomes the current dictionary when it lies in the database folder;
    // false after a failure (reported).
    bool SaveAs(DictionarySlot& slot, const std::string& path);
    // Loads the main dictionary's file again when another program saved it
    // and nothing is edited; the lists keep showing what was typed.
    void Reload();

private:
    // The save once the file turned out changed: `lock` holds it.
    void SaveMerged(DictionarySlot& slot, platform::FileLock* lock, SaveDone done);
    // The other program's file, loaded while `lock` keeps other writers out;
    // null after a failure (`failure` says why).
    std::shared_ptr<EngineHandle> LoadCurrent(const std::string& path, platform::FileLock* lock,
                                              std::string* failure);
    // DB_Save of `db` to `path` with the progress shown; reports a failure.
    bool Write(DB_HANDLE db, const std::string& path);
    // Remembers the file as just written and starts its look-up image.
    void Written(DictionarySlot& slot);
    // Writes `slot` over its file as it is, whatever the file holds now.
    bool Overwrite(DictionarySlot& slot);
    // Asks what to do when the edits can't be merged; `conflicts` names the
    // words changed by both.
    void AskAndSave(DictionarySlot& slot, const std::string& conflicts, SaveDone done);
    // The first few of `words`, in UTF-8, for the question.
    std::string WordsForMessage(const DictionarySlot& slot,
                                const std::vector<WordRef>& words) const;
    // Puts `fresh` (the dictionary as the main file holds it now) in the
    // place of the main slot's handle; the lists show the typed text's words
    // in it again. False when the lists could not grow (reported).
    bool TakeKeepingPlace(std::shared_ptr<EngineHandle> fresh, const DICTIONARY_INFO& info);

    DictionaryJobs::Parts p_;
};

}  // namespace wordbay
