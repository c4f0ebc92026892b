// Fuzz target of the V03 loader. The input becomes a file, which DB_Load
// reads as format 1. When the load succeeds, the dictionary is listed,
// translated and saved, then edited and saved again; the saved file must
// load again and save into the same bytes, so that every dictionary the
// loader accepts can be kept.
//
// Before writing the file the target stores the right CRC and total size in
// the input, so that mutations reach the checks behind them; the unit tests
// cover files that fail those two.
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/lexbase.h"

namespace {

// A folder of this process for the input and the saved files: in memory
// when /dev/shm is there, as saves flush their file to the disk. Kept in a
// plain array, which outlives the exit handler that removes the folder.
char g_directory[64];

void RemoveWorkDirectory() {
    for (const char* name : {"/input.v03", "/first.v03", "/second.v03"}) {
        std::remove((std::string(g_directory) + name).c_str());
    }
    ::rmdir(g_directory);
}

std::string WorkDirectory() {
    if (g_directory[0] == '\0') {
        struct stat status {};
        const bool shm = ::stat("/dev/shm", &status) == 0 && S_ISDIR(status.st_mode);
        std::strcpy(g_directory,
                    shm ? "/dev/shm/v03_load_fuzzer_XXXXXX" : "/tmp/v03_load_fuzzer_XXXXXX");
        if (::mkdtemp(g_directory) == nullptr) std::abort();
        std::atexit(RemoveWorkDirectory);
    }
    return g_directory;
}

void PutU32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "v03_load_fuzzer: %s\n", what);
        std::abort();
    }
}

// Lists a few words of each list and translates each of them.
void Exercise(DB_HANDLE db) {
    const char* words[16];
    const char* translations[16];
    const struct {
        std::int32_t list;
        const char* pattern;
        std::uint32_t mode;
        int fold;  // bit 0 case-sensitive, bit 1 ignore accents
    } searches[] = {
        {1, "a", DB_LIST_PREFIX, 2},
        {2, "*", DB_LIST_WILDCARDS, 2},
        {1, "", DB_LIST_PALINDROME, 2},
        // UTF-8 lists fold and match by character: a whole one, a cut one
        // and one in second place.
        {2, "\xE0\xA4\x98", DB_LIST_PREFIX, 0},
        {2, "\xE0\xA4", DB_LIST_PREFIX, 3},
        {1, "h\xC4\x89?*", DB_LIST_WILDCARDS, 2},
        {2, "\xC4\x88", DB_LIST_ANAGRAM_ONCE, 0},
    };
    for (const auto& search : searches) {
        const DB_RESULT* listed = DB_List(db, search.list, search.pattern, search.fold & 1,
                                          (search.fold >> 1) & 1, search.mode, words, 16);
        if (listed->status == 0) continue;
        const int count = listed->count < 16 ? listed->count : 16;
        for (int i = 0; i < count; ++i) {
            Check(words[i] != nullptr && words[i][0] != '\0', "a listed word is empty");
            DB_Translate(db, search.list, words[i], 1, 0, translations, 16);
            DB_Translate(db, search.list, words[i], 0, 1, translations, 16);
        }
    }
}

// Edits the loaded dictionary the way a user would: a word of each list
// loses its translations and goes, another is renamed and linked anew. The
// save that follows must still succeed.
void Edit(DB_HANDLE db) {
    std::string texts[2][2];
    for (std::int32_t list = 1; list <= 2; ++list) {
        const char* words[2];
        const DB_RESULT* listed = DB_List(db, list, "*", 1, 0, DB_LIST_WILDCARDS, words, 2);
        if (listed->status == 0) return;
        for (int i = 0; i < listed->count && i < 2; ++i) texts[list - 1][i] = words[i];
    }
    const std::string& primary = texts[0][0];
    const std::string& secondary = texts[1][0];
    if (primary.empty() || secondary.empty()) return;
    const char* translations[64];
    const DB_RESULT* found = DB_Translate(db, 2, secondary.c_str(), 1, 0, translations, 64);
    std::vector<std::string> partners;
    for (int i = 0; found->status != 0 && i < found->count && i < 64; ++i) {
        partners.emplace_back(translations[i]);
    }
    for (const std::string& partner : partners) {
        DB_DeleteTranslation(db, 2, secondary.c_str(), partner.c_str());
    }
    DB_DeleteWord(db, 2, secondary.c_str());
    DB_ChangeWord(db, 1, primary.c_str(), "zz");
    if (!texts[1][1].empty()) {
        DB_AddTranslation(db, 1, "zz", texts[1][1].c_str());
        DB_AddTranslation(db, 1, "zz", "new");
        DB_SwapTranslations(db, 1, "zz", "new", texts[1][1].c_str());
    }
    Exercise(db);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    if (size >= 572 && size <= UINT32_MAX) {
        PutU32(&bytes[size - 28], static_cast<std::uint32_t>(size));
        PutU32(&bytes[size - 4],
               static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(size - 4))));
    }
    const std::string input = WorkDirectory() + "/input.v03";
    const std::string first = WorkDirectory() + "/first.v03";
    const std::string second = WorkDirectory() + "/second.v03";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    DB_HANDLE db = DB_CreateHandle()->handle;
    Check(db != nullptr, "no handle");
    if (DB_Load(db, DB_FORMAT_V03_LOAD, input.c_str(), 0, 0)->status == 1) {
        Exercise(db);
        Check(DB_Save(db, DB_FORMAT_V03_SAVE, first.c_str())->status == 1,
              "a loaded dictionary does not save");
        Edit(db);
        Check(DB_Save(db, DB_FORMAT_V03_SAVE, first.c_str())->status == 1,
              "an edited dictionary does not save");
        DB_HANDLE again = DB_CreateHandle()->handle;
        Check(DB_Load(again, DB_FORMAT_V03_LOAD, first.c_str(), 0, 0)->status == 1,
              "a saved dictionary does not load");
        Check(DB_Save(again, DB_FORMAT_V03_SAVE, second.c_str())->status == 1,
              "a reloaded dictionary does not save");
        Check(ReadFile(first) == ReadFile(second), "a second save differs from the first");
        DB_DestroyHandle(again);
    } else {
        Check(DB_IsReady(db) == 0, "a failed load left a dictionary open");
    }
    DB_DestroyHandle(db);
    return 0;
}
