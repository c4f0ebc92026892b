// Fuzz target of the look-up image reader. The input becomes
// an image file, opened for the source path and key that its own header
// names, and asked for words in both directions under every fold, for
// prefix and wildcard lists and for a list's texts; every
// answer must come from inside the mapping, and an image that holds up must
// answer consistently. An input that begins as a file of stems kept beside
// an image does (forms/stored_stems.h) is parsed as one instead, for the
// owner it names, asked for words, and given to the word-form analysis,
// which takes whatever stems it holds for base-word candidates.
//
// Before writing the file the target stores the right size, header CRC and
// chunk CRCs in the input wherever the header's layout fields allow, so that
// mutations reach the checks behind them; the unit tests cover images whose
// CRCs are wrong.
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "forms/stored_stems.h"
#include "forms/word_analysis.h"
#include "lookup/lookup_image.h"

namespace {

char g_path[64];

void RemoveFile() { std::remove(g_path); }

std::string WorkFile() {
    if (g_path[0] == '\0') {
        struct stat status {};
        const bool shm = ::stat("/dev/shm", &status) == 0 && S_ISDIR(status.st_mode);
        std::strcpy(g_path, shm ? "/dev/shm/lookup_image_fuzzer_XXXXXX"
                                : "/tmp/lookup_image_fuzzer_XXXXXX");
        const int fd = ::mkstemp(g_path);
        if (fd < 0) std::abort();
        ::close(fd);
        std::atexit(RemoveFile);
    }
    return g_path;
}

std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
std::uint64_t Get64(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint64_t v;
    std::memcpy(&v, b.data() + at, 8);
    return v;
}
void Put32(std::vector<std::uint8_t>* b, std::size_t at, std::uint32_t v) {
    std::memcpy(b->data() + at, &v, 4);
}
void Put64(std::vector<std::uint8_t>* b, std::size_t at, std::uint64_t v) {
    std::memcpy(b->data() + at, &v, 8);
}

// Stores the size, chunk CRCs and header CRC that the layout fields ask for.
void FixChecks(std::vector<std::uint8_t>* b) {
    const std::uint64_t size = b->size();
    Put64(b, 112, size);
    const std::uint64_t path = Get32(*b, 12);
    const std::uint64_t crcs = Get32(*b, 100);
    const std::uint64_t chunks = Get32(*b, 104);
    const std::uint64_t data = Get32(*b, 108);
    if (140 + path > size || crcs > size || chunks > (size - crcs) / 4 || data > size) return;
    for (std::uint64_t c = 0; c < chunks; ++c) {
        const std::uint64_t begin = data + (c << 12);
        if (begin >= size) break;
        const std::uint64_t length = std::min<std::uint64_t>(std::uint64_t{1} << 12, size - begin);
        Put32(b, crcs + 4 * c, libdeflate_crc32(0, b->data() + begin, length));
    }
    std::uint32_t crc = libdeflate_crc32(0, b->data(), 136);
    crc = libdeflate_crc32(crc, b->data() + 140, path);
    crc = libdeflate_crc32(crc, b->data() + crcs, 4 * chunks);
    Put32(b, 136, crc);
}

// A list of a few words, and neither speller nor suggestions: what the
// analysis does with the kept stems alone.
class FewWords : public forms::Lexicon, public forms::LanguageTools {
public:
    std::vector<std::string> Translations(std::string_view word) override {
        if (word == "house" || word == "go" || word.size() == 1) return {"t"};
        return {};
    }
    void ForEachWord(const std::function<void(std::string_view)>&) override {}
    std::vector<std::string> SpellerStems(std::string_view, std::string_view) override {
        return {};
    }
    std::vector<std::string> Suggestions(forms::Lexicon&, std::string_view, const std::string&,
                                         const forms::Options&) override {
        return {};
    }
};

// A stems file: its CRC made right, so that mutations reach the parser.
void FuzzStoredStems(std::vector<std::uint8_t> bytes) {
    Put32(&bytes, 12, libdeflate_crc32(0, bytes.data() + 16, bytes.size() - 16));
    const std::uint64_t owner_length = Get32(bytes, 16);
    if (20 + owner_length > bytes.size()) return;
    const std::string owner(reinterpret_cast<const char*>(bytes.data()) + 20, owner_length);
    forms::StoredStems stems;
    if (!stems.Parse(std::string(bytes.begin(), bytes.end()), owner)) {
        if (stems.size() != 0) std::abort();
        return;
    }
    std::vector<std::string> found;
    for (const char* word :
         {"", "a", "house", "houses", "\xff", "went", "zz top", "\xc3\xa9t\xc3\xa9"}) {
        if (!stems.Find(word, &found) && !found.empty()) std::abort();
    }
    FewWords words;
    forms::Options options;
    options.stored_stems = &stems;
    for (const char* selection : {"houses", "went", "\xc3\xa9t\xc3\xa9s", "a", "House's"}) {
        const forms::Answer answer =
            forms::Analyse(words, stems.locale(), selection, options, words);
        if (answer.how == forms::How::kForm && answer.translations.empty()) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 20 && size <= (std::size_t{1} << 22) && std::memcmp(data, "WBSTEMS", 8) == 0) {
        FuzzStoredStems(std::vector<std::uint8_t>(data, data + size));
        return 0;
    }
    if (size < 140 || size > (std::size_t{1} << 22)) return 0;
    std::vector<std::uint8_t> bytes(data, data + size);
    FixChecks(&bytes);
    const std::string file = WorkFile();
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(size));

