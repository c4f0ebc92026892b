#include "engine/formats/txt_format.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "engine/char_text.h"
#include "engine/formats/file_input.h"
#include "engine/formats/pair_build.h"
#include "engine/formats/replacement.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "platform/code_page.h"
#include "platform/locale.h"
#include "platform/side_by_side.h"

namespace lexbase {
namespace {

// One pair of texts as the import found it, before its texts go into the
// encodings of their lists.
using TextPair = std::pair<std::string_view, std::string_view>;

// How the texts of one side of the pairs are encoded.
enum class TextColumn {
    kCodePage,     // in the code page of their list
    kUtf8,         // UTF-8; malformed bytes are mended
    kCheckedUtf8,  // UTF-8 that is known to be well formed
};

constexpr std::uint32_t kDefaultLocale = 1024;  // the user's locale
constexpr std::uint32_t kTxtCharset = 1;
constexpr std::size_t kMinFileSize = 3;

using Buffer = MallocBlock<char>;

// The text up to its first NUL: words are NUL-terminated in the lists.
std::string_view UpToNul(std::string_view text) {
    const void* nul = std::memchr(text.data(), '\0', text.size());
    return nul == nullptr ? text : text.substr(0, static_cast<const char*>(nul) - text.data());
}

// The first TAB or CR of `line` at or after `from`, or npos.
std::size_t FindTabOrCr(std::string_view line, std::size_t from) {
    for (std::size_t i = from; i < line.size(); ++i) {
        if (line[i] == '\t' || line[i] == '\r') return i;
    }
    return std::string_view::npos;
}

// The pair a line carries, if any. `line` runs from the byte after an LF up
// to, not including, the next LF or the end of the text; a CR ends the
// secondary word, and so does the end of the line.
bool PairOfLine(std::string_view line, std::string_view* primary, std::string_view* secondary) {
    if (line.empty() || line[0] == '\r' || line[0] == '\t') return false;
    const std::size_t tab = FindTabOrCr(line, 0);
    if (tab == std::string_view::npos || line[tab] != '\t') return false;
    // A TAB right before the line end belongs to the primary word, which then
    // has no translation.
    if (tab + 1 == line.size() || line[tab + 1] == '\r') return false;
    std::size_t end = FindTabOrCr(line, tab + 1);
    if (end == std::string_view::npos) end = line.size();
    if (end < line.size() && line[end] != '\r') return false;  // a third column
    *primary = UpToNul(line.substr(0, tab));
    *secondary = UpToNul(line.substr(tab + 1, end - tab - 1));
    return true;
}

// Whether one column of the pairs is UTF-8 rather than a code page: valid
// UTF-8 throughout, with at least one byte above 127. Each column decides for
// itself, so that the export of a dictionary with one UTF-8 list and one
// 8-bit list imports again as it was.
bool ColumnIsUtf8(const std::vector<TextPair>& pairs, bool second) {
    bool high = false;
    for (const TextPair& pair : pairs) {
        const std::string_view text = second ? pair.second : pair.first;
        if (!platform::IsValidUtf8(text)) return false;
        high = high || std::any_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<std::uint8_t>(c) >= 0x80; });
    }
    return high;
}

// Collects the pairs of `text`: the file's bytes after the end-of-file rule,
// preceded by the LF that starts the first line.
void ScanLines(std::string_view text, std::vector<TextPair>* pairs) {
    std::size_t lf = 0;  // text[0] is the leading LF
    while (lf < text.size()) {
        std::size_t next = text.find('\n', lf + 1);
        if (next == std::string_view::npos) next = text.size();
        std::string_view primary, secondary;
        if (PairOfLine(text.substr(lf + 1, next - lf - 1), &primary, &secondary)) {
            pairs->emplace_back(primary, secondary);
        }
        lf = next;
    }
}

