#include "tools/freedict_reader.h"

#include <libdeflate.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string_view>
#include <utility>

#include "platform/side_by_side.h"
#include "tools/flat_index.h"

namespace cli {
namespace {

constexpr std::uint64_t kMaxDictdNumber = std::uint64_t{1} << 48;

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool StartsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Removes <tags> and [labels] whose closing bracket is on the line; a lone
// bracket stays as an ordinary character. A tag or label, and a TAB, leave a
// space.
std::string StripTags(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t mark = i;
        while (mark < text.size() && text[mark] != '<' && text[mark] != '[' && text[mark] != '\t') {
            ++mark;
        }
        if (mark == text.size()) mark = std::string_view::npos;
        out.append(text.substr(i, mark == std::string_view::npos ? mark : mark - i));
        if (mark == std::string_view::npos) break;
        const char c = text[mark];
        i = mark + 1;
        if (c != '\t') {
            const auto close = text.find(c == '<' ? '>' : ']', mark + 1);
            if (close == std::string_view::npos) {
                out += c;
                continue;
            }
            i = close + 1;
        }
        out += ' ';
    }
    return out;
}

// Trims and turns runs of spaces into one space.
std::string Tidy(std::string_view text) {
    text = Trim(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t space = text.find(' ', i);
        if (space == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, space + 1 - i));
        i = text.find_first_not_of(' ', space);
    }
    return out;
}

// Skips a sense number such as "1." or "12)" followed by a space.
std::string_view SkipSenseNumber(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
    if (i == 0 || i + 1 >= line.size() || i > 3) return line;
    if ((line[i] == '.' || line[i] == ')') && line[i + 1] == ' ') return Trim(line.substr(i + 2));
    return line;
}

bool IsNonTranslationLine(std::string_view line) {
    static constexpr std::string_view kPrefixes[] = {"Note:", "Synonym:", "Synonyms:", "see:",
                                                     "See:",  "Antonym:", "Antonyms:", "\"",
                                                     "{",     "Usage:",   "Example:"};
    // Most lines begin with no prefix's first letter.
    if (!line.empty() &&
        std::string_view("NSsAU\"{E").find(line.front()) != std::string_view::npos) {
        for (const auto prefix : kPrefixes) {
            if (StartsWith(line, prefix)) return true;
        }
    }
    // A line that is one parenthesised group is a grammatical label, such as
    // "(noun (common) (futsuumeishi))" or "1. (Ichidan verb)" before the
    // senses of Japanese entries.
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits > 0 && digits < line.size() && line[digits] == '.') {
        line = Trim(line.substr(digits + 1));
    }
    if (line.empty() || line.front() != '(') return false;
    int depth = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '(') ++depth;
        if (line[i] == ')' && --depth == 0) return i + 1 == line.size();
    }
    return false;
}

// Calls take(headword, offset, length) for each line of an ".index" text that
// has three fields with valid numbers and is not one of the database's own
// entries (headwords starting with "00database" or "00-database-").
template <typename Take>
void ScanIndex(std::string_view text, Take take) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const auto tab1 = line.find('\t');
        if (tab1 == std::string_view::npos) continue;
        const auto tab2 = line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos) continue;
        const auto headword = line.substr(0, tab1);
        // A fourth field (an original headword) may follow the length.
        const auto length_end = line.find('\t', tab2 + 1);
        std::uint64_t offset = 0, length = 0;
        if (!DecodeDictdNumber(line.substr(tab1 + 1, tab2 - tab1 - 1), &offset) ||
            !DecodeDictdNumber(
                line.substr(tab2 + 1, length_end == std::string_view::npos ? std::string_view::npos
                                                                           : length_end - tab2 - 1),
                &length)) {
            continue;
        }
        if (StartsWith(headword, "00database") || StartsWith(headword, "00-database-")) continue;
        take(headword, offset, length);
    }
}

// Where an entry lies in the text.
struct Span {
    std::uint64_t offset;
    std::uint64_t length;
    bool operator<(const Span& other) const {
        return offset < other.offset || (offset == other.offset && length < other.length);
    }
    bool operator==(const Span&) const = default;
};

