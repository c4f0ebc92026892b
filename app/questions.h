// Questions: what a request asks the user on its way. The worker never waits
// for the window: a request that needs an answer sends the question with a
// ticket and ends there, keeping what is still to do; the answer comes back
// as a request of its own (Answer), which does the rest.
#pragma once

#include <functional>
#include <map>
#include <mutex>

#include "app/requests.h"
#include "app/window_updates.h"

namespace wordbay {

class Questions {
public:
    using Then = std::function<void(const Answer& answer)>;

    explicit Questions(StatusUpdates* status) : status_(status) {}

    // Asks `question`; `then` runs with the answer (worker thread).
    void Ask(Message question, Then then);
    // Asks for a file to save to; `then` runs with the answer.
    void ChooseSaveFile(SaveFileChoice choice, Then then);
    // Runs what waited for `answer`; false when nothing did.
    bool Answered(const Answer& answer);
    // Whether a question waits for its answer (any thread).
    bool waiting() const;

private:
    int Keep(Then then);

    StatusUpdates* const status_;
    mutable std::mutex mutex_;
    std::map<int, Then> waiting_;
    int next_ticket_ = 1;
};

}  // namespace wordbay
