#include "exchange/dictd_reader.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "exchange/dictd_format.h"
#include "exchange/dictzip.h"
#include "exchange/file_input.h"
#include "platform/side_by_side.h"

namespace exchange {
namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool StartsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

// Calls take(headword, offset, length, original) for each line of an
// ".index" text that has three fields with valid numbers; a fourth field, the
// headword as written, may follow.
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
        const auto tab3 = line.find('\t', tab2 + 1);
        std::uint64_t offset = 0, length = 0;
        if (!DecodeDictdNumber(line.substr(tab1 + 1, tab2 - tab1 - 1), &offset) ||
            !DecodeDictdNumber(
                line.substr(tab2 + 1, tab3 == std::string_view::npos ? std::string_view::npos
                                                                     : tab3 - tab2 - 1),
                &length)) {
            continue;
        }
        const std::string_view original =
            tab3 == std::string_view::npos ? std::string_view{} : line.substr(tab3 + 1);
        take(line.substr(0, tab1), offset, length, original);
    }
}

// Where an entry lies in the text, and the first index line that names it.
struct Span {
    std::uint64_t offset;
    std::uint64_t length;
    std::string_view key;
    std::string_view original;
    bool SamePlace(const Span& other) const {
        return offset == other.offset && length == other.length;
    }
};

// The entries an ".index" text names, each once, in the order of the text:
// several headwords may point at one entry, and that order keeps each
// headword's senses in their order. The database's own entries go to
// *own.
std::vector<Span> EntrySpans(std::string_view index_text, std::vector<Span>* own) {
    std::vector<Span> spans;
    ScanIndex(index_text, [&](std::string_view key, std::uint64_t offset, std::uint64_t length,
                              std::string_view original) {
        (IsDatabaseEntry(key) ? *own : spans).push_back({offset, length, key, original});
    });
    std::stable_sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
        return a.offset < b.offset || (a.offset == b.offset && a.length < b.length);
    });
    spans.erase(std::unique(spans.begin(), spans.end(),
                            [](const Span& a, const Span& b) { return a.SamePlace(b); }),
                spans.end());
    return spans;
}

// The pairs of one entry: its first line is its headword line when it is the
// headword the index keeps, names the entry's key or holds a pronunciation
// (" /.../"); else every line holds senses of the index's headword.
void AppendIndexedEntry(std::string_view text, const Span& span,
                        std::vector<TranslationPair>* pairs) {
    std::string_view rest;
    const std::string_view first = FirstLine(text, &rest);
    const std::string_view original = TrimBlanks(span.original);
    const auto slash = first.find(" /");
    const bool pronounced =
        slash != std::string_view::npos && first.find('/', slash + 2) != std::string_view::npos;
    const bool headword_line =
        !first.empty() &&
        (first == original || pronounced || DictdKey(ParseHeadword(first)) == DictdKey(span.key));
    if (!headword_line) {
        AppendSensePairs(original.empty() ? span.key : span.original, text, pairs);
    } else if (!original.empty()) {
        AppendSensePairs(span.original, rest, pairs);
    } else {
        AppendEntryPairs(text, pairs);
    }
}