// The texts of one side of the pairs in the encoding of their list.
class SideTexts {
public:
    // Decides the list's encoding and converts its texts where needed: UTF-8
    // input goes into the list's code page when every text fits it, else the
    // list becomes UTF-8; 8-bit input into a UTF-8 list is read in the ANSI
    // code page of the list's locale.
    SideTexts(const std::vector<TextPair>& pairs, bool second, TextColumn column,
              std::uint32_t locale, bool wants_utf8) {
        const bool utf8_input = column != TextColumn::kCodePage;
        charset_ =
            ChosenCharset(0, false, locale, wants_utf8 ? platform::kUtf8Charset : kTxtCharset);
        const auto text = [&](std::size_t i) { return second ? pairs[i].second : pairs[i].first; };
        if (utf8_input && charset_ != platform::kUtf8Charset) {
            const std::uint32_t code_page = platform::CodePageOf(locale);
            bool fits = true;
            for (std::size_t i = 0; i < pairs.size() && fits; ++i) {
                bool lossy = false;
                Append(platform::EncodeFromUtf8(code_page, text(i), &lossy));
                fits = !lossy;
            }
            if (fits) return;
            charset_ = platform::kUtf8Charset;
            texts_.clear();
            ends_.clear();
        }
        if (charset_ != platform::kUtf8Charset) return;  // 8-bit into 8-bit: as they are
        if (column == TextColumn::kCheckedUtf8) return;  // stays as it is
        if (utf8_input) {
            // Valid UTF-8 stays as it is; only malformed bytes need mending.
            bool valid = true;
            for (std::size_t i = 0; i < pairs.size() && valid; ++i) {
                valid = platform::IsValidUtf8(text(i));
            }
            if (valid) return;
        }
        const std::uint32_t code_page = platform::CodePageOf(locale);
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            if (utf8_input) {
                Append(
                    platform::EncodeFromUtf8(platform::kUtf8CodePage, text(i)));  // mends bad bytes
            } else {
                Append(platform::DecodeToUtf8(code_page, text(i)));
            }
        }
    }

    std::uint32_t charset() const { return charset_; }
    bool converted() const { return !ends_.empty(); }
    std::string_view Text(std::size_t i) const {
        const std::size_t start = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(texts_).substr(start, ends_[i] - start);
    }

private:
    void Append(const std::string& text) {
        texts_ += text;
        ends_.push_back(texts_.size());
    }

    std::uint32_t charset_;
    std::string texts_;
    std::vector<std::size_t> ends_;
};

void CopyView(char* field, std::size_t size, std::string_view source) {
    std::memset(field, 0, size);
    std::memcpy(field, source.data(), std::min(source.size(), size - 1));
}

// Sets the description from a file name of the form A_B.ext (see
// SplitImportFileName).
void SetDescription(DB_CONTEXT* db, const char* file) {
    std::string_view a, b;
    CopyField(db->author, sizeof db->author, "TXT dictionary");
    if (!SplitImportFileName(file, &a, &b)) {
        CopyField(db->name, sizeof db->name, "Unknown - Unknown");
        CopyField(db->description, sizeof db->description, "Unknown dictionary");
        CopyField(db->primary_list_name, sizeof db->primary_list_name, "Unknown");
        CopyField(db->secondary_list_name, sizeof db->secondary_list_name, "Unknown");
        return;
    }
    // Each half is at most as long as the field, so the format's cut is the field's.
    const int a_chars = static_cast<int>(std::min(a.size(), kLongField));
    const int b_chars = static_cast<int>(std::min(b.size(), kLongField));
    std::snprintf(db->name, sizeof db->name, "%.*s - %.*s", a_chars, a.data(), b_chars, b.data());
    CopyField(db->description, sizeof db->description, db->name);
    CopyView(db->primary_list_name, sizeof db->primary_list_name, a);
    CopyView(db->secondary_list_name, sizeof db->secondary_list_name, b);
}