// Some databases hold one entry several times under other offsets (epo-eng's
// "ĉevalo" three times); kept, its translation would be listed once per copy.
// Keeps the first of each repeated pair, in order; returns how many went.
std::size_t DropRepeatedPairs(std::vector<TranslationPair>* pairs) {
    std::vector<TranslationPair>& p = *pairs;
    std::vector<char> keep(p.size(), 0);
    // A repeat has the lengths of its first, so pairs of odd and of even total
    // length are looked at side by side.
    std::size_t odd = 0;
    for (const TranslationPair& pair : p) odd += (pair.word.size() + pair.translation.size()) % 2;
    const auto mark = [&](std::size_t parity) {
        FlatIndex seen(parity == 1 ? odd : p.size() - odd);
        for (std::size_t i = 0; i < p.size(); ++i) {
            if ((p[i].word.size() + p[i].translation.size()) % 2 != parity) continue;
            const std::uint64_t h = HashText(p[i].word);
            const std::uint64_t hash =
                h ^ (HashText(p[i].translation) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2));
            const auto number = static_cast<std::size_t>(
                seen.FindOrAdd(hash, static_cast<std::uint32_t>(i), [&](std::uint32_t n) {
                    return p[n].word == p[i].word && p[n].translation == p[i].translation;
                }));
            keep[i] = number == i;
        }
    };
    platform::SideBySide([&] { mark(0); }, [&] { mark(1); });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (!keep[i]) continue;
        if (kept != i) p[kept] = std::move(p[i]);
        ++kept;
    }
    const std::size_t dropped = p.size() - kept;
    p.resize(kept);
    return dropped;
}

// The entries an ".index" text names, each once, in file order: several
// headwords may point at one entry, and file order keeps each headword's
// senses in their order.
std::vector<Span> EntrySpans(std::string_view index_text) {
    std::vector<Span> spans;
    ScanIndex(index_text, [&](std::string_view, std::uint64_t offset, std::uint64_t length) {
        spans.push_back({offset, length});
    });
    std::sort(spans.begin(), spans.end());
    spans.erase(std::unique(spans.begin(), spans.end()), spans.end());
    return spans;
}

// The bytes of a file; false when it can't be read.
bool ReadWhole(const std::string& path, std::string* bytes) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const std::streamoff length = file.tellg();
    if (!file || length < 0) return false;
    bytes->assign(static_cast<std::size_t>(length), '\0');
    file.seekg(0);
    return static_cast<bool>(file.read(bytes->data(), length));
}

// The text of a .dict file as it is, or of a gzip file of one member, as a
// dictzip file is, inflated with libdeflate in one call; false for any other
// file, which zlib then reads (and explains, if it can't).
bool ReadText(const std::string& path, std::string* text) {
    std::string packed;
    if (!ReadWhole(path, &packed)) return false;
    if (packed.size() < 2 || packed[0] != '\x1F' || packed[1] != '\x8B') {
        *text = std::move(packed);  // no gzip file: zlib, too, reads it as it is
        return true;
    }
    if (packed.size() < 18) return false;
    // The trailer's ISIZE: the text's length modulo 2^32.
    const auto* end = reinterpret_cast<const unsigned char*>(packed.data() + packed.size());
    const std::size_t size = std::size_t{end[-4]} | std::size_t{end[-3]} << 8 |
                             std::size_t{end[-2]} << 16 | std::size_t{end[-1]} << 24;
    if (size > packed.size() * 1032) return false;  // more than deflate can give
    text->resize(size);
    libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
    if (inflater == nullptr) return false;
    std::size_t used = 0, made = 0;
    const libdeflate_result result = libdeflate_gzip_decompress_ex(
        inflater, packed.data(), packed.size(), text->data(), size, &used, &made);
    libdeflate_free_decompressor(inflater);
    if (result != LIBDEFLATE_SUCCESS || used != packed.size() || made != size) {
        text->clear();
        return false;
    }
    return true;
}

