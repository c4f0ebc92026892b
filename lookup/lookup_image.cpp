#include "lookup/lookup_image.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "lookup/image_layout.h"
#include "lookup/list_text.h"
#include "platform/char_fold.h"
#include "platform/collation.h"
#include "platform/file_reader.h"
#include "platform/wildcard.h"

namespace lookup {
namespace {

using namespace layout;

// 64-bit FNV-1a, to name an image after its source's path.
std::uint64_t HashOf(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace

bool ReadSourceKey(const std::string& path, SourceKey* key) {
    int fd = -1;
    std::uint64_t size = 0;
    if (platform::OpenRegularFile(path.c_str(), &fd, &size) != platform::ReadOutcome::kRead) {
        return false;
    }
    struct stat st {};
    std::uint8_t crc[4];
    const bool ok = size >= 4 && ::fstat(fd, &st) == 0 && platform::ReadAt(fd, size - 4, crc, 4);
    ::close(fd);
    if (!ok) return false;
    key->size = size;
    key->modified_seconds = st.st_mtim.tv_sec;
    key->modified_nanoseconds = st.st_mtim.tv_nsec;
    key->crc = Get32(crc);
    return true;
}

std::string ImagePathOf(const std::string& source) {
    std::string folder;
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (cache != nullptr && cache[0] == '/') {
        folder = cache;
    } else if (home != nullptr && home[0] == '/') {
        folder = std::string(home) + "/.cache";
    } else {
        return {};
    }
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.lookup",
                  static_cast<unsigned long long>(HashOf(source)));
    return folder + "/wordbay/" + name;
}

struct LookupImage::Search {
    LookupImage* image;
    int direction;
    std::string_view word;
    Answer answer;
};

namespace {
struct Validation {
    LookupImage* image;
    const std::string* source;
    const SourceKey* key;
    bool good;
};
}  // namespace

void LookupImage::RunValidate(void* argument) {
    auto* job = static_cast<Validation*>(argument);
    job->good = job->image->Validate(*job->source, *job->key);
}

bool LookupImage::Open(const std::string& path, const std::string& source, const SourceKey& key) {
    std::uint64_t size = 0;
    if (data_ != nullptr || !file_.Open(path.c_str(), platform::MappedFile::Access::kRead) ||
        !file_.QuerySize(&size) || size < kHeaderSize || !file_.Map(size)) {
        return false;
    }
    data_ = file_.data();
    size_ = size;
    Validation job{this, &source, &key, false};
    if (!file_.Guarded(RunValidate, &job) || !job.good) {
        data_ = nullptr;  // the next Open() closes the file
        return false;
    }
    checked_.assign(static_cast<std::size_t>((size_ - data_start_ + kChunkSize - 1) >> kChunkShift),
                    0);
    return true;
}

// The header's checks, run guarded; allocates nothing.
bool LookupImage::Validate(const std::string& source, const SourceKey& key) {
    const std::uint8_t* h = data_;
    const std::uint64_t path_length = Get32(h + 12);
    chunk_crcs_ = Get32(h + 100);
    const std::uint64_t chunks = Get32(h + 104);
    const std::uint64_t data_start = Get32(h + 108);
    bool good = std::memcmp(h, kMagic, sizeof kMagic) == 0 && Get32(h + 8) == kVersion &&
                path_length == source.size() && Get64(h + 112) == size_ &&
                kHeaderSize + path_length <= chunk_crcs_ && chunk_crcs_ % 4 == 0 &&
                chunk_crcs_ + 4 * chunks <= data_start && data_start <= size_ &&
                chunks == (size_ - data_start + kChunkSize - 1) >> kChunkShift &&
                std::memcmp(h + kHeaderSize, source.data(), source.size()) == 0 &&
                Get64(h + 16) == key.size &&
                static_cast<std::int64_t>(Get64(h + 24)) == key.modified_seconds &&
                static_cast<std::int64_t>(Get64(h + 32)) == key.modified_nanoseconds &&
                Get32(h + 40) == key.crc;
    if (good) {
        std::uint32_t crc = Crc(h, kHeaderCrc);
        crc = Crc(h + kHeaderSize, static_cast<std::size_t>(path_length), crc);
        crc = Crc(h + chunk_crcs_, static_cast<std::size_t>(4 * chunks), crc);
        good = crc == Get32(h + kHeaderCrc);
    }
    for (int list = 0; good && list < 2; ++list) {
        const std::uint8_t* f = h + kListFields + 24 * list;
        code_pages_[list] = Get32(h + 44 + 4 * list);
        texts_[list] = Get32(f);
        text_bytes_[list] = Get32(f + 4);
        entries_[list] = Get32(f + 8);
        entry_count_[list] = Get32(f + 12);
        links_[list] = Get32(f + 16);
        link_count_[list] = Get32(f + 20);
        good = texts_[list] >= data_start &&
               std::uint64_t{texts_[list]} + text_bytes_[list] <= size_ &&
               entries_[list] >= data_start && entries_[list] % 4 == 0 &&
               entries_[list] + (std::uint64_t{entry_count_[list]} + 1) * kEntrySize <= size_ &&
               links_[list] >= data_start && links_[list] % 4 == 0 &&
               links_[list] + std::uint64_t{link_count_[list]} * 4 <= size_;
        prefixes_[list] = Get32(h + kPrefixFields + 8 * list);
        by_char_[list] = Get32(h + kPrefixFields + 8 * list + 4);
        good =
            good && by_char_[list] <= 1 &&
            (prefixes_[list] == 0 ||
             (prefixes_[list] >= data_start && prefixes_[list] % 4 == 0 &&
              prefixes_[list] + kTablesSize + std::uint64_t{entry_count_[list]} * 4 * 5 <= size_));
    }
    data_start_ = data_start;
    return good;
}

// The bytes [offset, offset + size) of the data, once every chunk they touch
// has shown its CRC right; null otherwise, and the image counts as damaged.
const std::uint8_t* LookupImage::Checked(std::uint64_t offset, std::uint64_t size) {
    if (damaged_ || offset < data_start_ || offset > size_ || size > size_ - offset) {
        damaged_ = true;
        return nullptr;
    }
    if (size == 0) return data_ + offset;
    const std::uint64_t first = (offset - data_start_) >> kChunkShift;
    const std::uint64_t last = (offset + size - 1 - data_start_) >> kChunkShift;
    for (std::uint64_t c = first; c <= last; ++c) {
        if (checked_[c]) continue;
        const std::uint64_t begin = data_start_ + (c << kChunkShift);
        const std::uint64_t length = std::min(kChunkSize, size_ - begin);
        if (Crc(data_ + begin, static_cast<std::size_t>(length)) !=
            Get32(data_ + chunk_crcs_ + 4 * c)) {
            damaged_ = true;
            return nullptr;
        }
        checked_[c] = 1;
    }
    return data_ + offset;
}

bool LookupImage::ReadEntry(int list, std::uint32_t n, Entry* entry) {
    const std::uint8_t* p = Checked(entries_[list] + std::uint64_t{n} * kEntrySize, kEntrySize);
    if (p == nullptr) return false;
    *entry = Entry{Get32(p), Get32(p + 4), Get32(p + 8)};
    return true;
}

bool LookupImage::ReadText(int list, const Entry& entry, std::string_view* text) {
    if (entry.text > text_bytes_[list] || entry.length > text_bytes_[list] - entry.text) {
        damaged_ = true;
        return false;
    }
    const std::uint8_t* p = Checked(std::uint64_t{texts_[list]} + entry.text, entry.length);
    if (p == nullptr) return false;
    *text = std::string_view(reinterpret_cast<const char*>(p), entry.length);
    return true;
}

LookupImage::Answer LookupImage::Translate(int direction, std::string_view word,
                                           bool case_sensitive, bool ignore_accents,
                                           std::vector<std::string>* out) {
    out->clear();
    if (data_ == nullptr || damaged_ || word.empty()) return Answer::kDamaged;
    found_.clear();
    if (case_sensitive && !ignore_accents) {
        found_.reserve(1);
        Search search{this, direction, word, Answer::kDamaged};
        if (!file_.Guarded(RunSearch, &search)) damaged_ = true;
        if (damaged_) return Answer::kDamaged;
        if (search.answer == Answer::kNotFound) return Answer::kNotFound;
    } else {
        // Every word equal to this one under the fold, in list order: in the
        // fold's order they come first among the words that begin with it.
        if (prefixes_[direction] == 0) return Answer::kDamaged;
        if (!FindFolded(direction, word, case_sensitive, ignore_accents, true, {})) {
            return Answer::kDamaged;
        }
        for (const Match& match : matches_) found_.push_back(match.number);
    }
    return Gather(direction, out);
}

struct LookupImage::TextsCopy {
    LookupImage* image;
    int list;
    std::string* out;
};

// Copies a list's texts into room made for them; run guarded, allocating
// nothing.
void LookupImage::RunCopyTexts(void* argument) {
    auto* copy = static_cast<TextsCopy*>(argument);
    LookupImage* const self = copy->image;
    const int list = copy->list;
    const std::uint8_t* p = self->Checked(self->texts_[list], self->text_bytes_[list]);
    if (p != nullptr) std::memcpy(copy->out->data(), p, self->text_bytes_[list]);
}

LookupImage::Answer LookupImage::ListTexts(int list, std::string* out) {
    out->clear();
    if (data_ == nullptr || damaged_) return Answer::kDamaged;
    out->resize(text_bytes_[list]);
    TextsCopy copy{this, list, out};
    if (!file_.Guarded(RunCopyTexts, &copy)) damaged_ = true;
    if (damaged_) {
        out->clear();
        return Answer::kDamaged;
    }
    return Answer::kFound;
}

// The exact look-up, run guarded: the entry whose text is the word, into
// found_ (room made for it).
void LookupImage::RunSearch(void* argument) {
    auto* search = static_cast<Search*>(argument);
    LookupImage* const self = search->image;
    const int from = search->direction;
    search->answer = Answer::kDamaged;
    // The first entry whose text is not below the word.
    std::uint32_t low = 0;
    std::uint32_t high = self->entry_count_[from];
    Entry entry{};
    std::string_view text;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        if (!self->ReadEntry(from, middle, &entry) || !self->ReadText(from, entry, &text)) return;
        if (text < search->word) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    search->answer = Answer::kNotFound;
    if (low == self->entry_count_[from]) return;
    search->answer = Answer::kDamaged;
    if (!self->ReadEntry(from, low, &entry) || !self->ReadText(from, entry, &text)) return;
    search->answer = Answer::kNotFound;
    if (text != search->word) return;
    self->found_.push_back(low);
    search->answer = Answer::kFound;
}

struct LookupImage::Gathering {
    LookupImage* image;
    int from;
    bool fill;          // false: only count the translations
    std::size_t count;  // how many there are
};

LookupImage::Answer LookupImage::Gather(int from, std::vector<std::string>* out) {
    Gathering gathering{this, from, false, 0};
    if (!file_.Guarded(RunGather, &gathering)) damaged_ = true;
    if (damaged_) return Answer::kDamaged;
    spans_.resize(gathering.count);
    gathering = Gathering{this, from, true, 0};
    if (!file_.Guarded(RunGather, &gathering)) damaged_ = true;
    if (damaged_) return Answer::kDamaged;
    out->reserve(spans_.size());
    for (const Span& span : spans_) {
        std::string text(span.length, '\0');
        if (!file_.Read(span.offset, text.data(), text.size())) {
            damaged_ = true;
            out->clear();
            return Answer::kDamaged;
        }
        out->push_back(std::move(text));
    }
    return out->empty() ? Answer::kNotFound : Answer::kFound;
}

// Counts, or writes into spans_ (room made for them), where the translations
// of the words in found_ lie; run guarded, allocating nothing.
void LookupImage::RunGather(void* argument) {
    auto* gathering = static_cast<Gathering*>(argument);
    LookupImage* const self = gathering->image;
    const int from = gathering->from;
    const int to = 1 - from;
    for (const std::uint32_t number : self->found_) {
        Entry entry{};
        Entry next{};
        if (!self->ReadEntry(from, number, &entry) || !self->ReadEntry(from, number + 1, &next)) {
            return;
        }
        const std::uint32_t count = next.first - entry.first;
        if (next.first < entry.first || next.first > self->link_count_[from] ||
            (gathering->fill && count > self->spans_.size() - gathering->count)) {
            self->damaged_ = true;
            return;
        }
        if (!gathering->fill) {
            gathering->count += count;
            continue;
        }
        const std::uint8_t* links = self->Checked(
            self->links_[from] + std::uint64_t{entry.first} * 4, std::uint64_t{count} * 4);
        if (links == nullptr) return;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t n = Get32(links + 4 * std::size_t{i});
            Entry target{};
            std::string_view text;
            if (n >= self->entry_count_[to] || !self->ReadEntry(to, n, &target) ||
                !self->ReadText(to, target, &text)) {
                self->damaged_ = true;
                return;
            }
            self->spans_[gathering->count++] =
                Span{static_cast<std::uint64_t>(text.data() -
                                                reinterpret_cast<const char*>(self->data_)),
                     static_cast<std::uint32_t>(text.size())};
        }
    }
}

struct LookupImage::PrefixSearch {
    LookupImage* image;
    int list;
    int fold;  // 0 exact, 1 case, 2 accents, 3 both: the order and table used
    const std::uint8_t* table;
    std::uint64_t order;  // where the fold's order lies
    std::uint64_t positions;
    bool whole;                // only words whose folded text is the prefix's
    std::string_view pattern;  // wildcards the words must match too, or none
    bool good;
};

LookupImage::Answer LookupImage::ListPrefix(int list, std::string_view prefix, bool case_sensitive,
                                            bool ignore_accents, std::uint32_t limit,
                                            std::vector<std::string>* out) {
    out->clear();
    if (!FindFolded(list, prefix, case_sensitive, ignore_accents, false, {})) {
        return Answer::kDamaged;
    }
    return ReadMatches(limit, out);
}

LookupImage::Answer LookupImage::ListWildcards(int list, std::string_view pattern,
                                               bool case_sensitive, bool ignore_accents,
                                               std::uint32_t limit, std::vector<std::string>* out) {
    out->clear();
    // The words that match begin with the pattern's head under the fold.
    const std::size_t head = pattern.find_first_of("*?");
    if (head == 0 || !FindFolded(list, pattern.substr(0, head), case_sensitive, ignore_accents,
                                 head == std::string_view::npos, pattern)) {
        return Answer::kDamaged;
    }
    return ReadMatches(limit, out);
}

bool LookupImage::FindFolded(int list, std::string_view prefix, bool case_sensitive,
                             bool ignore_accents, bool whole, std::string_view pattern) {
    matches_.clear();
    if (data_ == nullptr || damaged_ || prefixes_[list] == 0 || prefix.empty()) return false;
    const int fold = (case_sensitive ? 0 : 1) + (ignore_accents ? 2 : 0);
    if (by_char_[list] != 0) {
        std::uint32_t flags = case_sensitive ? 0 : platform::kNormIgnoreCase;
        if (ignore_accents) flags |= platform::kNormIgnoreNonSpace;
        // A code page this process can't decode: the dictionary answers.
        if (!DecodeListText(code_pages_[list], prefix, &folded_chars_)) return false;
        platform::FoldChars(&folded_chars_, flags);
        pattern_chars_.clear();
        if (!pattern.empty()) {
            DecodeListText(code_pages_[list], pattern, &pattern_chars_);
            platform::FoldChars(&pattern_chars_, flags);
        }
    }
    folded_bytes_.assign(prefix);
    // Room for every match and the longest text, so that the guarded search
    // allocates nothing but the characters it folds.
    matches_.reserve(entry_count_[list]);
    text_.reserve(0x10000);
    const std::uint64_t orders = std::uint64_t{prefixes_[list]} + kTablesSize;
    PrefixSearch search{this,
                        list,
                        fold,
                        nullptr,
                        orders + std::uint64_t{entry_count_[list]} * 4 * (1 + fold),
                        orders,
                        whole,
                        pattern,
                        false};
    if (!file_.Guarded(RunPrefixSearch, &search) || !search.good) damaged_ = true;
    if (damaged_) {
        matches_.clear();
        return false;
    }
    // The engine goes in list order.
    std::sort(matches_.begin(), matches_.end(),
              [](const Match& a, const Match& b) { return a.position < b.position; });
    return true;
}

LookupImage::Answer LookupImage::ReadMatches(std::uint32_t limit, std::vector<std::string>* out) {
    // The engine stops at the limit.
    if (matches_.size() > limit) matches_.resize(limit);
    for (const Match& match : matches_) {
        std::string text(match.length, '\0');
        if (!file_.Read(match.offset, text.data(), text.size())) {
            damaged_ = true;
            out->clear();
            return Answer::kDamaged;
        }
        out->push_back(std::move(text));
    }
    return out->empty() ? Answer::kNotFound : Answer::kFound;
}

int LookupImage::CompareFolded(const PrefixSearch& search, std::uint32_t n, std::string_view* text,
                               std::uint32_t* number) {
    const int list = search.list;
    const std::uint8_t* place = Checked(search.order + std::uint64_t{n} * 4, 4);
    if (place == nullptr) return 2;
    *number = Get32(place);
    Entry entry{};
    if (*number >= entry_count_[list] || !ReadEntry(list, *number, &entry) ||
        !ReadText(list, entry, text)) {
        damaged_ = true;
        return 2;
    }
    if (by_char_[list] == 0) {
        const std::string_view prefix = folded_bytes_;
        const std::size_t common = std::min(prefix.size(), text->size());
        for (std::size_t i = 0; i < common; ++i) {
            const std::uint8_t a = search.table[static_cast<std::uint8_t>((*text)[i])];
            const std::uint8_t b = static_cast<std::uint8_t>(prefix[i]);
            if (a != b) return a < b ? -1 : 1;
        }
        folded_length_ = text->size();
        return text->size() < prefix.size() ? -1 : 0;
    }
    // The text leaves the mapping before a character of it is decoded.
    text_.assign(text->data(), text->size());
    if (!DecodeListText(code_pages_[list], text_, &chars_)) return 2;
    std::uint32_t flags = (search.fold & 1) != 0 ? platform::kNormIgnoreCase : 0;
    if ((search.fold & 2) != 0) flags |= platform::kNormIgnoreNonSpace;
    platform::FoldChars(&chars_, flags);
    const std::u32string_view prefix = folded_chars_;
    const std::size_t common = std::min(prefix.size(), chars_.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (chars_[i] != prefix[i]) return chars_[i] < prefix[i] ? -1 : 1;
    }
    folded_length_ = chars_.size();
    return chars_.size() < prefix.size() ? -1 : 0;
}

bool LookupImage::MatchesPattern(const PrefixSearch& search, std::string_view text) {
    if (search.pattern.empty()) return true;
    if (by_char_[search.list] != 0) {
        return platform::MatchesWildcardsWith(std::u32string_view(pattern_chars_),
                                              std::u32string_view(chars_),
                                              std::equal_to<char32_t>());
    }
    const std::uint8_t* table = search.table;
    return platform::MatchesWildcardsWith(search.pattern, text, [table](char p, char w) {
        return table[static_cast<std::uint8_t>(p)] == table[static_cast<std::uint8_t>(w)];
    });
}

// The prefix search itself, run guarded: the first word of the fold's order
// that does not fold below the prefix, then every word from there on that
// begins with it. The words whose folded text is the prefix come first
// there, so a whole-word search ends at the first longer one.
void LookupImage::RunPrefixSearch(void* argument) {
    auto* search = static_cast<PrefixSearch*>(argument);
    LookupImage* const self = search->image;
    const int list = search->list;
    search->good = false;
    if (self->by_char_[list] == 0) {
        search->table =
            self->Checked(self->prefixes_[list] + 256 * std::uint64_t(search->fold), 256);
        if (search->table == nullptr) return;
        for (char& c : self->folded_bytes_)
            c = static_cast<char>(search->table[static_cast<std::uint8_t>(c)]);
    }
    const std::size_t prefix_length =
        self->by_char_[list] == 0 ? self->folded_bytes_.size() : self->folded_chars_.size();
    const std::uint32_t count = self->entry_count_[list];
    std::uint32_t low = 0;
    std::uint32_t high = count;
    std::string_view text;
    std::uint32_t number = 0;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        const int order = self->CompareFolded(*search, middle, &text, &number);
        if (order == 2) return;
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    for (std::uint32_t n = low; n < count; ++n) {
        const int order = self->CompareFolded(*search, n, &text, &number);
        if (order == 2) return;
        if (order != 0 || (search->whole && self->folded_length_ != prefix_length)) break;
        if (!self->MatchesPattern(*search, text)) continue;
        const std::uint8_t* position =
            self->Checked(search->positions + std::uint64_t{number} * 4, 4);
        if (position == nullptr || self->matches_.size() == count) return;
        self->matches_.push_back(Match{
            Get32(position), number, static_cast<std::uint32_t>(text.size()),
            static_cast<std::uint64_t>(text.data() - reinterpret_cast<const char*>(self->data_))});
    }
    search->good = true;
}

}  // namespace lookup
