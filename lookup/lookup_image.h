// The look-up image of a dictionary: what translations and prefix and
// wildcard lists need, laid out without pointers (offsets and 32-bit entry
// numbers) in one file of the user's cache, so that a later run maps it and
// answers at once instead of loading the whole dictionary. The dictionary
// file stays the file of record: the image is derived from a load of it,
// names the file it came from and its size, modification time and stored
// CRC-32, and is ignored when any of them changed. Every 4 KiB page of the
// image carries a CRC-32 of its own, checked the first time a look-up reads
// from it, so a damaged image is never believed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/lexbase.h"
#include "platform/mapped_file.h"

namespace lookup {

// What identifies one state of a dictionary file.
struct SourceKey {
    std::uint64_t size = 0;
    std::int64_t modified_seconds = 0;
    std::int64_t modified_nanoseconds = 0;
    std::uint32_t crc = 0;  // the CRC-32 stored in the file's last four bytes

    bool operator==(const SourceKey&) const = default;
};

// The key of the regular file `path`; false when it can't be read.
bool ReadSourceKey(const std::string& path, SourceKey* key);

// Where the image of `source` (an absolute path) lives: the folder wordbay in
// $XDG_CACHE_HOME, or in ~/.cache without it; "" when neither is set.
std::string ImagePathOf(const std::string& source);

class LookupImage {
public:
    LookupImage() = default;
    LookupImage(const LookupImage&) = delete;
    LookupImage& operator=(const LookupImage&) = delete;

    // Maps the image at `path` when it is the image of `source` in the state
    // `key`; false (and nothing mapped) when there is none, it belongs to
    // another state of the file, or its header is damaged.
    bool Open(const std::string& path, const std::string& source, const SourceKey& key);
    bool is_open() const { return data_ != nullptr; }

    // The code page the texts of a list are in (65001: UTF-8).
    std::uint32_t code_page(int list) const { return code_pages_[list]; }

    // kDamaged: the image can't be believed, or the file was cut short under
    // us, or it can't answer this question; the caller asks the dictionary.
    enum class Answer { kFound, kNotFound, kDamaged };

    // Whether the image answers translations from `list` (0 primary, 1
    // secondary) under the two switches: exact ones always, folded ones where
    // the list has the part that prefix lists need (its folds).
    bool Serves(int list, bool case_sensitive, bool ignore_accents) const {
        return (case_sensitive && !ignore_accents) || HasPrefixes(list);
    }
    // Whether a look-up found the image damaged; it answers nothing since.
    bool damaged() const { return damaged_; }

    // The translations of `word` (in the code page of its list), from the
    // primary list (direction 0) or the secondary list (1), as the engine's
    // DB_Translate gives them under the two switches: exactly the word's own,
    // or those of every word that equals it under the fold, word after word
    // in list order, each word's in the order the engine keeps them, repeats
    // kept.
    Answer Translate(int direction, std::string_view word, bool case_sensitive, bool ignore_accents,
                     std::vector<std::string>* out);
    Answer Translate(int direction, std::string_view word, std::vector<std::string>* out) {
        return Translate(direction, word, true, false, out);
    }

    // Whether the image holds what prefix lists of `list` (0 primary, 1
    // secondary) need; not for a list with a text repeated.
    bool HasPrefixes(int list) const { return prefixes_[list] != 0; }

    // The words of `list` that begin with `prefix` (in the list's code page)
    // under the two switches, in list order, at most `limit` of them: what the
    // engine's prefix listing gives. kNotFound: none; kDamaged as above, and
    // also for an empty prefix or a list without prefixes.
    Answer ListPrefix(int list, std::string_view prefix, bool case_sensitive, bool ignore_accents,
                      std::uint32_t limit, std::vector<std::string>* out);

    // The words of `list` that match `pattern` with the wildcards `*` and `?`
    // (platform/wildcard.h) under the two switches, in list order, at most
    // `limit`: what the engine's wildcard listing gives. Only for a pattern
    // that begins with a character other than a wildcard, whose words all
    // begin with what comes before its first wildcard; kDamaged for any
    // other, as for ListPrefix.
    Answer ListWildcards(int list, std::string_view pattern, bool case_sensitive,
                         bool ignore_accents, std::uint32_t limit, std::vector<std::string>* out);