// Builds the dictionary of `db`, which holds none, from the pairs of the
// file's lines in their order; `primary` and `secondary` say how the texts of
// each side are encoded. The two sides are prepared side by side.
bool ImportTextPairs(DB_CONTEXT* db, const std::vector<TextPair>& raw, TextColumn primary,
                     TextColumn secondary, const char* file, std::uint32_t primary_locale,
                     std::uint32_t secondary_locale) {
    const bool wants_utf8[2] = {(primary_locale & DB_LOCALE_UTF8) != 0,
                                (secondary_locale & DB_LOCALE_UTF8) != 0};
    primary_locale &= ~DB_LOCALE_UTF8;
    secondary_locale &= ~DB_LOCALE_UTF8;
    if (primary_locale == 0 && secondary_locale == 0) {
        primary_locale = secondary_locale = kDefaultLocale;
    }
    if (raw.empty()) {
        FormatFileMessage(db, msg::kTxtNoPairs, file);
        return false;
    }
    PairArray pairs;
    std::unique_ptr<SideTexts> sides[2];
    try {
        platform::SideBySide(
            [&] {
                sides[0] =
                    std::make_unique<SideTexts>(raw, false, primary, primary_locale, wants_utf8[0]);
            },
            [&] {
                sides[1] = std::make_unique<SideTexts>(raw, true, secondary, secondary_locale,
                                                       wants_utf8[1]);
            });
    } catch (const std::bad_alloc&) {
        CopyField(db->message, sizeof db->message, msg::kMemoryErrorSpaced);
        return false;
    }
    if (!pairs.Reserve(raw.size())) {
        CopyField(db->message, sizeof db->message, msg::kMemoryErrorSpaced);
        return false;
    }
    for (std::size_t i = 0; i < raw.size(); ++i) {
        pairs.Add(sides[0]->converted() ? sides[0]->Text(i) : raw[i].first,
                  sides[1]->converted() ? sides[1]->Text(i)
                                        : raw[i].second);  // skips empty and over-long words
    }
    if (pairs.size() == 0) {
        FormatFileMessage(db, msg::kTxtNoPairs, file);
        return false;
    }
    db->lists[0].locale = primary_locale;
    db->lists[1].locale = secondary_locale;
    db->lists[0].charset = sides[0]->charset();
    db->lists[1].charset = sides[1]->charset();
    if (!BuildFromPairs(db, pairs.data(), pairs.size())) return false;  // lists are empty again
    db->lists[0].charset = sides[0]->charset();
    db->lists[1].charset = sides[1]->charset();
    SetDescription(db, file);
    return true;
}

// Imports from `buffer`, which holds an LF, the file's `size` bytes and room
// for one byte more.
bool ImportBuffer(DB_CONTEXT* db, char* buffer, std::size_t size, const char* file,
                  std::uint32_t primary_locale, std::uint32_t secondary_locale) {
    if (size < kMinFileSize) {
        FormatFileMessage(db, msg::kTxtTooSmall, file);
        return false;
    }
    buffer[0] = '\n';
    std::size_t length = 1 + size;
    if (buffer[size] == '\n') {
        --length;  // a final LF ends nothing
    } else {
        buffer[length++] = '\r';  // the last line needs no line end
    }
    std::string_view text(buffer, length);
    // A byte-order mark says UTF-8 for the whole file; else a column that is
    // valid UTF-8 with a byte above 127 is UTF-8 (ColumnIsUtf8).
    const bool bom = text.substr(1, 3) == "\xEF\xBB\xBF";
    if (bom) {
        buffer[3] = '\n';
        text.remove_prefix(3);
    }
    std::vector<TextPair> raw;
    TextColumn columns[2] = {TextColumn::kUtf8, TextColumn::kUtf8};  // with the mark
    try {
        ScanLines(text, &raw);
        if (!bom) {
            const auto decide = [&](bool second) {
                columns[second ? 1 : 0] =
                    ColumnIsUtf8(raw, second) ? TextColumn::kCheckedUtf8 : TextColumn::kCodePage;
            };
            platform::SideBySide([&] { decide(false); }, [&] { decide(true); });
        }
    } catch (const std::bad_alloc&) {
        CopyField(db->message, sizeof db->message, msg::kMemoryErrorSpaced);
        return false;
    }
    return ImportTextPairs(db, raw, columns[0], columns[1], file, primary_locale, secondary_locale);
}

