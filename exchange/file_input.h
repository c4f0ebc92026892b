// Reading the files of a dictionary in another format: regular files only,
// whole, and never more than a bound, with a message that names the file.
#pragma once

#include <cstddef>
#include <string>

namespace exchange {

// The most bytes any one file of an imported dictionary may hold, and the
// most its text may inflate to: a 2 GB file fails at once.
inline constexpr std::size_t kMaxInputBytes = std::size_t{1} << 30;

// Reads the regular file `path` whole into *bytes when it holds at most
// `max_size` bytes. False with a message naming it otherwise: missing, not a
// regular file (a pipe or a device is refused without waiting), too large,
// or unreadable.
bool ReadInput(const std::string& path, std::size_t max_size, std::string* bytes,
               std::string* error);

// Whether `path` names a regular file (links followed).
bool IsRegularFile(const std::string& path);

}  // namespace exchange
