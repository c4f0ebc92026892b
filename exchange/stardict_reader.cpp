#include "exchange/stardict_reader.h"

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "exchange/dictzip.h"
#include "exchange/file_input.h"
#include "exchange/stardict_format.h"
#include "platform/side_by_side.h"

namespace exchange {
namespace {

// An .ifo file is a few lines; one of a megabyte is no .ifo file.
constexpr std::size_t kMaxIfoBytes = std::size_t{1} << 20;

bool ParseCount(std::string_view text, std::uint64_t* value) {
    text = TrimBlanks(text);
    if (text.empty() || text.size() > 19) return false;
    std::uint64_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    *value = v;
    return true;
}

std::uint64_t BigEndian(std::string_view bytes) {
    std::uint64_t v = 0;
    for (const char c : bytes) v = v << 8 | static_cast<unsigned char>(c);
    return v;
}

// What the .ifo file says.
struct Ifo {
    std::string name, author, description;
    std::string same_type;  // the types of every entry's fields, when all have the same
    std::uint64_t word_count = 0;
    std::uint64_t idx_size = 0;
    std::uint64_t syn_count = 0;
    std::size_t offset_bytes = 4;
};

bool ParseIfo(std::string_view text, const std::string& path, Ifo* ifo, std::string* error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const auto first_end = text.find('\n');
    if (TrimBlanks(text.substr(0, first_end)) != kIfoMagic) {
        *error = "Not a StarDict .ifo file: " + path;
        return false;
    }
    text = first_end == std::string_view::npos ? std::string_view{} : text.substr(first_end + 1);
    std::string version;
    bool have_words = false, have_size = false, bad_number = false;
    std::uint64_t offset_bits = 32;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = TrimBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        const std::string_view value = TrimBlanks(line.substr(equals + 1));
        if (key == "version") version = value;
        if (key == "bookname") ifo->name = value;
        if (key == "author") ifo->author = value;
        if (key == "description") ifo->description = value;
        if (key == "sametypesequence") ifo->same_type = value;
        if (key == "wordcount") bad_number |= !(have_words = ParseCount(value, &ifo->word_count));
        if (key == "idxfilesize") bad_number |= !(have_size = ParseCount(value, &ifo->idx_size));
        if (key == "synwordcount") bad_number |= !ParseCount(value, &ifo->syn_count);
        if (key == "idxoffsetbits") bad_number |= !ParseCount(value, &offset_bits);
    }
    if (version != "2.4.2" && version != "3.0.0") {
        *error =
            "Unsupported StarDict version \"" + version + "\" (2.4.2 or 3.0.0 is read): " + path;
        return false;
    }
    if (bad_number || !have_words || !have_size || (offset_bits != 32 && offset_bits != 64)) {
        *error = "The .ifo file lacks a count or has a wrong one: " + path;
        return false;
    }
    ifo->offset_bytes = offset_bits / 8;
    // A description's line breaks are written as <br>.
    for (std::size_t at; (at = ifo->description.find("<br>")) != std::string::npos;) {
        ifo->description.replace(at, 4, "\n");
    }
    return true;
}

struct IdxWord {
    std::string_view word;
    std::uint64_t offset;
    std::uint64_t size;
};

// Reads `count` records of a NUL-terminated text and `tail` bytes from
// `bytes`, which they must fill exactly; false when they don't.
template <typename Take>
bool ScanRecords(std::string_view bytes, std::uint64_t count, std::size_t tail, Take take) {
    for (std::uint64_t i = 0; i < count; ++i) {
        const auto zero = bytes.find('\0');
        if (zero == std::string_view::npos || bytes.size() - zero - 1 < tail) return false;
        if (!take(bytes.substr(0, zero), bytes.substr(zero + 1, tail))) return false;
        bytes.remove_prefix(zero + 1 + tail);
    }
    return bytes.empty();
}

bool ParseIdx(std::string_view idx, const Ifo& ifo, std::size_t text_size, const std::string& path,
              std::vector<IdxWord>* words, std::string* error) {
    if (idx.size() != ifo.idx_size) {
        *error = "The .idx file is not of the size the .ifo file gives: " + path;
        return false;
    }
    // Every record takes at least a NUL and its numbers.
    if (ifo.word_count > idx.size() / (1 + ifo.offset_bytes + 4)) {
        *error = "The .idx file is damaged: " + path;
        return false;
    }
    words->reserve(static_cast<std::size_t>(ifo.word_count));
    bool outside = false;
    std::string outside_word;
    const bool ok = ScanRecords(
        idx, ifo.word_count, ifo.offset_bytes + 4, [&](std::string_view word, std::string_view n) {
            const std::uint64_t offset = BigEndian(n.substr(0, ifo.offset_bytes));
            const std::uint64_t size = BigEndian(n.substr(ifo.offset_bytes));
            if (offset > text_size || size > text_size - offset) {
                outside = true;
                outside_word = word.substr(0, 80);
                return false;
            }
            words->push_back({word, offset, size});
            return true;
        });
    if (outside) {
        *error = "The entry \"" + outside_word + "\" of " + path + " points outside the data";
        return false;
    }
    if (!ok) {
        *error =
            "The .idx file is damaged or holds another number of words than the .ifo file "
            "gives: " +
            path;
        return false;
    }
    return true;
}

// The plain text of one entry's data, its 'm' fields one after another;
// false when the fields run past the data.
bool PlainText(std::string_view data, std::string_view same_type, std::string* text,
               bool* any_text) {
    text->clear();
    std::size_t field = 0;
    while (same_type.empty() ? !data.empty() : field < same_type.size()) {
        char type = 0;
        if (same_type.empty()) {
            type = data.front();
            data.remove_prefix(1);
        } else {
            type = same_type[field];
        }
        const bool last = !same_type.empty() && field + 1 == same_type.size();
        std::string_view value;
        if (last) {
            value = data;
        } else if (type >= 'a' && type <= 'z') {
            const auto zero = data.find('\0');
            if (zero == std::string_view::npos) return false;
            value = data.substr(0, zero);
            data.remove_prefix(zero + 1);
        } else {
            if (data.size() < 4 || BigEndian(data.substr(0, 4)) > data.size() - 4) return false;
            value = data.substr(4, static_cast<std::size_t>(BigEndian(data.substr(0, 4))));
            data.remove_prefix(4 + value.size());
        }
        if (last) data = {};
        if (type == 'm') {
            if (!text->empty()) text->push_back('\n');
            text->append(value);
            *any_text = true;
        }
        ++field;
    }
    return true;
}

// The pairs of one word's plain text: a first line that repeats the word
// with a pronunciation or tags is its headword line.
void AppendWordPairs(std::string_view word, std::string_view text,
                     std::vector<TranslationPair>* pairs) {
    std::string_view rest;
    const std::string_view first = FirstLine(text, &rest);
    const bool headword_line = first != word && ParseHeadword(first) == word;
    AppendSensePairs(word, headword_line ? rest : text, pairs);
}

// Gives each synonym of the .syn the pairs of its word, unless it only drops
// the word's accents or case. `ranges[i]` is where word i's pairs lie.
bool AddSynonyms(std::string_view syn, const Ifo& ifo, const std::vector<IdxWord>& words,
                 const std::vector<std::pair<std::size_t, std::size_t>>& ranges,
                 const std::string& path, std::vector<TranslationPair>* pairs, std::string* error) {
    if (ifo.syn_count > syn.size() / 5) {
        *error = "The .syn file is damaged: " + path;
        return false;
    }
    const bool ok =
        ScanRecords(syn, ifo.syn_count, 4, [&](std::string_view synonym, std::string_view number) {
            const std::uint64_t i = BigEndian(number);
            if (i >= words.size()) return false;
            if (synonym.empty() || PlainForm(synonym, true) == PlainForm(words[i].word, true)) {
                return true;
            }
            for (std::size_t p = ranges[i].first; p < ranges[i].second; ++p) {
                pairs->push_back({std::string(synonym), (*pairs)[p].translation});
            }
            return true;
        });
    if (!ok) {
        *error = "The .syn file is damaged or names a word the .idx file lacks: " + path;
        return false;
    }
    return true;
}

// Reads the data file of `base`: the .dict.dz, else the .dict.
bool ReadData(const std::string& base, std::string* text, std::string* error) {
    const std::string path = IsRegularFile(base + ".dict.dz") || !IsRegularFile(base + ".dict")
                                 ? base + ".dict.dz"
                                 : base + ".dict";
    std::string bytes;
    return ReadInput(path, kMaxInputBytes, &bytes, error) &&
           ReadDictText(std::move(bytes), path, kMaxInputBytes, text, error);
}

// Reads the .idx file of `base`: the .idx, else the .idx.gz.
bool ReadIdx(const std::string& base, std::string* idx, std::string* path, std::string* error) {
    *path = IsRegularFile(base + ".idx") || !IsRegularFile(base + ".idx.gz") ? base + ".idx"
                                                                             : base + ".idx.gz";
    std::string bytes;
    return ReadInput(*path, kMaxInputBytes, &bytes, error) &&
           ReadDictText(std::move(bytes), *path, kMaxInputBytes, idx, error);
}

}  // namespace

