// Where the speller's stems of a dictionary's list are kept: beside the
// dictionary's look-up image, for the file in one state and one list. Both
// of the tool's processes read them; the one with the engine writes them.
#pragma once

#include <string>

#include "lookup/lookup_image.h"

namespace cli {

inline std::string KeptStemsPath(const std::string& image_path, int list) {
    return image_path + ".stems" + std::to_string(list);
}

// What the kept stems belong to: the dictionary `source` as `key` describes
// it, and the list.
inline std::string KeptStemsOwner(const std::string& source, const lookup::SourceKey& key,
                                  int list) {
    return source + '\n' + std::to_string(key.size) + ' ' + std::to_string(key.modified_seconds) +
           ' ' + std::to_string(key.modified_nanoseconds) + ' ' + std::to_string(key.crc) + '\n' +
           std::to_string(list);
}

}  // namespace cli
