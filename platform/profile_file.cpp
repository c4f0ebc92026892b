#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "platform/file_reader.h"
#include "platform/file_writer.h"

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// One line of the text: [begin, end) is its content, `next` the start of the
// line after its line break (CR LF, LF or a lone CR).
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

// Walks the lines of a text from its start.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool Next(Line* line) {
        if (pos_ >= text_.size()) return false;
        line->begin = pos_;
        std::size_t end = text_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) end = text_.size();
        line->end = end;
        std::size_t next = end;
        if (next < text_.size()) {
            next +=
                (text_[next] == '\r' && next + 1 < text_.size() && text_[next + 1] == '\n') ? 2 : 1;
        }
        line->next = next;
        pos_ = next;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

enum class LineKind { kOther, kSection, kKey };

struct ParsedLine {
    LineKind kind = LineKind::kOther;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed, quotes not yet removed
};

ParsedLine Parse(std::string_view content) {
    ParsedLine parsed;
    const std::string_view s = Trim(content);
    if (s.empty() || s.front() == ';') return parsed;
    if (s.front() == '[') {
        // The name ends at the last "]" of the line, so a name may hold "]".
        std::string_view name = s.substr(1);
        const std::size_t close = name.rfind(']');
        if (close != std::string_view::npos) name = name.substr(0, close);
        parsed.kind = LineKind::kSection;
        parsed.name = Trim(name);
        return parsed;
    }
    const std::size_t eq = s.find('=');
    if (eq == std::string_view::npos) return parsed;
    parsed.kind = LineKind::kKey;
    parsed.name = Trim(s.substr(0, eq));
    parsed.value = Trim(s.substr(eq + 1));
    return parsed;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The text to write after "=" so that reading it gives `value` back.
std::string StoredValue(std::string_view value) {
    if (value.empty() || (!IsBlank(value.front()) && !IsBlank(value.back()) &&
                          Unquote(value).size() == value.size())) {
        return std::string(value);
    }
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    quoted += value;
    quoted += '"';
    return quoted;
}

// The line break new lines get: CR LF when the text's first line ends so, else
// LF. A lone CR is never written, as it would join an LF that follows it.
std::string_view LineBreakOf(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n");
    const bool crlf = at != std::string_view::npos && text.substr(at, 2) == "\r\n";
    return crlf ? "\r\n" : "\n";
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty()) return std::nullopt;
    LineReader reader(text);
    Line line;
    bool in_section = false;
    while (reader.Next(&line)) {
        const ParsedLine parsed = Parse(text.substr(line.begin, line.end - line.begin));
        if (parsed.kind == LineKind::kSection) {
            if (in_section) return std::nullopt;  // only the first matching section counts
            in_section = SameName(parsed.name, section);
        } else if (in_section && parsed.kind == LineKind::kKey && SameName(parsed.name, key)) {
            return std::string(Unquote(parsed.value));
        }
    }
    return std::nullopt;
}

bool SetProfileValue(std::string* text, std::string_view section, std::string_view key,
                     std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || key.find('=') != std::string_view::npos || key.front() == '[' ||
        key.front() == ';') {
        return false;
    }
    const std::string_view all(*text);
    const std::string_view line_break = LineBreakOf(all);
    const std::string stored = StoredValue(value);

    LineReader reader(all);
    Line line;
    bool in_section = false;
    bool found_section = false;
    // A new key goes after the last line of the section that is neither blank
    // nor a comment, so that blank lines and a comment that introduce the next
    // section stay with it.
    std::size_t insert_at = 0;
    while (reader.Next(&line)) {
        const std::string_view content = all.substr(line.begin, line.end - line.begin);
        const ParsedLine parsed = Parse(content);
        if (parsed.kind == LineKind::kSection) {
            if (in_section) break;
            if (!found_section && SameName(parsed.name, section)) {
                in_section = found_section = true;
                insert_at = line.next;
            }
            continue;
        }
        if (!in_section) continue;
        if (parsed.kind == LineKind::kKey && SameName(parsed.name, key)) {
            // The file's own spelling of the key stays.
            std::string replacement(parsed.name);
            replacement += '=';
            replacement += stored;
            text->replace(line.begin, line.end - line.begin, replacement);
            return true;
        }
        const std::string_view trimmed = Trim(content);
        if (!trimmed.empty() && trimmed.front() != ';') insert_at = line.next;
    }

    std::string addition;
    if (found_section) {
        // The line before the insertion point may be the last line of the
        // text without a line break of its own.
        if (insert_at > 0 && all[insert_at - 1] != '\n' && all[insert_at - 1] != '\r') {
            addition += line_break;
        }
    } else {
        insert_at = all.size();
        if (!all.empty() && all.back() != '\n' && all.back() != '\r') addition += line_break;
        addition += '[';
        addition += section;
        addition += ']';
        addition += line_break;
    }
    addition += key;
    addition += '=';
    addition += stored;
    addition += line_break;
    text->insert(insert_at, addition);
    return true;
}

bool ReadProfileText(const std::string& path, std::string* text, bool* missing) {
    *missing = false;
    const ReadOutcome outcome = ReadRegularFile(path.c_str(), kMaxProfileSize, text);
    *missing = outcome == ReadOutcome::kMissing;
    return outcome == ReadOutcome::kRead;
}

bool WriteProfileText(const std::string& path, std::string_view text) {
    return WriteWholeFile(path.c_str(), text.data(), text.size());
}

bool ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string* value) {
    std::string text;
    bool missing = false;
    if (!ReadProfileText(path, &text, &missing)) return false;
    std::optional<std::string> found = FindProfileValue(text, section, key);
    if (!found) return false;
    *value = std::move(*found);
    return true;
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    std::string text;
    bool missing = false;
    if (!ReadProfileText(path, &text, &missing) && !missing) return false;
    if (!SetProfileValue(&text, section, key, value)) return false;
    return WriteProfileText(path, text);
}

}  // namespace platform
