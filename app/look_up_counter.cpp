#include "app/look_up_counter.h"

namespace wordbay {

std::optional<ShownLookUp> LookUpCounter::Count() {
    counted_ = true;
    act_at_.reset();
    return current_;
}

std::optional<ShownLookUp> LookUpCounter::Shown(const ShownLookUp& look_up, std::int64_t now) {
    if (act_at_ && now - *act_at_ > kActWaitMs) act_at_.reset();
    if (current_ && current_->SameWord(look_up)) {
        current_->translations = look_up.translations;
    } else {
        current_ = look_up;
        counted_ = false;
        since_ = now;
    }
    if (act_at_ && !counted_) return Count();
    return std::nullopt;
}

std::optional<ShownLookUp> LookUpCounter::Acted(std::int64_t now) {
    if (current_ && !counted_) return Count();
    act_at_ = now;
    return std::nullopt;
}

void LookUpCounter::NewSearch() {
    // The user moves on: a word still within its second was passed on the way.
    current_.reset();
    counted_ = false;
    act_at_.reset();
}

std::optional<ShownLookUp> LookUpCounter::Due(std::int64_t now) {
    if (current_ && !counted_ && now - since_ >= kSettleMs) return Count();
    return std::nullopt;
}

std::int64_t LookUpCounter::deadline() const {
    return current_ && !counted_ ? since_ + kSettleMs : -1;
}

}  // namespace wordbay
