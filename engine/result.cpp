#include "engine/result.h"

#include <cstdio>
#include <cstring>

#include "engine/messages.h"

namespace lexbase {

const DB_RESULT kInvalidHandleResult = {0,       nullptr, nullptr, msg::kInvalidHandle,
                                        nullptr, 0,       0,       nullptr};
const DB_RESULT kDestroyedHandleResult = {1,       nullptr, nullptr, msg::kHandleDestroyed,
                                          nullptr, 0,       0,       nullptr};

const DB_RESULT* SetResult(DB_CONTEXT* db, std::int32_t status, const char* message) {
    if (db == nullptr) return &kInvalidHandleResult;
    if (message != nullptr) {
        const std::size_t length = strnlen(message, kMessageChars);
        std::memmove(db->message, message, length);
        db->message[length] = '\0';
    }
    db->message[kMessageChars] = '\0';
    db->result.message = db->message;
    db->result.status = status;
    return &db->result;
}

void FormatFileMessage(DB_CONTEXT* db, const char* format, const char* file_name) {
    // The format comes from the message table and holds exactly one "%.*s".
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(db->message, sizeof db->message, format, static_cast<int>(kMessageChars),
                  file_name != nullptr ? file_name : "");
#pragma GCC diagnostic pop
}

void CopyField(char* field, std::size_t size, const char* source) {
    const std::size_t length = source != nullptr ? strnlen(source, size - 1) : 0;
    std::memset(field, 0, size);
    if (length > 0) std::memcpy(field, source, length);
}

}  // namespace lexbase
