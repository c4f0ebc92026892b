#include "lookup/lookup_image.h"

#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "platform/char_fold.h"
#include "platform/code_page.h"
#include "platform/collation.h"
#include "platform/file_reader.h"
#include "platform/file_writer.h"
#include "platform/locale.h"

namespace lookup {
namespace {

// The layout. Header fields are little-endian 32- and 64-bit numbers:
//   0 magic, 8 version, 12 length of the source's path, 16 source size,
//   24 and 32 its modification time (seconds, nanoseconds), 40 its CRC-32,
//   44 the two lists' code pages (65001 for a UTF-8 list), 52 per list (24
//   bytes each): texts, their bytes, entries, their count, links, their
//   count; 100 chunk CRCs, 104 their count, 108 where the data begins, 112
//   the image's size, 120 per list (8 bytes each): its prefix part (0 for
//   none) and whether it folds by character; 136 the CRC-32 of the header,
//   the path and the chunk CRCs; 140 the path.
// The data: per list its texts, each with a NUL; its entries sorted by text
// bytes (text offset, length, first link), one more ending the last; its links,
// entry numbers of the other list, in the order the engine gives them; its
// prefix part: the list's four comparison tables (exact, case, accents, both;
// 256 bytes each), each entry's position in list order, and per table the
// entries sorted by their folded texts, ties in list order.
constexpr char kMagic[8] = {'W', 'B', 'L', 'O', 'O', 'K', 'U', 'P'};
constexpr std::uint32_t kVersion = 3;
constexpr std::size_t kHeaderSize = 140;
constexpr std::size_t kHeaderCrc = 136;
constexpr std::size_t kPrefixFields = 120;
constexpr std::uint64_t kTablesSize = 4 * 256;
constexpr std::size_t kListFields = 52;
constexpr std::size_t kEntrySize = 12;
constexpr unsigned kChunkShift = 12;
constexpr std::uint64_t kChunkSize = std::uint64_t{1} << kChunkShift;

std::uint32_t Get32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
std::uint64_t Get64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
void Put32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }
void Put64(std::uint8_t* p, std::uint64_t v) { std::memcpy(p, &v, 8); }

std::uint64_t Align(std::uint64_t n, std::uint64_t to) { return (n + to - 1) / to * to; }

std::uint32_t Crc(const void* data, std::size_t size, std::uint32_t crc = 0) {
    return libdeflate_crc32(crc, data, size);
}

// 64-bit FNV-1a, to name an image after its source's path.
std::uint64_t HashOf(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Creates `path` and its missing parents, for the user alone.
bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
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
    std::size_t found;
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
    // A word has at most 65,535 translations: its count in the dictionary has 16 bits.
    spans_.resize(0xFFFF);
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
                                           std::vector<std::string>* out) {
    out->clear();
    if (data_ == nullptr || damaged_) return Answer::kDamaged;
    Search search{this, direction, word, 0, Answer::kDamaged};
    if (!file_.Guarded(RunSearch, &search)) damaged_ = true;
    if (damaged_) return Answer::kDamaged;
    for (std::size_t i = 0; i < search.found; ++i) {
        std::string text(spans_[i].length, '\0');
        if (!file_.Read(spans_[i].offset, text.data(), text.size())) {
            damaged_ = true;
            out->clear();
            return Answer::kDamaged;
        }
        out->push_back(std::move(text));
    }
    return search.answer;
}

// The look-up itself, run guarded: it reads the mapping, allocates nothing,
// and leaves where the translations' texts lie in spans_.
void LookupImage::RunSearch(void* argument) {
    auto* search = static_cast<Search*>(argument);
    LookupImage* const self = search->image;
    const int from = search->direction;
    const int to = 1 - from;
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
    Entry next{};
    search->answer = Answer::kDamaged;
    if (!self->ReadEntry(from, low, &entry) || !self->ReadText(from, entry, &text) ||
        !self->ReadEntry(from, low + 1, &next)) {
        return;
    }
    search->answer = Answer::kNotFound;
    if (text != search->word) return;
    const std::uint32_t count = next.first - entry.first;
    if (next.first < entry.first || next.first > self->link_count_[from] ||
        count > self->spans_.size()) {
        self->damaged_ = true;
        search->answer = Answer::kDamaged;
        return;
    }
    const std::uint8_t* links = self->Checked(self->links_[from] + std::uint64_t{entry.first} * 4,
                                              std::uint64_t{count} * 4);
    if (links == nullptr) return;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t n = Get32(links + 4 * std::size_t{i});
        Entry target{};
        if (n >= self->entry_count_[to] || !self->ReadEntry(to, n, &target) ||
            !self->ReadText(to, target, &text)) {
            self->damaged_ = true;
            search->answer = Answer::kDamaged;
            return;
        }
        self->spans_[i] = Span{
            static_cast<std::uint64_t>(text.data() - reinterpret_cast<const char*>(self->data_)),
            static_cast<std::uint32_t>(text.size())};
    }
    search->found = count;
    search->answer = count > 0 ? Answer::kFound : Answer::kNotFound;
}

