#include "app/questions.h"

#include <utility>

namespace wordbay {

int Questions::Keep(Then then) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int ticket = next_ticket_++;
    waiting_.emplace(ticket, std::move(then));
    return ticket;
}

void Questions::Ask(Message question, Then then) {
    status_->Ask(Keep(std::move(then)), std::move(question));
}

void Questions::ChooseSaveFile(SaveFileChoice choice, Then then) {
    status_->ChooseSaveFile(Keep(std::move(then)), std::move(choice));
}

bool Questions::Answered(const Answer& answer) {
    Then then;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = waiting_.find(answer.ticket);
        if (found == waiting_.end()) return false;
        then = std::move(found->second);
        waiting_.erase(found);
    }
    then(answer);
    return true;
}

bool Questions::waiting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !waiting_.empty();
}

}  // namespace wordbay
