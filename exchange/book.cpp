#include "exchange/book.h"

#include <cstring>

#include "platform/code_page.h"
#include "platform/locale.h"

namespace exchange {
namespace {

// The most translations a word can have.
constexpr std::size_t kMostTranslations = 65535;

std::string FieldText(const char* field, std::size_t size, std::uint32_t code_page) {
    return platform::DecodeToUtf8(code_page, std::string_view(field, strnlen(field, size)));
}

}  // namespace

bool ReadBook(DB_HANDLE db, std::int32_t direction, Book* book, std::string* error) {
    DICTIONARY_INFO info{};
    const DB_RESULT* result = DB_GetDictionaryInfo(db, &info);
    if (result->status == 0) {
        *error = result->message;
        return false;
    }
    const bool forward = direction == DB_TRANS_PRIMARY_TO_SECONDARY;
    const std::uint32_t primary = platform::ListCodePage(info.primary_locale, info.primary_charset);
    const std::uint32_t secondary =
        platform::ListCodePage(info.secondary_locale, info.secondary_charset);
    const std::uint32_t from = forward ? primary : secondary;
    const std::uint32_t to = forward ? secondary : primary;
    const std::string primary_name =
        FieldText(info.primary_list_name, sizeof info.primary_list_name, primary);
    const std::string secondary_name =
        FieldText(info.secondary_list_name, sizeof info.secondary_list_name, secondary);
    book->name =
        forward ? primary_name + " - " + secondary_name : secondary_name + " - " + primary_name;
    book->author = FieldText(info.author, sizeof info.author, primary);
    book->description = FieldText(info.description, sizeof info.description, primary);

    const std::uint32_t count = forward ? info.primary_word_count : info.secondary_word_count;
    book->entries.clear();
    if (count == 0) return true;
    std::vector<const char*> words(count);
    result = DB_List(db, forward ? DB_PRIMARY_LIST : DB_SECONDARY_LIST, "*", 1, 0,
                     DB_LIST_WILDCARDS, words.data(), static_cast<std::int32_t>(count));
    if (result->status == 0) {
        *error = result->message;
        return false;
    }
    words.resize(static_cast<std::size_t>(result->count));
    std::vector<const char*> found(kMostTranslations);
    book->entries.reserve(words.size());
    for (const char* word : words) {
        // Both switches strict: the word's own translations, in their order.
        result = DB_Translate(db, direction, word, 1, 0, found.data(),
                              static_cast<std::int32_t>(found.size()));
        if (result->status == 0 || result->count <= 0) continue;
        BookEntry entry;
        entry.word = platform::DecodeToUtf8(from, word);
        entry.translations.reserve(static_cast<std::size_t>(result->count));
        for (std::int32_t i = 0; i < result->count; ++i) {
            entry.translations.push_back(platform::DecodeToUtf8(to, found[i]));
        }
        book->entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace exchange