// The pairs of every entry of `text` that `spans` name, in their order; an
// entry beyond the text is left out. The second half of the text is parsed
// on a thread of its own.
void ParseEntries(const std::string& text, const std::vector<Span>& spans,
                  std::vector<TranslationPair>* pairs) {
    std::vector<const Span*> inside;
    std::size_t bytes = 0;
    for (const Span& span : spans) {
        if (span.offset > text.size() || span.length > text.size() - span.offset) continue;
        inside.push_back(&span);
        bytes += span.length;
    }
    const auto parse = [&](std::size_t from, std::size_t to, std::vector<TranslationPair>* out) {
        for (std::size_t i = from; i < to; ++i) {
            const Span& span = *inside[i];
            AppendIndexedEntry(std::string_view(text).substr(span.offset, span.length), span, out);
        }
    };
    // Where the entries reach half the bytes.
    std::size_t half = 0;
    for (std::size_t done = 0; half < inside.size() && done < bytes / 2; ++half) {
        done += inside[half]->length;
    }
    // Room for a few pairs an entry, taken only as it is filled, saves
    // copying the pairs as the lists grow.
    constexpr std::size_t kPairsAnEntry = 3;
    pairs->reserve(pairs->size() + kPairsAnEntry * inside.size());
    std::vector<TranslationPair> second;
    second.reserve(kPairsAnEntry * (inside.size() - half));
    platform::SideBySide([&] { parse(0, half, pairs); },
                         [&] { parse(half, inside.size(), &second); });
    pairs->insert(pairs->end(), std::make_move_iterator(second.begin()),
                  std::make_move_iterator(second.end()));
}

// The text of one of the database's own entries without its headword line,
// trimmed.
std::string OwnEntryText(const std::string& text, const Span& span) {
    if (span.offset > text.size() || span.length > text.size() - span.offset) return {};
    std::string_view entry = TrimBlanks(std::string_view(text).substr(span.offset, span.length));
    if (IsDatabaseEntry(entry)) {
        const auto end = entry.find('\n');
        entry =
            end == std::string_view::npos ? std::string_view{} : TrimBlanks(entry.substr(end + 1));
    }
    return std::string(entry);
}

// Takes the name and description out of the database's own entries.
void Describe(const std::string& text, const std::vector<Span>& own, SourceDictionary* out) {
    for (const Span& span : own) {
        const std::string key = DictdKey(span.key);
        if (key == "00databaseshort" && out->name.empty()) {
            const std::string name = OwnEntryText(text, span);
            out->name = name.substr(0, name.find('\n'));
        } else if (key == "00databaseinfo" && out->description.empty()) {
            out->description = OwnEntryText(text, span);
        }
    }
}

}  // namespace

std::vector<IndexEntry> ParseIndex(std::string_view text) {
    std::vector<IndexEntry> entries;
    ScanIndex(text, [&](std::string_view headword, std::uint64_t offset, std::uint64_t length,
                        std::string_view original) {
        if (IsDatabaseEntry(headword)) return;
        entries.push_back({std::string(headword), offset, length, std::string(original)});
    });
    return entries;
}

std::string DictdBase(const std::string& path) {
    for (const std::string_view tail : {".index", ".dict.dz", ".dict"}) {
        if (EndsWith(path, tail)) return path.substr(0, path.size() - tail.size());
    }
    return path;
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
        if (IsRegularFile(candidate + ".index") &&
            (IsRegularFile(candidate + ".dict.dz") || IsRegularFile(candidate + ".dict"))) {
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

bool ReadDictd(const std::string& base, SourceDictionary* out, std::string* error) {
    std::string index_text;
    if (!ReadInput(base + ".index", kMaxInputBytes, &index_text, error)) return false;
    const std::string dict_path = IsRegularFile(base + ".dict.dz") || !IsRegularFile(base + ".dict")
                                      ? base + ".dict.dz"
                                      : base + ".dict";
    // The index is read while the text inflates.
    std::string text;
    std::string text_error;
    bool have_text = false;
    std::vector<Span> spans;
    std::vector<Span> own;
    platform::SideBySide([&] { spans = EntrySpans(index_text, &own); },
                         [&] {
                             std::string bytes;
                             have_text =
                                 ReadInput(dict_path, kMaxInputBytes, &bytes, &text_error) &&
                                 ReadDictText(std::move(bytes), dict_path, kMaxInputBytes, &text,
                                              &text_error);
                         });
    if (!have_text) {
        *error = text_error;
        return false;
    }
    ParseEntries(text, spans, &out->pairs);
    out->repeated = KeepPairsOnce(&out->pairs);
    Describe(text, own, out);
    return true;
}

}  // namespace exchange