struct LookupImage::PrefixSearch {
    LookupImage* image;
    int list;
    int fold;  // 0 exact, 1 case, 2 accents, 3 both: the order and table used
    const std::uint8_t* table;
    std::uint64_t order;  // where the fold's order lies
    std::uint64_t positions;
    bool good;
};

LookupImage::Answer LookupImage::ListPrefix(int list, std::string_view prefix, bool case_sensitive,
                                            bool ignore_accents, std::uint32_t limit,
                                            std::vector<std::string>* out) {
    out->clear();
    if (data_ == nullptr || damaged_ || prefixes_[list] == 0 || prefix.empty()) {
        return Answer::kDamaged;
    }
    const int fold = (case_sensitive ? 0 : 1) + (ignore_accents ? 2 : 0);
    if (by_char_[list] != 0) {
        std::uint32_t flags = case_sensitive ? 0 : platform::kNormIgnoreCase;
        if (ignore_accents) flags |= platform::kNormIgnoreNonSpace;
        platform::DecodeToCodePoints(code_pages_[list], prefix, &folded_chars_);
        platform::FoldChars(&folded_chars_, flags);
    }
    folded_bytes_.assign(prefix);
    // Room for every match and the longest text, so that the guarded search
    // allocates nothing but the characters it folds.
    matches_.clear();
    matches_.reserve(entry_count_[list]);
    text_.reserve(0x10000);
    const std::uint64_t orders = std::uint64_t{prefixes_[list]} + kTablesSize;
    PrefixSearch search{
        this,   list, fold, nullptr, orders + std::uint64_t{entry_count_[list]} * 4 * (1 + fold),
        orders, false};
    if (!file_.Guarded(RunPrefixSearch, &search) || !search.good) damaged_ = true;
    if (damaged_) {
        matches_.clear();
        return Answer::kDamaged;
    }
    // The engine lists in list order and stops at the limit.
    std::sort(matches_.begin(), matches_.end(),
              [](const Match& a, const Match& b) { return a.position < b.position; });
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

int LookupImage::CompareFolded(const PrefixSearch& search, std::uint32_t n,
                               std::string_view* text) {
    const int list = search.list;
    const std::uint8_t* place = Checked(search.order + std::uint64_t{n} * 4, 4);
    if (place == nullptr) return 2;
    const std::uint32_t number = Get32(place);
    Entry entry{};
    if (number >= entry_count_[list] || !ReadEntry(list, number, &entry) ||
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
        return text->size() < prefix.size() ? -1 : 0;
    }
    // The text leaves the mapping before a character of it is decoded.
    text_.assign(text->data(), text->size());
    platform::DecodeToCodePoints(code_pages_[list], text_, &chars_);
    std::uint32_t flags = (search.fold & 1) != 0 ? platform::kNormIgnoreCase : 0;
    if ((search.fold & 2) != 0) flags |= platform::kNormIgnoreNonSpace;
    platform::FoldChars(&chars_, flags);
    const std::u32string_view prefix = folded_chars_;
    const std::size_t common = std::min(prefix.size(), chars_.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (chars_[i] != prefix[i]) return chars_[i] < prefix[i] ? -1 : 1;
    }
    return chars_.size() < prefix.size() ? -1 : 0;
}

// The prefix search itself, run guarded: the first word of the fold's order
// that does not fold below the prefix, then every word from there on that
// begins with it.
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
    const std::uint32_t count = self->entry_count_[list];
    std::uint32_t low = 0;
    std::uint32_t high = count;
    std::string_view text;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        const int order = self->CompareFolded(*search, middle, &text);
        if (order == 2) return;
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    for (std::uint32_t n = low; n < count; ++n) {
        const int order = self->CompareFolded(*search, n, &text);
        if (order == 2) return;
        if (order != 0) break;
        const std::uint8_t* place = self->Checked(search->order + std::uint64_t{n} * 4, 4);
        const std::uint32_t number = Get32(place);  // read fine just now
        const std::uint8_t* position =
            self->Checked(search->positions + std::uint64_t{number} * 4, 4);
        if (position == nullptr || self->matches_.size() == count) return;
        self->matches_.push_back(Match{
            Get32(position), static_cast<std::uint32_t>(text.size()),
            static_cast<std::uint64_t>(text.data() - reinterpret_cast<const char*>(self->data_))});
    }
    search->good = true;
}

