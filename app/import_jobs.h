// ImportJobs: the import job of the worker: a foreign dictionary file, or
// every chosen language of a Freelang installation, saved as a dictionary of
// the database folder.
//
// Runs on the worker thread with the engine lock held; it works on handles
// of its own and leaves the open dictionaries alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/freelang_directory.h"
#include "app/job_context.h"

namespace wordbay {

// What the import dialog hands to the import job.
struct ImportRequest {
    int format = DB_FORMAT_TXT_LOAD;  // DB_FORMAT_..._LOAD
    std::string path;                 // the file, or the Freelang folder
    std::uint32_t primary_locale = 0;
    std::uint32_t secondary_locale = 0;
    std::optional<DICTIONARY_INFO> info;  // description given by the dialog
    // The texts of `info` as typed: an import encodes them only once the file
    // is loaded and each list's encoding is known (a list may turn out UTF-8
    // although its language has a code page).
    std::optional<DescriptionTexts> texts;
    std::vector<FreelangEntry> freelang;  // Freelang folder: the entries, chosen ones ticked
};

class ImportJobs {
public:
    explicit ImportJobs(JobContext& context) : c_(context) {}

    // Imports what `request` names; opens the dictionary chooser afterwards
    // when no dictionary is open.
    void Import(const ImportRequest& request);

private:
    void ImportFile(const ImportRequest& request);
    void ImportFreelang(const ImportRequest& request);
    // Resolves the overwrite question for an import target: answers the path
    // to save to, or "" when the user cancelled.
    std::string ConfirmTarget(const std::string& target);

    JobContext& c_;
};

}  // namespace wordbay
