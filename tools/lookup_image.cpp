#include "tools/lookup_image.h"

#include <fcntl.h>
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "platform/locale.h"

namespace cli {
namespace {

// The layout. Header fields are little-endian 32- and 64-bit numbers:
//   0 magic, 8 version, 12 length of the source's path, 16 source size,
//   24 and 32 its modification time (seconds, nanoseconds), 40 its CRC-32,
//   44 the two lists' code pages (65001 for a UTF-8 list), 52 per list (24 bytes each): texts, their bytes,
//   entries, their count, links, their count; 100 chunk CRCs, 104 their
//   count, 108 where the data begins, 112 the image's size, 120 the CRC-32 of
//   the header, the path and the chunk CRCs; 124 the path.
// The data: per list its texts, each with a NUL; its entries sorted by text
// bytes (text offset, length, first link), one more ending the last; its links,
// entry numbers of the other list, in the order the engine gives them.
constexpr char kMagic[8] = {'W', 'B', 'L', 'O', 'O', 'K', 'U', 'P'};
constexpr std::uint32_t kVersion = 2;
constexpr std::size_t kHeaderSize = 124;
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

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    std::uint8_t crc[4];
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 4 &&
                    ::pread(fd, crc, 4, st.st_size - 4) == 4;
    ::close(fd);
    if (!ok) return false;
    key->size = static_cast<std::uint64_t>(st.st_size);
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
        std::uint32_t crc = Crc(h, 120);
        crc = Crc(h + kHeaderSize, static_cast<std::size_t>(path_length), crc);
        crc = Crc(h + chunk_crcs_, static_cast<std::size_t>(4 * chunks), crc);
        good = crc == Get32(h + 120);
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
    const std::uint8_t* links =
        self->Checked(self->links_[from] + std::uint64_t{entry.first} * 4, std::uint64_t{count} * 4);
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
        self->spans_[i] = Span{static_cast<std::uint64_t>(text.data() -
                                                          reinterpret_cast<const char*>(self->data_)),
                               static_cast<std::uint32_t>(text.size())};
    }
    search->found = count;
    search->answer = count > 0 ? Answer::kFound : Answer::kNotFound;
}

namespace {

// One list as the image holds it, built from the loaded dictionary.
struct ListImage {
    std::vector<const char*> words;  // the distinct texts, sorted by bytes
    std::unordered_map<const char*, std::uint32_t> number;  // text -> entry
    std::vector<std::uint8_t> texts;
    std::vector<std::uint8_t> entries;
    std::vector<std::uint8_t> links;
};

bool CollectWords(DB_HANDLE db, int list, std::uint32_t count, ListImage* image) {
    image->words.resize(std::max<std::uint32_t>(count, 1));
    const DB_RESULT* result =
        DB_List(db, list == 0 ? DB_PRIMARY_LIST : DB_SECONDARY_LIST, "*", 1, 0,
                DB_LIST_WILDCARDS, image->words.data(), static_cast<int32_t>(count));
    if (count == 0) {
        image->words.clear();
        return true;
    }
    if (result->status == 0 || static_cast<std::uint32_t>(result->count) != count) return false;
    std::sort(image->words.begin(), image->words.end(),
              [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
    const std::vector<const char*> all = image->words;
    image->words.erase(std::unique(image->words.begin(), image->words.end(),
                                   [](const char* a, const char* b) {
                                       return std::strcmp(a, b) == 0;
                                   }),
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
    // The data, at offsets from its start; then the header before it.
    std::uint64_t data_size = 0;
    std::uint64_t at[2][3];
    for (int list = 0; list < 2; ++list) {
        const std::vector<std::uint8_t>* parts[3] = {&lists[list].texts, &lists[list].entries,
                                                     &lists[list].links};
        for (int p = 0; p < 3; ++p) {
            at[list][p] = data_size;
            data_size = Align(data_size + parts[p]->size(), 8);
        }
    }
    const std::uint64_t chunks = (data_size + kChunkSize - 1) >> kChunkShift;
    const std::uint64_t chunk_crcs = Align(kHeaderSize + source.size(), 4);
    const std::uint64_t data_start = Align(chunk_crcs + 4 * chunks, 8);
    const std::uint64_t size = data_start + data_size;
    if (size > UINT32_MAX) return false;
    std::vector<std::uint8_t> file(static_cast<std::size_t>(size), 0);
    std::uint8_t* h = file.data();
    std::memcpy(h, kMagic, sizeof kMagic);
    Put32(h + 8, kVersion);
    Put32(h + 12, static_cast<std::uint32_t>(source.size()));
    Put64(h + 16, key.size);
    Put64(h + 24, static_cast<std::uint64_t>(key.modified_seconds));
    Put64(h + 32, static_cast<std::uint64_t>(key.modified_nanoseconds));
    Put32(h + 40, key.crc);
    Put32(h + 44, platform::ListCodePage(info.primary_locale, info.primary_charset));
    Put32(h + 48, platform::ListCodePage(info.secondary_locale, info.secondary_charset));
    for (int list = 0; list < 2; ++list) {
        const ListImage& l = lists[list];
        std::uint8_t* f = h + kListFields + 24 * list;
        Put32(f, static_cast<std::uint32_t>(data_start + at[list][0]));
        Put32(f + 4, static_cast<std::uint32_t>(l.texts.size()));
        Put32(f + 8, static_cast<std::uint32_t>(data_start + at[list][1]));
        Put32(f + 12, static_cast<std::uint32_t>(l.words.size()));
        Put32(f + 16, static_cast<std::uint32_t>(data_start + at[list][2]));
        Put32(f + 20, static_cast<std::uint32_t>(l.links.size() / 4));
        if (!l.texts.empty()) std::memcpy(h + data_start + at[list][0], l.texts.data(), l.texts.size());
        std::memcpy(h + data_start + at[list][1], l.entries.data(), l.entries.size());
        if (!l.links.empty()) std::memcpy(h + data_start + at[list][2], l.links.data(), l.links.size());
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
    std::uint32_t crc = Crc(h, 120);
    crc = Crc(h + kHeaderSize, source.size(), crc);
    crc = Crc(h + chunk_crcs, static_cast<std::size_t>(4 * chunks), crc);
    Put32(h + 120, crc);

    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0 || !MakeFolders(path.substr(0, slash))) {
        return false;
    }
    const std::string temporary = path + "." + std::to_string(::getpid()) + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, file.data(), file.size());
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace cli