namespace {

// One list as the image holds it, built from the loaded dictionary.
struct ListImage {
    std::vector<const char*> words;                         // the distinct texts, sorted by bytes
    std::unordered_map<const char*, std::uint32_t> number;  // text -> entry
    std::vector<std::uint8_t> texts;
    std::vector<std::uint8_t> entries;
    std::vector<std::uint8_t> links;
    std::vector<const char*> in_order;   // every word's text in list order
    std::vector<std::uint8_t> prefixes;  // the prefix part; empty for none
};

bool CollectWords(DB_HANDLE db, int list, std::uint32_t count, ListImage* image) {
    image->words.resize(std::max<std::uint32_t>(count, 1));
    const DB_RESULT* result =
        DB_List(db, list == 0 ? DB_PRIMARY_LIST : DB_SECONDARY_LIST, "*", 1, 0, DB_LIST_WILDCARDS,
                image->words.data(), static_cast<int32_t>(count));
    if (count == 0) {
        image->words.clear();
        return true;
    }
    if (result->status == 0 || static_cast<std::uint32_t>(result->count) != count) return false;
    image->in_order = image->words;
    std::sort(image->words.begin(), image->words.end(),
              [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
    const std::vector<const char*> all = image->words;
    image->words.erase(
        std::unique(image->words.begin(), image->words.end(),
                    [](const char* a, const char* b) { return std::strcmp(a, b) == 0; }),
        image->words.end());
    // Every word's text pointer, a repeated text's too, to its entry: the
    // translations come back as the same pointers.
    image->number.reserve(all.size());
    std::uint32_t n = 0;
    for (const char* word : all) {
        while (std::strcmp(image->words[n], word) != 0) ++n;
        image->number.emplace(word, n);
    }
    return true;
}

bool LinkWords(DB_HANDLE db, int list, const ListImage& other, ListImage* image) {
    const int32_t direction =
        list == 0 ? DB_TRANS_PRIMARY_TO_SECONDARY : DB_TRANS_SECONDARY_TO_PRIMARY;
    std::vector<const char*> output(256);
    image->entries.resize((image->words.size() + 1) * kEntrySize);
    std::uint32_t links = 0;
    for (std::size_t n = 0; n < image->words.size(); ++n) {
        const char* word = image->words[n];
        const std::size_t length = std::strlen(word);
        std::uint8_t* entry = image->entries.data() + n * kEntrySize;
        Put32(entry, static_cast<std::uint32_t>(image->texts.size()));
        Put32(entry + 4, static_cast<std::uint32_t>(length));
        Put32(entry + 8, links);
        image->texts.insert(image->texts.end(), word, word + length + 1);
        const DB_RESULT* result = nullptr;
        for (;;) {
            result = DB_Translate(db, direction, word, 1, 0, output.data(),
                                  static_cast<int32_t>(output.size()));
            if (result->status == 0 || static_cast<std::size_t>(result->count) < output.size()) {
                break;
            }
            if (output.size() >= (std::size_t{1} << 24)) return false;
            output.resize(output.size() * 4);
        }
        if (result->status == 0) continue;
        for (int32_t i = 0; i < result->count; ++i) {
            const auto found = other.number.find(output[i]);
            if (found == other.number.end()) return false;
            std::uint8_t bytes[4];
            Put32(bytes, found->second);
            image->links.insert(image->links.end(), bytes, bytes + 4);
            ++links;
        }
    }
    Put32(image->entries.data() + image->words.size() * kEntrySize + 8, links);
    return image->texts.size() < UINT32_MAX / 2;
}

// The comparison tables of both lists as the dictionary file stores them
// (the loaded dictionary compares through these): per list exact, case,
// accents, both. False when the file isn't the one in state `key`.
bool ReadComparisonTables(const std::string& source, const SourceKey& key,
                          std::uint8_t tables[2][4][256]) {
    constexpr std::uint64_t kTrailer = 128;
    int fd = -1;
    std::uint64_t size = 0;
    if (platform::OpenRegularFile(source.c_str(), &fd, &size) != platform::ReadOutcome::kRead) {
        return false;
    }
    std::uint8_t trailer[kTrailer];
    bool ok = size == key.size && key.size >= kTrailer + 4 &&
              platform::ReadAt(fd, key.size - kTrailer - 4, trailer, kTrailer);
    // Lower, accent-free and accent-free upper; the upper table is no
    // comparison table.
    for (int list = 0; ok && list < 2; ++list) {
        for (int c = 0; c < 256; ++c) tables[list][0][c] = static_cast<std::uint8_t>(c);
        for (int kind = 1; ok && kind < 4; ++kind) {
            const std::uint64_t offset = Get32(trailer + 72 + 16 * list + 4 * kind);
            ok = offset + 256 <= key.size - kTrailer - 4 &&
                 platform::ReadAt(fd, offset, tables[list][kind], 256);
        }
    }
    ::close(fd);
    SourceKey now;
    return ok && ReadSourceKey(source, &now) && now == key;
}

// The prefix part of a list whose texts are all distinct.
void BuildPrefixes(const ListImage& list, const std::uint8_t tables[4][256], bool by_char,
                   std::uint32_t code_page, std::vector<std::uint8_t>* part) {
    const std::size_t count = list.words.size();
    part->assign(kTablesSize + 4 * count * 5, 0);
    std::memcpy(part->data(), tables, kTablesSize);
    std::vector<std::uint32_t> position(count);
    for (std::size_t p = 0; p < list.in_order.size(); ++p) {
        position[list.number.at(list.in_order[p])] = static_cast<std::uint32_t>(p);
    }
    std::uint8_t* out = part->data() + kTablesSize;
    for (std::size_t n = 0; n < count; ++n) Put32(out + 4 * n, position[n]);
    std::vector<std::uint32_t> order(count);
    std::vector<std::u32string> folded;
    for (int fold = 0; fold < 4; ++fold) {
        for (std::size_t n = 0; n < count; ++n) order[n] = static_cast<std::uint32_t>(n);
        const auto tie = [&](std::uint32_t a, std::uint32_t b) {
            return position[a] < position[b];
        };
        if (by_char) {
            std::uint32_t flags = (fold & 1) != 0 ? platform::kNormIgnoreCase : 0;
            if ((fold & 2) != 0) flags |= platform::kNormIgnoreNonSpace;
            folded.resize(count);
            for (std::size_t n = 0; n < count; ++n) {
                platform::DecodeToCodePoints(code_page, list.words[n], &folded[n]);
                platform::FoldChars(&folded[n], flags);
            }
            std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
                const int c = folded[a].compare(folded[b]);
                return c != 0 ? c < 0 : tie(a, b);
            });
        } else {
            const std::uint8_t* table = tables[fold];
            std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
                const auto* x = reinterpret_cast<const std::uint8_t*>(list.words[a]);
                const auto* y = reinterpret_cast<const std::uint8_t*>(list.words[b]);
                for (;; ++x, ++y) {
                    // A text that ends first sorts first.
                    if (*x == 0 || *y == 0) return *x == *y ? tie(a, b) : *x == 0;
                    if (table[*x] != table[*y]) return table[*x] < table[*y];
                }
            });
        }
        std::uint8_t* sorted = out + 4 * count * (1 + fold);
        for (std::size_t n = 0; n < count; ++n) Put32(sorted + 4 * n, order[n]);
    }
}

