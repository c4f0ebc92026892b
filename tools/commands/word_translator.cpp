#include "tools/commands/word_translator.h"

#include <cstring>

#include "platform/code_page.h"
#include "platform/locale.h"

namespace cli {
namespace {

using lookup::LookupImage;

// Looks up one UTF-8 word; false with the engine's result when nothing is found.
bool Translate(DB_HANDLE db, int32_t direction, std::uint32_t from_cp, std::uint32_t to_cp,
               const std::string& word, bool case_sensitive, bool ignore_accents,
               std::vector<std::string>* translations, const DB_RESULT** result) {
    translations->clear();
    *result = nullptr;
    bool lossy = false;
    const std::string encoded = platform::EncodeFromUtf8(from_cp, word, &lossy);
    // A word the code page cannot hold is in no list of that language.
    if (lossy || encoded.empty()) return false;
    std::vector<const char*> output(256);
    for (;;) {
        *result = DB_Translate(db, direction, encoded.c_str(), case_sensitive, ignore_accents,
                               output.data(), static_cast<int32_t>(output.size()));
        if ((*result)->status == 0) return false;
        if (static_cast<std::size_t>((*result)->count) < output.size() ||
            output.size() >= (std::size_t{1} << 24)) {
            break;
        }
        output.resize(output.size() * 4);
    }
    for (int32_t i = 0; i < (*result)->count; ++i) {
        translations->push_back(platform::DecodeToUtf8(to_cp, output[i]));
    }
    return true;
}

}  // namespace

WordTranslator::WordTranslator(const Context& c, const Arguments& args)
    : path_(args.positional[0])
    , source_(c, args.positional[0])
    , reverse_(args.Has("reverse"))
    , case_sensitive_(args.Has("case"))
    , ignore_accents_(args.Has("accents")) {}

bool WordTranslator::Start() {
    if (source_.OpenImage() &&
        source_.image().Serves(reverse_ ? 1 : 0, case_sensitive_, ignore_accents_)) {
        return true;
    }
    return source_.Load();
}

bool WordTranslator::Answer(const std::string& word, std::vector<std::string>* translations,
                            const DB_RESULT** result, bool* failed) {
    *failed = false;
    const std::uint32_t from_cp = source_.code_page(reverse_ ? 1 : 0);
    const std::uint32_t to_cp = source_.code_page(reverse_ ? 0 : 1);
    if (!source_.loaded()) {
        translations->clear();
        *result = nullptr;
        bool lossy = false;
        const std::string encoded = platform::EncodeFromUtf8(from_cp, word, &lossy);
        if (lossy || encoded.empty()) return false;
        const LookupImage::Answer answer = source_.image().Translate(
            reverse_ ? 1 : 0, encoded, case_sensitive_, ignore_accents_, &found_);
        if (answer == LookupImage::Answer::kNotFound) return false;
        if (answer == LookupImage::Answer::kFound) {
            for (const auto& t : found_) {
                translations->push_back(platform::DecodeToUtf8(to_cp, t));
            }
            return true;
        }
        // A damaged image: the dictionary answers from here on.
        if (!source_.Load()) {
            *failed = true;
            return false;
        }
        return Answer(word, translations, result, failed);
    }
    const int32_t direction =
        reverse_ ? DB_TRANS_SECONDARY_TO_PRIMARY : DB_TRANS_PRIMARY_TO_SECONDARY;
    return Translate(source_.db(), direction, from_cp, to_cp, word, case_sensitive_,
                     ignore_accents_, translations, result);
}

bool WordTranslator::ForEachWord(const std::function<void(std::string_view)>& visit) {
    if (!source_.loaded() && !source_.Load()) return false;
    const int list = reverse_ ? 1 : 0;
    const std::uint32_t cp = source_.code_page(list);
    std::vector<const char*> words(source_.word_count(list) + 1);
    const DB_RESULT* r =
        DB_List(source_.db(), reverse_ ? DB_SECONDARY_LIST : DB_PRIMARY_LIST, "*", 1, 0,
                DB_LIST_WILDCARDS, words.data(), static_cast<int32_t>(words.size()));
    if (r->status == 0) return true;
    std::string text;
    for (int32_t i = 0; i < r->count; ++i) {
        text = platform::DecodeToUtf8(cp, words[i]);
        visit(text);
    }
    return true;
}

std::string WordTranslator::SourceLocale() {
    Handle db;
    DICTIONARY_INFO info{};
    if (DB_GetDictionaryInfoA(db.get(), path_.c_str(), &info)->status == 0) return "";
    return platform::IcuLocaleName(reverse_ ? info.secondary_locale : info.primary_locale);
}

}  // namespace cli
