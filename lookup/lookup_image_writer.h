// Writes the look-up image of a loaded dictionary (lookup_image.h reads it).
#pragma once

#include <string>

#include "engine/lexbase.h"
#include "lookup/lookup_image.h"

namespace lookup {

// Writes the image of the loaded dictionary `db`, the file `source` in state
// `key`, to `path` (its folders made as needed) as the engine saves a file:
// under a temporary name, locked against other writers, flushed and renamed
// into place. False when it could not be written; nothing is left behind
// then and an older image stays as it was.
bool WriteLookupImage(DB_HANDLE db, const std::string& path, const std::string& source,
                      const SourceKey& key);

}  // namespace lookup