// Reads a .dict or .dict.dz file through zlib, which reads a plain file
// unchanged and a gzip file of several members.
bool ReadThroughZlib(const std::string& dict_path, std::string* text, std::string* error) {
    gzFile dict = gzopen(dict_path.c_str(), "rb");
    if (dict == nullptr) {
        *error = "Cannot open " + dict_path;
        return false;
    }
    gzbuffer(dict, 1 << 17);
    char chunk[1 << 16];
    int got = 0;
    while ((got = gzread(dict, chunk, sizeof chunk)) > 0) text->append(chunk, got);
    int gz_error = Z_OK;
    const char* gz_message = gzerror(dict, &gz_error);
    const bool read_ok = got == 0 && (gz_error == Z_OK || gz_error == Z_BUF_ERROR);
    const std::string detail = gz_message != nullptr ? gz_message : "";
    gzclose(dict);
    if (!read_ok) {
        *error = "Cannot read " + dict_path + ": " + detail;
        return false;
    }
    return true;
}

// The pairs of every entry of `text` that `entries` name, in file order.
// The second half of the text is parsed on a thread of its own.
void ParseEntries(const std::string& text, const std::vector<Span>& spans,
                  std::vector<TranslationPair>* pairs) {
    std::vector<std::string_view> parts;
    std::size_t bytes = 0;
    for (const Span& span : spans) {
        if (span.offset > text.size() || span.length > text.size() - span.offset) continue;
        parts.push_back(std::string_view(text).substr(span.offset, span.length));
        bytes += span.length;
    }
    const auto parse = [&](std::size_t from, std::size_t to, std::vector<TranslationPair>* out) {
        for (std::size_t i = from; i < to; ++i) AppendEntryPairs(parts[i], out);
    };
    // Where the parts reach half the bytes.
    std::size_t half = 0;
    for (std::size_t done = 0; half < parts.size() && done < bytes / 2; ++half) {
        done += parts[half].size();
    }
    // Room for a few pairs an entry, taken only as it is filled, saves
    // copying the pairs as the lists grow.
    constexpr std::size_t kPairsAnEntry = 3;
    pairs->reserve(pairs->size() + kPairsAnEntry * parts.size());
    std::vector<TranslationPair> second;
    second.reserve(kPairsAnEntry * (parts.size() - half));
    platform::SideBySide([&] { parse(0, half, pairs); },
                         [&] { parse(half, parts.size(), &second); });
    pairs->insert(pairs->end(), std::make_move_iterator(second.begin()),
                  std::make_move_iterator(second.end()));
}

}  // namespace

bool DecodeDictdNumber(std::string_view text, std::uint64_t* value) {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (text.empty()) return false;
    std::uint64_t v = 0;
    for (const char c : text) {
        const auto digit = kAlphabet.find(c);
        if (digit == std::string_view::npos) return false;
        v = v * 64 + digit;
        if (v >= kMaxDictdNumber) return false;
    }
    *value = v;
    return true;
}

std::vector<IndexEntry> ParseIndex(std::string_view text) {
    std::vector<IndexEntry> entries;
    ScanIndex(text, [&](std::string_view headword, std::uint64_t offset, std::uint64_t length) {
        entries.push_back({std::string(headword), offset, length});
    });
    return entries;
}

std::string ParseHeadword(std::string_view line) {
    // The pronunciation is " /.../": the first " /" with a closing slash after it.
    const auto open = line.find(" /");
    if (open != std::string_view::npos && line.find('/', open + 2) != std::string_view::npos) {
        line = line.substr(0, open);
    }
    return Tidy(StripTags(line));
}

std::vector<std::string> SplitTranslations(std::string_view line) {
    const std::string text = StripTags(SkipSenseNumber(Trim(line)));
    std::vector<std::string> out;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ',';
        if (c == '(') ++depth;
        if (c == ')' && depth > 0) --depth;
        // A comma between digits is a decimal comma ("0,42"), not a separator.
        const bool decimal = c == ',' && i > 0 && i + 1 < text.size() && IsDigit(text[i - 1]) &&
                             IsDigit(text[i + 1]);
        if ((c == ',' || c == ';') && !decimal && (depth == 0 || i == text.size())) {
            std::string piece = Tidy(std::string_view(text).substr(start, i - start));
            if (!piece.empty()) out.push_back(std::move(piece));
            start = i + 1;
        }
    }
    return out;
}

