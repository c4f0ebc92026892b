// Ending an exported call: the handle's result record and message buffer.
#pragma once

#include <cstdint>

#include "engine/context.h"

namespace lexbase {

// The two records that live outside every handle and never change.
extern const DB_RESULT kInvalidHandleResult;
extern const DB_RESULT kDestroyedHandleResult;

// Ends a call: copies at most 520 characters of `message` into the buffer
// (a null message keeps what the buffer holds), points the record's message
// at the buffer and sets its status. Other fields keep their values.
const DB_RESULT* SetResult(DB_CONTEXT* db, std::int32_t status, const char* message);

// Formats `format` (holding one "%.*s") with the file name cut to 520
// characters into the message buffer.
void FormatFileMessage(DB_CONTEXT* db, const char* format, const char* file_name);

// Copies at most `size` - 1 characters of `source` into `field`, zero-filling
// the rest so the field is always terminated.
void CopyField(char* field, std::size_t size, const char* source);

// Copies the five description texts (name, author, description, the two list
// names) between the open dictionary and a DICTIONARY_INFO, either way.
template <typename From, typename To>
void CopyDescriptionTexts(const From& from, To* to) {
    CopyField(to->name, sizeof to->name, from.name);
    CopyField(to->author, sizeof to->author, from.author);
    CopyField(to->description, sizeof to->description, from.description);
    CopyField(to->primary_list_name, sizeof to->primary_list_name, from.primary_list_name);
    CopyField(to->secondary_list_name, sizeof to->secondary_list_name, from.secondary_list_name);
}

}  // namespace lexbase
