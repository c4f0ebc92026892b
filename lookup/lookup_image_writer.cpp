#include "lookup/lookup_image_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unordered_map>

#include "lookup/image_layout.h"
#include "platform/char_fold.h"
#include "platform/code_page.h"
#include "platform/collation.h"
#include "platform/file_reader.h"
#include "platform/file_writer.h"
#include "platform/locale.h"

namespace lookup {
namespace {

using namespace layout;

// Creates `path` and its missing parents, for the user alone.
bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

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
