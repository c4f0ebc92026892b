// Small helpers for the app's own engine calls: a handle that lives for one
// task, and the copy of a text into a fixed field of DICTIONARY_INFO.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "engine/lexbase.h"

namespace wordbay {

// An engine handle of its own for one task (an import, a new dictionary);
// destroyed with the object. get() is null when the engine gave none, and
// message() then says why.
class EngineHandle {
public:
    EngineHandle() {
        const DB_RESULT* r = DB_CreateHandle();
        handle_ = r != nullptr && r->status != 0 ? r->handle : nullptr;
        message_ = r != nullptr ? r->message : nullptr;
    }
    ~EngineHandle() {
        if (handle_ != nullptr) DB_DestroyHandle(handle_);
    }
    EngineHandle(const EngineHandle&) = delete;
    EngineHandle& operator=(const EngineHandle&) = delete;

    DB_HANDLE get() const { return handle_; }
    const char* message() const { return message_; }

private:
    DB_HANDLE handle_ = nullptr;
    const char* message_ = nullptr;
};

// Copies `text` into a fixed field, cut to leave room for the final zero;
// the rest of the field is zero.
template <std::size_t N>
void SetField(char (&field)[N], std::string_view text) {
    std::memset(field, 0, N);
    text.copy(field, std::min(text.size(), N - 1));
}

}  // namespace wordbay
