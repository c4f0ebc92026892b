#include "app/language_file.h"

#include <charconv>
#include <fstream>
#include <iterator>

#include "platform/code_page.h"
#include "platform/file_reader.h"

namespace wordbay {
namespace {

bool EndsLine(char c) { return c == '\0' || c == '\r' || c == '\n'; }

// Turns every backslash-`letter` pair of `value` into `replacement`.
std::string Unescape(std::string_view value, char letter, char replacement) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == letter) {
            out += replacement;
            ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}

// The key and value of one line, when the line is a value line.
bool ParseLine(std::string_view line, std::string_view* key, std::string_view* value) {
    std::size_t p = line.find_first_not_of(' ');
    if (p == std::string_view::npos || line[p] == ';') return false;
    // Keys hold neither spaces nor "=", so the key is everything up to the
    // first of them, and a line without either holds no key.
    const std::size_t key_end = line.find_first_of(" =", p);
    if (key_end == std::string_view::npos || key_end == p) return false;
    const std::size_t eq = line.find('=', key_end);
    if (eq == std::string_view::npos) return false;
    const std::size_t open = line.find('"', eq + 1);
    if (open == std::string_view::npos || open + 1 == line.size()) return false;
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos || close == open + 1) return false;
    *key = line.substr(p, key_end - p);
    *value = line.substr(open + 1, close - open - 1);
    return true;
}

// The code pages a CODEPAGE line may name.
bool IsLanguageCodePage(int code_page) {
    switch (code_page) {
        case 874:
        case 932:
        case 936:
        case 949:
        case 950:
            return true;
        default:
            return code_page >= 1250 && code_page <= 1258;
    }
}

// Reads every value line of already decoded text.
template <typename Store>
void ReadValueLines(std::string_view text, Store store) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !EndsLine(text[end])) ++end;
        std::string_view key;
        std::string_view value;
        if (ParseLine(text.substr(pos, end - pos), &key, &value)) store(key, value);
        pos = end + 1;
    }
}

}  // namespace

std::string DecodeLanguageBytes(std::string_view bytes) {
    if (platform::IsValidUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    int code_page = 1252;
    bool seen = false;
    // Header lines are ASCII, which every code page above shares.
    ReadValueLines(bytes, [&](std::string_view key, std::string_view value) {
        if (seen || key != "CODEPAGE") return;
        seen = true;
        int named = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), named);
        if (error == std::errc() && end == value.data() + value.size() &&
            IsLanguageCodePage(named)) {
            code_page = named;
        }
    });
    return platform::DecodeToUtf8(static_cast<std::uint32_t>(code_page), bytes);
}

LanguageFile LanguageFile::FromBytes(std::string_view bytes) {
    LanguageFile file;
    const std::string text = DecodeLanguageBytes(bytes);
    ReadValueLines(text, [&file](std::string_view key, std::string_view value) {
        if (file.values_.find(key) != file.values_.end()) return;  // the first line wins
        file.values_.emplace(std::string(key), Unescape(Unescape(value, 'n', '\n'), 't', '\t'));
    });
    return file;
}

const std::string* LanguageFile::Find(std::string_view key) const {
    const auto it = values_.find(key);
    return it == values_.end() ? nullptr : &it->second;
}

bool LanguageFile::valid() const {
    const std::string* id = Find("LNG_ID_VER");
    return id != nullptr && *id == kLanguageFileId;
}

LanguageFileInfo LanguageFile::info() const {
    const auto value = [this](std::string_view key) {
        const std::string* found = Find(key);
        return found ? *found : std::string();
    };
    return {value("LNG_ID_VER"),  value("LANGUAGE"), value("AUTHOR"),
            value("DESCRIPTION"), value("VERSION"),  value("DATE")};
}

bool ReadLanguageFileBytes(const std::string& path, std::string* bytes) {
    // A pipe or a device in a language file's place is refused at once.
    std::string data;
    if (platform::ReadRegularFile(path.c_str(), kMaxLanguageFileBytes, &data) !=
            platform::ReadOutcome::kRead ||
        data.empty()) {
        return false;
    }
    *bytes = std::move(data);
    return true;
}

std::optional<LanguageFileInfo> ReadLanguageHeader(const std::string& path) {
    std::string bytes;
    if (!ReadLanguageFileBytes(path, &bytes)) return std::nullopt;
    const LanguageFile file = LanguageFile::FromBytes(bytes);
    if (!file.valid()) return std::nullopt;
    return file.info();
}

}  // namespace wordbay
