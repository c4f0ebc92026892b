// Profile (INI) files: the reads and writes the settings ask of the system,
// GetPrivateProfileStringA and WritePrivateProfileStringA.
//
// Grammar: a line "[name]" opens a section; a line "key=value" inside a
// section sets a key; a line whose first non-blank character is ";" is a
// comment; every other line is kept as it is and means nothing. Section and
// key names are compared with surrounding blanks removed and ASCII letters
// without regard to case; the first matching section and, inside it, the
// first matching key count. A value is read with surrounding blanks removed
// and, when it then starts and ends with the same quote character (' or "),
// without that pair of quotes.
//
// A write replaces an existing key's line where it stands, adds a new key after
// the last line of its section that is neither blank nor a comment, and a new
// section at the end of the text, and leaves every other line and its line
// break as it was. A value that would not read back unchanged (surrounding
// blanks or quotes) is written in double quotes, so what is written is what is
// read.
//
// There is no cache: every file call reads the file from disk, and every write
// rewrites it. The functions keep no state and may be called from any thread;
// two threads writing the same file at once may lose one of the writes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The value of `key` in section `section` of the INI text `text`, or nothing
// when the section or the key is missing. An empty value is a value.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// Sets `key` in `section` of *text to `value` by the rules above. Returns false
// and leaves *text alone when the names or the value cannot be stored so that
// they read back: an empty name, a line break in any of the three, an "=" in
// the key or a key that starts with "[" or ";".
bool SetProfileValue(std::string* text, std::string_view section, std::string_view key,
                     std::string_view value);

// The longest settings file read; a longer one reads as unreadable.
inline constexpr std::size_t kMaxProfileSize = std::size_t{16} << 20;

// The whole text of the settings file at `path`, a regular file of at most
// kMaxProfileSize bytes. False when it can't be read; *missing tells whether
// because it does not exist.
bool ReadProfileText(const std::string& path, std::string* text, bool* missing);

// Replaces the settings file at `path` (a link followed) with `text`, only
// ever by a complete file that keeps the old one's permissions.
bool WriteProfileText(const std::string& path, std::string_view text);

// Reads `key` of `section` from the file at `path`. Returns true and sets
// *value when the key exists (its value may be empty); returns false, leaving
// *value alone, when the file cannot be read or lacks the key.
bool ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string* value);

// Writes `key` of `section` into the file at `path`, creating the file (not its
// folder) when it is missing. The new content goes to a temporary file beside
// it that then replaces the old one, so a failed write keeps the old file.
// Returns false when the names or the value cannot be stored (see
// SetProfileValue) or the file cannot be read or written.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace platform