void AppendEntryPairs(std::string_view entry, std::vector<TranslationPair>* pairs) {
    const std::size_t first = pairs->size();
    // A translation the entry gave already: looked for among its own pairs,
    // through a set once they are many.
    std::set<std::string> many;
    const auto seen = [&](const std::string& translation) {
        constexpr std::size_t kFew = 32;
        if (pairs->size() - first < kFew) {
            for (std::size_t i = first; i < pairs->size(); ++i) {
                if ((*pairs)[i].translation == translation) return true;
            }
            return false;
        }
        if (many.empty()) {
            for (std::size_t i = first; i < pairs->size(); ++i)
                many.insert((*pairs)[i].translation);
        }
        return !many.insert(translation).second;
    };
    std::string headword;
    bool have_headword = false;
    while (!entry.empty()) {
        const auto end = entry.find('\n');
        const std::string_view raw = entry.substr(0, end);
        entry = end == std::string_view::npos ? std::string_view{} : entry.substr(end + 1);
        const std::string_view line = Trim(raw);
        if (line.empty()) continue;
        if (!have_headword) {
            headword = ParseHeadword(line);
            have_headword = true;
            if (headword.empty()) return;
            continue;
        }
        if (IsNonTranslationLine(line)) continue;
        for (auto& translation : SplitTranslations(line)) {
            if (!seen(translation)) pairs->push_back({headword, std::move(translation)});
        }
    }
}

std::vector<TranslationPair> ParseEntry(std::string_view entry) {
    std::vector<TranslationPair> pairs;
    AppendEntryPairs(entry, &pairs);
    return pairs;
}

bool LocateDictd(const std::string& index_or_name, const std::string& search_dir, std::string* base,
                 std::string* error) {
    std::vector<std::string> candidates;
    if (EndsWith(index_or_name, ".index")) {
        candidates.push_back(index_or_name.substr(0, index_or_name.size() - 6));
    } else if (index_or_name.find('/') != std::string::npos) {
        candidates.push_back(index_or_name);
    } else {
        candidates.push_back(search_dir + "/freedict-" + index_or_name);
        candidates.push_back(search_dir + "/" + index_or_name);
    }
    for (const auto& candidate : candidates) {
        if (FileExists(candidate + ".index") &&
            (FileExists(candidate + ".dict.dz") || FileExists(candidate + ".dict"))) {
            *base = candidate;
            return true;
        }
    }
    *error = "No dictd database \"" + index_or_name + "\" (looked for " + candidates.front() +
             ".index and .dict.dz)";
    return false;
}

bool LanguageCodes(const std::string& base, std::string* from, std::string* to) {
    std::string name = base.substr(base.find_last_of('/') + 1);
    if (StartsWith(name, "freedict-")) name = name.substr(9);
    const auto dash = name.find('-');
    if (dash == std::string::npos || dash == 0 || dash + 1 >= name.size()) return false;
    *from = name.substr(0, dash);
    *to = name.substr(dash + 1);
    return to->find('-') == std::string::npos;
}

bool ReadDictd(const std::string& base, std::vector<TranslationPair>* pairs, std::string* error,
               std::size_t* repeated) {
    std::string index_text;
    if (!ReadWhole(base + ".index", &index_text)) {
        *error = "Cannot read " + base + ".index";
        return false;
    }
    // The index is read while the text inflates.
    const std::string dict_path =
        FileExists(base + ".dict.dz") ? base + ".dict.dz" : base + ".dict";
    std::string text;
    bool have_text = false;
    std::vector<Span> spans;
    platform::SideBySide([&] { spans = EntrySpans(index_text); },
                         [&] {
                             have_text = ReadText(dict_path, &text) ||
                                         ReadThroughZlib(dict_path, &text, error);
                         });
    if (!have_text) return false;
    ParseEntries(text, spans, pairs);
    const std::size_t dropped = DropRepeatedPairs(pairs);
    if (repeated != nullptr) *repeated = dropped;
    return true;
}

}  // namespace cli
