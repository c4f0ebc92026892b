// DictionaryJobs: the worker's jobs on whole dictionaries: loading into the
// main or the dual slot, closing the dual one, saving, saving under another
// name, saving for closing, re-sorting, exporting and updating from a file.
//
// Every call runs on the worker thread with the engine lock held; failures
// are reported through the view and leave the slot as it was.
#pragma once

#include <string>

#include "app/job_context.h"

namespace wordbay {

class DictionaryJobs {
public:
    explicit DictionaryJobs(JobContext& context) : c_(context) {}

    // Opens `path` as the main dictionary and makes it the current one.
    void LoadMain(const std::string& path);
    // Opens `path` as the dual dictionary and switches dual mode to match.
    void LoadDual(const std::string& path);
    // Empties the dual pane and closes the dual dictionary.
    void CloseDual();
    // Saves `slot` to its file, or to `path` when one is given (the slot then
    // keeps that path). True when it was written.
    bool Save(DictionarySlot& slot, const std::string& path);
    // Asks for a file and saves the main dictionary there.
    void SaveAs();
    // Saves the main dictionary and, when that worked, closes the window.
    void SaveAndClose();
    // Sorts the lists of `lists` (bit 0 primary, bit 1 secondary) again by
    // the locales now set in the dictionary.
    void Resort(int lists);
    // Writes the main dictionary to `path` in `format` (DB_FORMAT_..._SAVE).
    void Export(int format, const std::string& path);
    // Merges the file `path` of `format` into the main dictionary, after asking.
    void Update(int format, const std::string& path);

private:
    // Opens the dictionary file `path` in `slot`, asking first whether to save
    // the main dictionary's changes. True when it was opened.
    bool LoadIntoSlot(DictionarySlot& slot, const std::string& path);
    // The part of LoadIntoSlot once the new handle holds the dictionary.
    // `image_answers`: the lists show the look-up image's answers, which stay
    // until the loaded dictionary's search replaces them.
    bool TakeLoaded(DictionarySlot& slot, DB_HANDLE fresh, const DICTIONARY_INFO& info,
                    const std::string& path, bool image_answers);

    JobContext& c_;
};

}  // namespace wordbay