    const std::uint64_t path_length = Get32(bytes, 12);
    if (140 + path_length > size) return 0;
    const std::string source(reinterpret_cast<const char*>(bytes.data()) + 140, path_length);
    lookup::SourceKey key;
    key.size = Get64(bytes, 16);
    key.modified_seconds = static_cast<std::int64_t>(Get64(bytes, 24));
    key.modified_nanoseconds = static_cast<std::int64_t>(Get64(bytes, 32));
    key.crc = Get32(bytes, 40);
    lookup::LookupImage image;
    if (!image.Open(file, source, key)) return 0;
    std::vector<std::string> found;
    for (int direction = 0; direction < 2; ++direction) {
        for (int fold = 0; fold < 4; ++fold) {
            for (const char* word :
                 {"a", "house", "m", "\xff", "zz top", "~", "\xc3\x89t\xc3\xa9"}) {
                const auto answer =
                    image.Translate(direction, word, (fold & 1) == 0, (fold & 2) != 0, &found);
                if (answer == lookup::LookupImage::Answer::kFound && found.empty()) std::abort();
            }
        }
    }
    // A list's texts: the answer only has to stay inside the mapping.
    std::string texts;
    for (int list = 0; list < 2; ++list) (void)image.ListTexts(list, &texts);
    // Prefix and wildcard lists under every fold, with and without a limit.
    for (int list = 0; list < 2; ++list) {
        for (int fold = 0; fold < 4; ++fold) {
            const std::uint32_t limit = fold == 3 ? 2 : 0xFFFFFFFF;
            const auto check = [&](lookup::LookupImage::Answer answer) {
                if (answer == lookup::LookupImage::Answer::kFound &&
                    (found.empty() || found.size() > limit)) {
                    std::abort();
                }
            };
            for (const char* prefix : {"a", "ho", "\xc3\xa9", "zz t"}) {
                check(image.ListPrefix(list, prefix, (fold & 1) == 0, (fold & 2) != 0, limit,
                                       &found));
            }
            for (const char* pattern : {"h*e", "a?", "\xc3\xa9*", "zz*t*p", "m"}) {
                check(image.ListWildcards(list, pattern, (fold & 1) == 0, (fold & 2) != 0, limit,
                                          &found));
            }
        }
    }
    return 0;
}
