// Every writer of a whole file goes through one replacement: the new content
// goes to a temporary file beside the destination, locked against other
// writers, and takes the destination's place only when it is complete, so a
// full disk, a failure or a kill never leaves a partial file, and two writers
// of one file never mix.
#pragma once

#include "engine/context.h"
#include "platform/file_writer.h"

namespace lexbase {

// Starts replacing `file` through `out`. On failure the message buffer says
// why: another writer kept the file locked, or `cant_create` (a file-message
// format) when the temporary file can't be made.
[[nodiscard]] bool StartReplacement(DB_CONTEXT* db, platform::FileWriter* out, const char* file,
                                    const char* cant_create);

// Flushes what `out` holds and puts it in the place of `file`. On failure the
// message buffer says why (`cant_write` for a failed flush, `cant_replace` for
// a failed rename) and `file` is as it was.
[[nodiscard]] bool FinishReplacement(DB_CONTEXT* db, platform::FileWriter* out, const char* file,
                                     const char* cant_write, const char* cant_replace);

}  // namespace lexbase
