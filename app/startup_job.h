// StartupJob: the first request of the worker, made once the windows show.
// It shows the start-up notice, converts the previous version's
// English-Croatian dictionary once when asked to, and opens the dictionaries
// of the last session.
#pragma once

#include <string>

#include "app/catalogue.h"
#include "app/dictionary_jobs.h"

namespace wordbay {

class StartupJob {
public:
    StartupJob(Dictionaries* dictionaries, SharedSettings* settings, Catalogue* catalogue,
               const ProgramPaths* paths, WindowReport* report, StatusUpdates* status,
               WindowStates* window, Questions* questions, const StartupImage* image,
               DictionaryJobs* dictionary_jobs)
        : d_(dictionaries)
        , settings_(settings)
        , catalogue_(catalogue)
        , paths_(paths)
        , report_(report)
        , status_(status)
        , window_(window)
        , questions_(questions)
        , image_(image)
        , jobs_(dictionary_jobs) {}

    // Runs on the worker thread with the engine lock held.
    void Run();

private:
    // The steps after the notice: the conversion, then the dictionaries.
    void Convert();
    void OpenDictionaries();
    // Loads the main dictionary `path`, giving way to the window while the
    // look-up image answers.
    void LoadMain(const std::string& path);
    // Builds the new dictionary from the previous version's files (when
    // `use_previous`) or from its text file; then `then`.
    void ConvertFiles(bool use_previous);

    Dictionaries* const d_;
    SharedSettings* const settings_;
    Catalogue* const catalogue_;
    const ProgramPaths* const paths_;
    WindowReport* const report_;
    StatusUpdates* const status_;
    WindowStates* const window_;
    Questions* const questions_;
    const StartupImage* const image_;
    DictionaryJobs* const jobs_;
};

}  // namespace wordbay
