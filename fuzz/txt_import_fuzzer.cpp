// Fuzz target of the TXT import. The input is imported from memory as a TXT
// file; a successful import must give consistent lists (links, counts, order
// of both directions), and its export must import again into the same pairs
// in the same order. A failed import must leave the handle empty.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/context.h"
#include "engine/formats/txt_format.h"
#include "engine/lexbase.h"
#include "platform/code_page.h"
#include "platform/locale.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// A folder of this process for the exported file, in memory when /dev/shm is
// there. Kept in a plain array, which outlives the exit handler.
char g_directory[64];

void RemoveWorkDirectory() {
    std::remove((std::string(g_directory) + "/export.txt").c_str());
    ::rmdir(g_directory);
}

std::string ExportPath() {
    if (g_directory[0] == '\0') {
        struct stat status {};
        const bool shm = ::stat("/dev/shm", &status) == 0 && S_ISDIR(status.st_mode);
        std::strcpy(g_directory,
                    shm ? "/dev/shm/txt_import_fuzzer_XXXXXX" : "/tmp/txt_import_fuzzer_XXXXXX");
        if (::mkdtemp(g_directory) == nullptr) std::abort();
        std::atexit(RemoveWorkDirectory);
    }
    return std::string(g_directory) + "/export.txt";
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "txt_import_fuzzer: %s\n", what);
        std::abort();
    }
}

// Walks `list`: prev and next agree, texts match their lengths, every link
// points into the other list's node block, and the counts add up.
void CheckList(const lexbase::WordList& list, const lexbase::WordList& other) {
    std::uint32_t words = 0, links = 0, text_bytes = 0;
    const lexbase::WordNode* prev = nullptr;
    for (const lexbase::WordNode* node = list.head; node != nullptr; node = node->next) {
        Check(node->prev == prev, "prev and next disagree");
        Check(node->length > 0 && std::strlen(node->text) == node->length, "bad word text");
        Check(node == &list.node_block[words], "node outside its block order");
        for (const lexbase::TransLink* link = node->links; link != nullptr; link = link->next) {
            Check(link->target >= other.node_block &&
                      link->target < other.node_block + other.word_count,
                  "link target outside the other list");
            ++links;
        }
        text_bytes += node->length + 1u;
        prev = node;
        ++words;
    }
    Check(prev == list.tail, "tail is not the last node");
    Check(words == list.word_count, "word count");
    Check(links == list.translation_count, "translation count");
    Check(text_bytes == list.text_bytes, "text bytes");
}

bool StartsWithByteOrderMark(const std::string& path) {
    char head[3] = {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    return got == sizeof head && std::memcmp(head, "\xEF\xBB\xBF", sizeof head) == 0;
}

Pairs PairsOf(const DB_CONTEXT* db) {
    Pairs out;
    for (const lexbase::WordNode* node = db->lists[0].head; node != nullptr; node = node->next) {
        for (const lexbase::TransLink* link = node->links; link != nullptr; link = link->next) {
            out.emplace_back(std::string(node->text, node->length),
                             std::string(link->target->text, link->target->length));
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DB_HANDLE db = DB_CreateHandle()->handle;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (lexbase::ImportTxtBytes(db, bytes, "english_croatian.txt", 1033, 1050)) {
        CheckList(db->lists[0], db->lists[1]);
        CheckList(db->lists[1], db->lists[0]);
        Check(db->lists[0].translation_count == db->lists[1].translation_count,
              "the two directions differ in size");
        const Pairs imported = PairsOf(db);
        // The one thing the format can't tell: an 8-bit column whose bytes
        // read as UTF-8 imports again as UTF-8.
        bool ambiguous = false;
        for (int side = 0; side < 2; ++side) {
            if (db->lists[side].charset == platform::kUtf8Charset) continue;
            bool valid = true, high = false;
            for (const auto& pair : imported) {
                const std::string& text = side == 0 ? pair.first : pair.second;
                valid = valid && platform::IsValidUtf8(text);
                for (const char c : text) high = high || static_cast<unsigned char>(c) >= 0x80;
            }
            ambiguous = ambiguous || (valid && high);
        }
        const std::string path = ExportPath();
        Check(lexbase::SaveTxt(db, path.c_str()), "export failed");
        // Nor an 8-bit file whose first word begins with the bytes of a
        // byte-order mark ("ï»¿" in code page 1252): it is read again as
        // UTF-8 throughout, and may not import at all.
        const bool marked = StartsWithByteOrderMark(path);
        DB_Close(db);
        const bool again = lexbase::LoadTxt(db, path.c_str(), 1033, 1050);
        Check(again || marked, "export does not import");
        Check(ambiguous || marked || PairsOf(db) == imported, "export imports into other pairs");
    } else {
        Check(db->lists[0].head == nullptr && db->lists[1].head == nullptr,
              "failed import left words behind");
    }
    DB_DestroyHandle(db);
    return 0;
}