// The whole image of `lists`, header first; empty when it would not fit the
// 32-bit offsets.
std::vector<std::uint8_t> LayOut(const ListImage (&lists)[2], const std::uint32_t (&code_pages)[2],
                                 const std::string& source, const SourceKey& key) {
    // The data, at offsets from its start; then the header before it.
    std::uint64_t data_size = 0;
    std::uint64_t at[2][4];
    for (int list = 0; list < 2; ++list) {
        const std::vector<std::uint8_t>* parts[4] = {&lists[list].texts, &lists[list].entries,
                                                     &lists[list].links, &lists[list].prefixes};
        for (int p = 0; p < 4; ++p) {
            at[list][p] = data_size;
            data_size = Align(data_size + parts[p]->size(), 8);
        }
    }
    const std::uint64_t chunks = (data_size + kChunkSize - 1) >> kChunkShift;
    const std::uint64_t chunk_crcs = Align(kHeaderSize + source.size(), 4);
    const std::uint64_t data_start = Align(chunk_crcs + 4 * chunks, 8);
    const std::uint64_t size = data_start + data_size;
    if (size > UINT32_MAX) return {};
    std::vector<std::uint8_t> file(static_cast<std::size_t>(size), 0);
    std::uint8_t* h = file.data();
    std::memcpy(h, kMagic, sizeof kMagic);
    Put32(h + 8, kVersion);
    Put32(h + 12, static_cast<std::uint32_t>(source.size()));
    Put64(h + 16, key.size);
    Put64(h + 24, static_cast<std::uint64_t>(key.modified_seconds));
    Put64(h + 32, static_cast<std::uint64_t>(key.modified_nanoseconds));
    Put32(h + 40, key.crc);
    Put32(h + 44, code_pages[0]);
    Put32(h + 48, code_pages[1]);
    for (int list = 0; list < 2; ++list) {
        const ListImage& l = lists[list];
        std::uint8_t* f = h + kListFields + 24 * list;
        Put32(f, static_cast<std::uint32_t>(data_start + at[list][0]));
        Put32(f + 4, static_cast<std::uint32_t>(l.texts.size()));
        Put32(f + 8, static_cast<std::uint32_t>(data_start + at[list][1]));
        Put32(f + 12, static_cast<std::uint32_t>(l.words.size()));
        Put32(f + 16, static_cast<std::uint32_t>(data_start + at[list][2]));
        Put32(f + 20, static_cast<std::uint32_t>(l.links.size() / 4));
        if (!l.texts.empty())
            std::memcpy(h + data_start + at[list][0], l.texts.data(), l.texts.size());
        std::memcpy(h + data_start + at[list][1], l.entries.data(), l.entries.size());
        if (!l.links.empty())
            std::memcpy(h + data_start + at[list][2], l.links.data(), l.links.size());
        if (!l.prefixes.empty()) {
            Put32(h + kPrefixFields + 8 * list,
                  static_cast<std::uint32_t>(data_start + at[list][3]));
            Put32(h + kPrefixFields + 8 * list + 4,
                  platform::IsMultiByteCodePage(code_pages[list]));
            std::memcpy(h + data_start + at[list][3], l.prefixes.data(), l.prefixes.size());
        }
    }
    Put32(h + 100, static_cast<std::uint32_t>(chunk_crcs));
    Put32(h + 104, static_cast<std::uint32_t>(chunks));
    Put32(h + 108, static_cast<std::uint32_t>(data_start));
    Put64(h + 112, size);
    std::memcpy(h + kHeaderSize, source.data(), source.size());
    for (std::uint64_t c = 0; c < chunks; ++c) {
        const std::uint64_t begin = data_start + (c << kChunkShift);
        Put32(h + chunk_crcs + 4 * c,
              Crc(h + begin, static_cast<std::size_t>(std::min(kChunkSize, size - begin))));
    }
    std::uint32_t crc = Crc(h, kHeaderCrc);
    crc = Crc(h + kHeaderSize, source.size(), crc);
    crc = Crc(h + chunk_crcs, static_cast<std::size_t>(4 * chunks), crc);
    Put32(h + kHeaderCrc, crc);
    return file;
}

