// Fuzz target of the history and favourites files. The input is the file as
// found on disk; both stores read it, count or star one word and write it
// back. Whatever the file, a store that could read it must read its own
// write again: the word comes back at the top, its translations whole.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "wordlists/favourites_store.h"
#include "wordlists/history_store.h"
#include "wordlists/journal.h"

namespace {

const std::string& FilePath() {
    static const std::string path = "/tmp/word_lists_fuzzer." + std::to_string(getpid());
    return path;
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(FilePath().c_str(), "wb");
    if (f == nullptr) __builtin_trap();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) __builtin_trap();
    std::fclose(f);
}

const wordlists::WordKey kKey{"house", "English_Croatian.v03", 1};

void History(const std::uint8_t* data, std::size_t size) {
    WriteInput(data, size);
    wordlists::HistoryStore store(FilePath());
    const bool readable = !store.Open().detached;
    store.Add(kKey, 1'700'000'000);
    if (!store.Flush() || !readable) return;
    wordlists::HistoryStore again(FilePath());
    if (again.Open().detached || again.entries().empty()) __builtin_trap();
    if (!(again.entries().front().key == kKey)) __builtin_trap();
}

void Favourites(const std::uint8_t* data, std::size_t size) {
    WriteInput(data, size);
    wordlists::FavouritesStore store(FilePath());
    const bool readable = !store.Open().detached;
    store.Add({kKey, 1'700'000'000, {"kuća", "dom\tzgrada", "a \"quoted\" one"}});
    if (!store.Flush() || !readable) return;
    wordlists::FavouritesStore again(FilePath());
    if (again.Open().detached || again.entries().empty()) __builtin_trap();
    const wordlists::Favourite& top = again.entries().front();
    if (!(top.key == kKey) || top.translations.size() != 3 ||
        top.translations[1] != "dom\tzgrada") {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each line on its own through the record decoder, and back.
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        wordlists::Record record;
        if (!wordlists::DecodeRecord(line, &record)) continue;
        wordlists::Record back;
        std::string encoded = wordlists::EncodeRecord(record);
        if (!encoded.empty() && encoded.back() == '\n') encoded.pop_back();
        if (!wordlists::DecodeRecord(encoded, &back) || back != record) __builtin_trap();
    }
    History(data, size);
    Favourites(data, size);
    std::remove(FilePath().c_str());
    return 0;
}
