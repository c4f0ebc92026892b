// One INI settings file, read and written key by key (the program settings
// file and the settings file of each dictionary).
//
// A SettingsFile is made for one pass of reads or writes and dropped after.
// Reads go to the disk until the first write; the writes of one pass change
// the text in memory, and the file is replaced once, by Flush() or when the
// object is dropped, so closing the program writes each file once and a kill
// never leaves half a file. A read never fails the caller: a missing file,
// section or key, or an empty value, leaves the caller's value (its default)
// as it was. A write that can't be stored, and a failed Flush(), are reported
// by the return value, which callers may ignore.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wordbay {

// The longest text a string setting keeps unless its key says otherwise.
inline constexpr std::size_t kMaxSettingChars = 259;

// The longest value text an int setting is read from.
inline constexpr std::size_t kMaxIntSettingChars = 99;

// Converts a value text like atoi: optional blanks, an optional sign, then the
// leading decimal digits; text without digits gives 0. Only the first
// kMaxIntSettingChars characters count, and a number beyond the int range
// gives INT_MAX or INT_MIN.
int ParseSettingInt(std::string_view text);

// `text` cut to at most `max_bytes` bytes; valid UTF-8 is cut before a
// character rather than inside it.
std::string CutSettingText(std::string_view text, std::size_t max_bytes);

class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}
    ~SettingsFile();  // flushes
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    const std::string& path() const { return path_; }

    // Each read returns whether the key held a non-empty value; only then does
    // it change *value.
    bool ReadInt(std::string_view section, std::string_view key, int* value) const;
    bool ReadBool(std::string_view section, std::string_view key, bool* value) const;
    bool ReadColor(std::string_view section, std::string_view key, std::uint32_t* value) const;
    // The text is cut to `max_chars` bytes.
    bool ReadString(std::string_view section, std::string_view key, std::string* value,
                    std::size_t max_chars = kMaxSettingChars) const;

    // Ints and colours are written as signed decimal ("%i"), bools as 0 or 1,
    // texts as they are. The file, section and key are created as needed.
    bool WriteInt(std::string_view section, std::string_view key, int value) const;
    bool WriteBool(std::string_view section, std::string_view key, bool value) const;
    bool WriteColor(std::string_view section, std::string_view key, std::uint32_t value) const;
    bool WriteString(std::string_view section, std::string_view key, std::string_view text) const;

    // Writes the changes of this pass to the disk, if there are any.
    bool Flush() const;

private:
    bool ReadValue(std::string_view section, std::string_view key, std::string* text) const;

    std::string path_;
    // The file's text with this pass's writes, from the first write on.
    mutable std::string text_;
    mutable bool loaded_ = false;
    mutable bool unreadable_ = false;  // an existing file that can't be read is left alone
    mutable bool changed_ = false;
};

}  // namespace wordbay
