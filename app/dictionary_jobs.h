// DictionaryJobs: the worker's requests on whole dictionaries: loading into
// the main or the dual slot, closing the dual one, saving, saving under
// another name, saving for closing, re-sorting, exporting and updating from a
// file.
//
// Every call runs on the worker thread with the engine lock held; failures
// are reported to the window and leave the slot as it was. A question to the
// user ends the call; the answer does the rest.
#pragma once

#include <functional>
#include <string>

#include "app/dictionaries.h"
#include "app/image_writer.h"
#include "app/list_display.h"
#include "app/program_dir.h"
#include "app/questions.h"
#include "app/window_report.h"

namespace wordbay {

class FileWatch;

// What a load tells when it is over: whether the dictionary was opened.
using LoadDone = std::function<void(bool loaded)>;
// What a save tells when it is over: whether the dictionary was written.
using SaveDone = std::function<void(bool saved)>;

class DictionaryJobs {
public:
    // What the jobs use; every pointer outlives the jobs.
    struct Parts {
        Dictionaries* dictionaries = nullptr;
        SharedSettings* settings = nullptr;
        ListDisplay* lists = nullptr;
        WindowReport* report = nullptr;
        PaneUpdates* panes = nullptr;
        WindowStates* window = nullptr;
        Questions* questions = nullptr;
        ImageWriter* image_writer = nullptr;
        StartupImage* image = nullptr;
        const FontCatalog* fonts = nullptr;
        const ProgramPaths* paths = nullptr;
        // Called once a load into `slot` succeeded (a search typed meanwhile
        // can run now).
        std::function<void(SlotId slot)> loaded;
        // Lists the main dictionary's typed text again and selects the word
        // that was selected, after its handle was replaced in place.
        std::function<void()> relist_main;
        // Told of a file that failed to load again.
        FileWatch* watch = nullptr;
    };

    explicit DictionaryJobs(const Parts& parts) : p_(parts) {}

    // Opens `path` as the main dictionary and makes it the current one; asks
    // first whether to save the changes of the one open. `done` runs at the
    // end (also after the question).
    void LoadMain(const std::string& path, LoadDone done = {});
    // Opens `path` as the dual dictionary and switches dual mode to match.
    void LoadDual(const std::string& path);
    // Empties the dual pane and closes the dual dictionary.
    void CloseDual();
    // Saves `slot` to its file, or to `path` when one is given (the slot then
    // keeps that path). Over its own file the save keeps what another program
    // saved there meanwhile, or asks. `done` runs with whether it was
    // written, at once or after the user's answer.
    void Save(DictionarySlot& slot, const std::string& path, SaveDone done = {});
    // Asks for a file and saves the main dictionary there.
    void SaveAs();
    // Saves the main dictionary and, when that worked, closes the window.
    void SaveAndClose();
    // Sorts the lists of `lists` (bit 0 primary, bit 1 secondary) again by
    // the locales now set in the dictionary.
    void Resort(int lists);
    // Writes the main dictionary to `path` in `format` (DB_FORMAT_..._SAVE).
    void Export(int format, const std::string& path);
    // Merges the file `path` of `format` into the main dictionary.
    void Update(int format, const std::string& path);
    // Loads the main dictionary's file again when another program saved it
    // and nothing is edited (the lists keep the typed text).
    void ReloadMain();

private:
    // Opens the dictionary file `path` in `slot`, asking first whether to
    // save the main dictionary's changes; `done` runs at the end.
    void LoadIntoSlot(DictionarySlot& slot, const std::string& path, LoadDone done);
    // The load once asked: true when the dictionary was opened.
    bool LoadFile(DictionarySlot& slot, const std::string& path, bool previewing);
    // The part of LoadFile once the new handle holds the dictionary.
    // `image_answers`: the lists show the look-up image's answers, which stay
    // until the loaded dictionary's search replaces them.
    bool TakeLoaded(DictionarySlot& slot, std::shared_ptr<EngineHandle> fresh,
                    const DICTIONARY_INFO& info, const std::string& path, bool image_answers);
    // A load into `slot` failed: the slot stays as it was.
    void KeepAfterFailure(DictionarySlot& slot, bool previewing);
    // A load into `slot` given up before it began (the user cancelled, or
    // the changes could not be saved): the slot stays as it was.
    void Abandon(DictionarySlot& slot, bool previewing, const LoadDone& done);
    bool SizeResults(DictionarySlot& slot);

    Parts p_;
};

}  // namespace wordbay