bool ReadStarDict(const std::string& path, SourceDictionary* out, std::string* error) {
    const std::string base = StarDictBase(path);
    std::string ifo_text, idx, idx_path, syn, text;
    Ifo ifo;
    if (!ReadInput(base + ".ifo", kMaxIfoBytes, &ifo_text, error) ||
        !ParseIfo(ifo_text, base + ".ifo", &ifo, error)) {
        return false;
    }
    // The index and the synonyms are read while the data inflates.
    bool have_text = false, have_idx = false;
    std::string text_error;
    platform::SideBySide(
        [&] {
            have_idx =
                ReadIdx(base, &idx, &idx_path, error) &&
                (ifo.syn_count == 0 || ReadInput(base + ".syn", kMaxInputBytes, &syn, error));
        },
        [&] { have_text = ReadData(base, &text, &text_error); });
    if (!have_idx) return false;
    if (!have_text) {
        *error = text_error;
        return false;
    }
    std::vector<IdxWord> words;
    if (!ParseIdx(idx, ifo, text.size(), idx_path, &words, error)) return false;
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    ranges.reserve(words.size());
    std::string plain;
    bool any_text = false;
    for (const IdxWord& word : words) {
        const std::string_view data = std::string_view(text).substr(word.offset, word.size);
        if (!PlainText(data, ifo.same_type, &plain, &any_text)) {
            *error = "The data of the entry \"" + std::string(word.word.substr(0, 80)) +
                     "\" is damaged: " + base;
            return false;
        }
        const std::size_t first = out->pairs.size();
        if (!word.word.empty()) AppendWordPairs(word.word, plain, &out->pairs);
        ranges.emplace_back(first, out->pairs.size());
    }
    if (!words.empty() && !any_text) {
        *error = "The dictionary holds no plain text: " + base + ".ifo";
        return false;
    }
    if (!AddSynonyms(syn, ifo, words, ranges, base + ".syn", &out->pairs, error)) return false;
    out->repeated = KeepPairsOnce(&out->pairs);
    out->name = std::move(ifo.name);
    out->author = std::move(ifo.author);
    out->description = std::move(ifo.description);
    return true;
}

}  // namespace exchange
