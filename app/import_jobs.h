// ImportJobs: the import request of the worker: a foreign dictionary file, or
// every chosen language of a Freelang installation, saved as a dictionary of
// the database folder.
//
// Runs on the worker thread with the engine lock held; it works on handles
// of its own and leaves the open dictionaries alone. When a file of that name
// exists, the user is asked whether to replace it (or to choose another), and
// the import goes on with the answer.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/catalogue.h"
#include "app/dictionaries.h"
#include "app/program_dir.h"
#include "app/questions.h"
#include "app/window_report.h"

namespace exchange {
struct ImportReport;
}  // namespace exchange

namespace wordbay {

class ImportJobs {
public:
    ImportJobs(const Dictionaries* dictionaries, Catalogue* catalogue, const ProgramPaths* paths,
               WindowReport* report, StatusUpdates* status, WindowStates* window,
               Questions* questions)
        : dictionaries_(dictionaries)
        , catalogue_(catalogue)
        , paths_(paths)
        , report_(report)
        , status_(status)
        , window_(window)
        , questions_(questions) {}

    // Imports what `request` names; opens the dictionary chooser afterwards
    // when no dictionary is open.
    void Import(const ImportRequest& request);

private:
    using Handle = std::shared_ptr<EngineHandle>;

    void ImportFile(const ImportRequest& request);
    // Loads the file into `db` and gives it the request's description; false
    // (reported) when that fails.
    bool LoadFile(const ImportRequest& request, DB_HANDLE db, DICTIONARY_INFO* info,
                  exchange::ImportReport* import_report);
    // Imports the chosen Freelang entries from `index` on; `imported` were
    // saved before.
    void ImportFreelang(const ImportRequest& request, std::size_t index, int imported, Handle db);
    // Loads Freelang entry `entry` into `db` with its description; false
    // (reported) when that fails.
    bool LoadFreelangEntry(const FreelangEntry& entry, DB_HANDLE db);
    // Saves `db` to `target`; true when it was written (failures reported).
    bool SaveTo(DB_HANDLE db, const std::string& target);
    // The path an import saves to: `target`, unless a file is there and the
    // user chooses another file or cancels (""). `then` runs with it.
    void ConfirmTarget(const std::string& target, std::function<void(std::string)> then);
    // The end of an import: the dictionary chooser when no dictionary is open.
    void Finish();

    const Dictionaries* const dictionaries_;
    Catalogue* const catalogue_;
    const ProgramPaths* const paths_;
    WindowReport* const report_;
    StatusUpdates* const status_;
    WindowStates* const window_;
    Questions* const questions_;
};

}  // namespace wordbay