// Puts `file` at `path` through the shared safe writer: a temporary file
// beside it, for the user alone, locked against other writers, flushed and
// renamed into place. Nothing is left behind when that fails.
bool WriteReplacing(const std::string& path, const std::vector<std::uint8_t>& file) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0 || !MakeFolders(path.substr(0, slash))) {
        return false;
    }
    return platform::WriteWholeFile(path.c_str(), file.data(), file.size(), 0600);
}

}  // namespace

bool WriteLookupImage(DB_HANDLE db, const std::string& path, const std::string& source,
                      const SourceKey& key) {
    DICTIONARY_INFO info{};
    if (path.empty() || DB_GetDictionaryInfo(db, &info)->status == 0) return false;
    ListImage lists[2];
    if (!CollectWords(db, 0, info.primary_word_count, &lists[0]) ||
        !CollectWords(db, 1, info.secondary_word_count, &lists[1]) ||
        !LinkWords(db, 0, lists[1], &lists[0]) || !LinkWords(db, 1, lists[0], &lists[1])) {
        return false;
    }
    const std::uint32_t code_pages[2] = {
        platform::ListCodePage(info.primary_locale, info.primary_charset),
        platform::ListCodePage(info.secondary_locale, info.secondary_charset)};
    // Prefix lists come from the image only where the texts are all distinct:
    // the engine lists a repeated text as often as it occurs.
    std::uint8_t tables[2][4][256];
    const bool have_tables = ReadComparisonTables(source, key, tables);
    for (int list = 0; list < 2; ++list) {
        if (have_tables && !lists[list].words.empty() &&
            lists[list].words.size() == lists[list].in_order.size()) {
            BuildPrefixes(lists[list], tables[list],
                          platform::IsMultiByteCodePage(code_pages[list]), code_pages[list],
                          &lists[list].prefixes);
        }
    }
    const std::vector<std::uint8_t> file = LayOut(lists, code_pages, source, key);
    return !file.empty() && WriteReplacing(path, file);
}

}  // namespace lookup
