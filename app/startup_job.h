// StartupJob: the first job of the worker. It waits for the windows, shows
// the start-up notice, converts the previous version's English-Croatian
// dictionary once when asked to, and opens the dictionaries of the last
// session.
#pragma once

#include <string>

#include "app/dictionary_jobs.h"
#include "app/job_context.h"

namespace wordbay {

class StartupJob {
public:
    StartupJob(JobContext& context, DictionaryJobs& dictionaries)
        : c_(context), dictionaries_(dictionaries) {}

    // Runs on the worker thread with the engine lock held.
    void Run();

private:
    // Waits until the windows can answer the view's calls; false when the
    // worker was asked to end meanwhile.
    bool WaitForWindows();
    // Loads the main dictionary `path`, giving way to the window while the
    // look-up image answers.
    void LoadMain(const std::string& path);
    void ConvertPreviousVersion();

    JobContext& c_;
    DictionaryJobs& dictionaries_;
};

}  // namespace wordbay