// Buffered writing that remembers the first error.
class LineWriter {
public:
    explicit LineWriter(platform::FileWriter* out) : out_(out) {}
    void Append(std::string_view bytes) {
        if (bytes.size() > sizeof buffer_ - used_) {
            Flush();
            if (bytes.size() >= sizeof buffer_) {
                WriteAll(bytes);
                return;
            }
        }
        std::memcpy(buffer_ + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    void Flush() {
        WriteAll(std::string_view(buffer_, used_));
        used_ = 0;
    }
    bool ok() const { return ok_; }

private:
    void WriteAll(std::string_view bytes) {
        if (ok_ && !bytes.empty()) ok_ = out_->Write(bytes.data(), bytes.size());
    }

    platform::FileWriter* out_;
    bool ok_ = true;
    std::size_t used_ = 0;
    char buffer_[1 << 16];
};

}  // namespace

bool ImportTxtBytes(DB_CONTEXT* db, std::string_view bytes, const char* file,
                    std::uint32_t primary_locale, std::uint32_t secondary_locale) {
    Buffer buffer(static_cast<char*>(std::malloc(bytes.size() + 2)));
    if (buffer == nullptr) {
        CopyField(db->message, sizeof db->message, msg::kMemoryErrorSpaced);
        return false;
    }
    if (!bytes.empty()) std::memcpy(buffer.get() + 1, bytes.data(), bytes.size());
    return ImportBuffer(db, buffer.get(), bytes.size(), file, primary_locale, secondary_locale);
}

bool LoadTxt(DB_CONTEXT* db, const char* file, std::uint32_t primary_locale,
             std::uint32_t secondary_locale) {
    // One byte in front for the LF that starts the first line, one behind for
    // the CR that may end the last.
    ReadBounds bounds;
    bounds.min_size = kMinFileSize;
    bounds.front = 1;
    bounds.back = 1;
    WholeFile whole;
    switch (ReadWholeFile(file, bounds, &whole)) {
        case ReadStatus::kRead:
            return ImportBuffer(db, whole.block.get(), whole.size, file, primary_locale,
                                secondary_locale);
        case ReadStatus::kTooSmall:
            FormatFileMessage(db, msg::kTxtTooSmall, file);
            return false;
        case ReadStatus::kBadSize:
        case ReadStatus::kNoMemory:
            CopyField(db->message, sizeof db->message, msg::kMemoryErrorSpaced);
            return false;
        case ReadStatus::kCantOpen:
        case ReadStatus::kCantRead:
        case ReadStatus::kCantGetSize:
        case ReadStatus::kCantMap:
            break;
    }
    // A pipe, a device or a folder is refused at once, as a file that can't
    // be opened.
    FormatFileMessage(db, msg::kTxtCantOpen, file);
    return false;
}

bool SaveTxt(DB_CONTEXT* db, const char* file) {
    platform::FileWriter out;
    if (!StartReplacement(db, &out, file, msg::kTxtCantCreate)) return false;
    std::unique_ptr<LineWriter> writer(new (std::nothrow) LineWriter(&out));
    if (writer == nullptr) {
        CopyField(db->message, sizeof db->message, msg::kMemoryErrorSpaced);
        return false;
    }
    const WordList& primary = db->lists[0];
    std::uint64_t done = 0;
    for (const WordNode* word = primary.head; word != nullptr && writer->ok(); word = word->next) {
        const std::string_view text(word->text, word->length);
        for (const TransLink* link = word->links; link != nullptr; link = link->next) {
            writer->Append(text);
            writer->Append("\t");
            writer->Append(std::string_view(link->target->text, link->target->length));
            writer->Append("\r\n");
        }
        if (primary.word_count != 0) {
            SetProgress(db, static_cast<std::uint32_t>(done * 100 / primary.word_count));
        }
        ++done;
    }
    writer->Flush();
    if (!writer->ok()) {
        FormatFileMessage(db, msg::kTxtCantWrite, file);
        return false;
    }
    // A full disk may show only when the file is flushed.
    return FinishReplacement(db, &out, file, msg::kTxtCantWrite, msg::kTxtCantWrite);
}

}  // namespace lexbase