    // The texts of every word of `list`, each followed by a NUL, in the
    // order of their bytes, into *out.
    Answer ListTexts(int list, std::string* out);

private:
    struct Span {
        std::uint64_t offset;
        std::uint32_t length;
    };
    struct Search;
    struct PrefixSearch;
    struct Gathering;
    struct TextsCopy;
    static void RunSearch(void* argument);
    static void RunPrefixSearch(void* argument);
    static void RunGather(void* argument);
    static void RunValidate(void* argument);
    static void RunCopyTexts(void* argument);
    bool Validate(const std::string& source, const SourceKey& key);

    struct Entry {
        std::uint32_t text;  // offset in the list's texts
        std::uint32_t length;
        std::uint32_t first;  // first translation; the next entry's ends them
    };

    const std::uint8_t* Checked(std::uint64_t offset, std::uint64_t size);
    bool ReadEntry(int list, std::uint32_t n, Entry* entry);
    bool ReadText(int list, const Entry& entry, std::string_view* text);
    // How the folded text of the word at place `n` of the search's order
    // compares with the folded prefix: below it (-1), beginning with it (0)
    // or above it (1); 2 when it can't be read. Leaves the word's text in
    // *text, its number in *number and the length of its folded text in
    // folded_length_.
    int CompareFolded(const PrefixSearch& search, std::uint32_t n, std::string_view* text,
                      std::uint32_t* number);
    // Whether the word whose text CompareFolded just read matches the
    // search's wildcard pattern.
    bool MatchesPattern(const PrefixSearch& search, std::string_view text);
    // The words of `list` whose folded text begins with `prefix` folded
    // (`whole`: is it), each tested against `pattern` when that is not
    // empty, into matches_ in list order; false when the image is damaged.
    bool FindFolded(int list, std::string_view prefix, bool case_sensitive, bool ignore_accents,
                    bool whole, std::string_view pattern);
    // The texts of matches_, at most `limit`, into *out.
    Answer ReadMatches(std::uint32_t limit, std::vector<std::string>* out);
    // The translations of the words of `from` numbered in found_, in that
    // order, into *out.
    Answer Gather(int from, std::vector<std::string>* out);

    // Every read of the mapping runs guarded: another process may truncate the
    // file while it is mapped.
    platform::MappedFile file_;
    const std::uint8_t* data_ = nullptr;
    std::uint64_t size_ = 0;
    std::vector<std::uint32_t> found_;  // the words whose translations are asked for
    std::vector<Span> spans_;           // where their translations lie
    std::uint32_t code_pages_[2] = {};
    std::uint32_t texts_[2] = {};
    std::uint32_t text_bytes_[2] = {};
    std::uint32_t entries_[2] = {};
    std::uint32_t entry_count_[2] = {};
    std::uint32_t links_[2] = {};
    std::uint32_t link_count_[2] = {};
    std::uint32_t prefixes_[2] = {};  // where the list's prefix part lies; 0: none
    std::uint32_t by_char_[2] = {};   // whether the list folds by character
    std::uint32_t chunk_crcs_ = 0;
    std::uint64_t data_start_ = 0;
    std::vector<std::uint8_t> checked_;  // per chunk: 0 unchecked, 1 good
    // A prefix list's matches, and the scratch of the character folds; kept
    // here for the guarded search.
    struct Match {
        std::uint32_t position;  // in list order
        std::uint32_t number;    // the entry
        std::uint32_t length;
        std::uint64_t offset;  // of the text in the image
    };
    std::vector<Match> matches_;
    std::string folded_bytes_;      // the prefix through the list's table
    std::u32string folded_chars_;   // the prefix as folded characters
    std::u32string pattern_chars_;  // a wildcard pattern as folded characters
    std::size_t folded_length_ = 0;
    std::string text_;
    std::u32string chars_;
    bool damaged_ = false;
};

}  // namespace lookup
