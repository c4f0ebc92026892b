// Interface language files: plain text that pairs the keys of the message
// table with translated texts, one value line each:
//
//     MENU_EXIT = "E&xit"
//
// A line may start with spaces; one whose first other character is ";" is a
// comment. The key is compared exactly and must be followed by a space or "=";
// the value is the text between the first double quote after the first "="
// and the next double quote, with backslash-n read as a line break and
// backslash-t as a tab. An empty value counts as absent, and the first line
// of a key that gives a value wins. Lines end with CR, LF or CR LF.
//
// A file is valid when its LNG_ID_VER line holds exactly "KX_5". Files are
// 8-bit text: one that is valid UTF-8 is read as UTF-8 (a leading byte-order
// mark is dropped); any other is read in the Windows code page that a
// CODEPAGE line names (874, 932, 936, 949, 950, 1250 to 1258), else in 1252.
// Every text that comes out of this file is UTF-8.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace wordbay {

// The value the LNG_ID_VER line of a valid language file holds.
inline constexpr char kLanguageFileId[] = "KX_5";

// The largest language file read (bytes); bigger files fail like unreadable ones.
inline constexpr std::size_t kMaxLanguageFileBytes = 16 * 1024 * 1024;

// The header values of a language file; a missing line gives an empty text.
struct LanguageFileInfo {
    std::string lng_id_ver;
    std::string language;  // the name shown in the language list
    std::string author;
    std::string description;
    std::string version;
    std::string date;
};

// The values of one language file, by key.
class LanguageFile {
public:
    // Decodes `bytes` and reads every value line of it. Never fails: text
    // without value lines gives an empty, invalid file.
    static LanguageFile FromBytes(std::string_view bytes);

    // The value of `key`, or null when the file gives none. The pointer stays
    // valid as long as this object.
    const std::string* Find(std::string_view key) const;

    // Whether the LNG_ID_VER value is exactly "KX_5".
    bool valid() const;
    LanguageFileInfo info() const;

private:
    std::map<std::string, std::string, std::less<>> values_;
};

// Reads the file at `path` whole. Fails when it cannot be read, is empty or
// is larger than kMaxLanguageFileBytes.
bool ReadLanguageFileBytes(const std::string& path, std::string* bytes);

// The header of the language file at `path`, or nothing when the file cannot
// be read or is not a valid language file.
std::optional<LanguageFileInfo> ReadLanguageHeader(const std::string& path);

// `bytes` as UTF-8 by the encoding rule above.
std::string DecodeLanguageBytes(std::string_view bytes);

}  // namespace wordbay
