// Fuzz target of the StarDict reader. The input is a StarDict dictionary:
//   1 byte     bit 0: the data is x.dict.dz (else x.dict)
//   4 bytes    little-endian length of the .ifo text, which follows
//   4 bytes    the same for the .idx, then the .idx
//   4 bytes    the same for the .syn, then the .syn
//   the rest   the data
// (a length beyond what remains takes what remains). The files are written
// into a folder of this process and read with ReadStarDict, whose counts,
// offsets and sizes may say anything. Every pair read must have a headword
// and a translation, a failure must say why, and the dictzip reader gets the
// data on its own too.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "exchange/dictzip.h"
#include "exchange/stardict_reader.h"

namespace {

// A folder of this process for the dictionary, in memory when /dev/shm is
// there. Kept in a plain array, which outlives the exit handler.
char g_directory[64];

void RemoveWorkDirectory() {
    for (const char* name : {"/x.ifo", "/x.idx", "/x.syn", "/x.dict", "/x.dict.dz"}) {
        std::remove((std::string(g_directory) + name).c_str());
    }
    ::rmdir(g_directory);
}

std::string DictionaryBase() {
    if (g_directory[0] == '\0') {
        struct stat status {};
        const bool shm = ::stat("/dev/shm", &status) == 0 && S_ISDIR(status.st_mode);
        std::strcpy(g_directory,
                    shm ? "/dev/shm/stardict_fuzzer_XXXXXX" : "/tmp/stardict_fuzzer_XXXXXX");
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
        std::fprintf(stderr, "stardict_fuzzer: %s\n", what);
        std::abort();
    }
}

// Takes a part of a length given by the next four bytes off the front of
// `input`.
std::string_view TakePart(std::string_view* input) {
    std::uint32_t length = 0;
    for (int i = 0; i < 4 && !input->empty(); ++i) {
        length |= std::uint32_t{static_cast<unsigned char>(input->front())} << (8 * i);
        input->remove_prefix(1);
    }
    const std::string_view part = input->substr(0, length);
    input->remove_prefix(part.size());
    return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.empty()) return 0;
    const bool compressed = (input.front() & 1) != 0;
    input.remove_prefix(1);
    const std::string base = DictionaryBase();
    WriteFile(base + ".ifo", TakePart(&input));
    WriteFile(base + ".idx", TakePart(&input));
    WriteFile(base + ".syn", TakePart(&input));
    std::remove((base + ".dict").c_str());
    std::remove((base + ".dict.dz").c_str());
    WriteFile(base + (compressed ? ".dict.dz" : ".dict"), input);

    std::string text, error;
    if (!exchange::ReadDictText(std::string(input), "x", 1 << 24, &text, &error)) {
        Check(!error.empty(), "a damaged text without a message");
    }
    exchange::SourceDictionary read;
    error.clear();
    if (!exchange::ReadStarDict(base + ".ifo", &read, &error)) {
        Check(!error.empty(), "a failure without a message");
        return 0;
    }
    for (const exchange::TranslationPair& pair : read.pairs) {
        Check(!pair.word.empty() && !pair.translation.empty(), "a pair without a text");
    }
    return 0;
}
