// Fuzz target of the dictd reader. The input is a dictd database: the
// bytes before the first \x01 are its ".index" text, the rest its ".dict"
// text (plain or gzip). Both are written into a folder of this process and
// read with ReadDictd, whose index offsets and lengths may point anywhere;
// the index, entry, headword and number parsers also get the whole input.
// Every pair read must have a headword and a translation, and a pair is
// never kept twice.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "exchange/dictd_format.h"
#include "exchange/dictd_reader.h"

namespace {

// A folder of this process for the database, in memory when /dev/shm is
// there. Kept in a plain array, which outlives the exit handler.
char g_directory[64];

void RemoveWorkDirectory() {
    std::remove((std::string(g_directory) + "/x.index").c_str());
    std::remove((std::string(g_directory) + "/x.dict").c_str());
    ::rmdir(g_directory);
}

std::string DatabaseBase() {
    if (g_directory[0] == '\0') {
        struct stat status {};
        const bool shm = ::stat("/dev/shm", &status) == 0 && S_ISDIR(status.st_mode);
        std::strcpy(g_directory, shm ? "/dev/shm/freedict_text_fuzzer_XXXXXX"
                                     : "/tmp/freedict_text_fuzzer_XXXXXX");
        if (::mkdtemp(g_directory) == nullptr) std::abort();
        std::atexit(RemoveWorkDirectory);
    }
    return std::string(g_directory) + "/x";
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::abort();
    }
    std::fclose(file);
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "freedict_text_fuzzer: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    (void)exchange::ParseIndex(input);
    (void)exchange::ParseEntry(input);
    (void)exchange::ParseHeadword(input);
    (void)exchange::SplitTranslations(input);
    (void)exchange::DictdKey(input);
    std::uint64_t number = 0;
    (void)exchange::DecodeDictdNumber(input.substr(0, 16), &number);

    const std::size_t cut = input.find('\x01');
    const std::string base = DatabaseBase();
    WriteFile(base + ".index", input.substr(0, cut));
    WriteFile(base + ".dict",
              cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1));
    exchange::SourceDictionary read;
    std::string error;
    if (!exchange::ReadDictd(base, &read, &error)) {
        Check(!error.empty(), "a failure without a message");
        return 0;
    }
    std::set<std::pair<std::string, std::string>> seen;
    for (const exchange::TranslationPair& pair : read.pairs) {
        Check(!pair.word.empty() && !pair.translation.empty(), "a pair without a text");
        Check(seen.emplace(pair.word, pair.translation).second, "a pair kept twice");
    }
    return 0;
}
