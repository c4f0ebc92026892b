// DictionaryRequests: the commands of the dictionary menu and of the start
// as requests of the worker: the start-up, loading the main or the dual
// dictionary, closing the dual one, saving, re-sorting, exporting, updating,
// importing, and the answers to the questions those ask on their way.
//
// The user-interface thread calls it; each call returns at once. The
// requests run one after another, in the order they were made.
#pragma once

#include <atomic>
#include <string>

#include "app/dictionaries.h"
#include "app/list_display.h"
#include "app/request_queue.h"

namespace wordbay {

class DictionaryRequests {
public:
    DictionaryRequests(Dictionaries* dictionaries, ListDisplay* lists, RequestQueue* queue,
                       std::atomic<unsigned>* epoch)
        : d_(dictionaries), lists_(lists), queue_(queue), epoch_(epoch) {}

    // The start-up request, once the windows show.
    void StartUp() { queue_->Post(wordbay::StartUp{}); }
    void Load(const std::string& path) { Post(LoadMain{path}); }
    void LoadDual(const std::string& path) { Post(wordbay::LoadDual{path}); }
    void CloseDual() { Post(wordbay::CloseDual{}); }  // dual mode off
    void Save() { Post(SaveMain{}); }
    void SaveAs() { Post(SaveMainAs{}); }
    void SaveAndClose() { Post(wordbay::SaveAndClose{}); }
    // Another program saved the main dictionary's file.
    void ReloadMain() { Post(wordbay::ReloadMain{}); }
    // Re-sorting: `changed_lists` bit 0 primary, bit 1 secondary; the new
    // locales are those the dictionary's description now has. The lists of
    // the main dictionary are emptied at once: the words move.
    void Resort(int changed_lists);
    void Export(int format, const std::string& path) { Post(wordbay::Export{format, path}); }
    // Merges a file into the main dictionary, which the user agreed to; the
    // lists are emptied at once: nothing may show the words while they merge.
    void Update(int format, const std::string& path);
    void Import(ImportRequest request) { Post(std::move(request)); }
    // The user's answer to the question with `ticket`: the request that asked
    // it goes on.
    void Answer(int ticket, int button, const std::string& path = std::string()) {
        queue_->Post(wordbay::Answer{ticket, button, path});
    }

private:
    // Stops the searches under way (the request makes them moot), then posts.
    void Post(CommandRequest request) {
        d_->EndLoops();
        queue_->Post(std::move(request));
    }
    // Begins a new epoch: the lists of the changed dictionaries show nothing
    // of before, and what earlier searches answer is dropped.
    void Detach(bool with_dual);

    Dictionaries* const d_;
    ListDisplay* const lists_;
    RequestQueue* const queue_;
    std::atomic<unsigned>* const epoch_;
};

// What the window asks before an update: whether to merge the file `path`
// into the main dictionary `main`.
Message UpdateQuestion(const DictionarySlot& main, const std::string& path);

}  // namespace wordbay
