// wordbay-cli translate: the translations of a word, or of each line of
// standard input, answered from the look-up image where it can.
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"
#include "tools/commands/image_or_dictionary.h"

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

// Answers exact look-ups from the dictionary's look-up image while it holds
// up, and from the loaded dictionary otherwise.
class Translator {
public:
    Translator(const Context& c, const Arguments& args)
        : source_(c, args.positional[0])
        , reverse_(args.Has("reverse"))
        , case_sensitive_(args.Has("case"))
        , ignore_accents_(args.Has("accents")) {}

    // Opens the image or loads the dictionary; false after a failed load.
    bool Start() {
        if (case_sensitive_ && !ignore_accents_ && source_.OpenImage()) return true;
        return source_.Load();
    }

    // Looks up one UTF-8 word; false with the engine's result (or none) when
    // nothing is found, or when the dictionary could not be loaded (`failed`).
    bool Answer(const std::string& word, std::vector<std::string>* translations,
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
            const LookupImage::Answer answer =
                source_.image().Translate(reverse_ ? 1 : 0, encoded, &found_);
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

    void Finish() { source_.WriteImage(); }

private:
    ImageOrDictionary source_;
    const bool reverse_;
    const bool case_sensitive_;
    const bool ignore_accents_;
    std::vector<std::string> found_;
};

}  // namespace

int RunTranslate(const Context& c, const Arguments& args) {
    Translator translator(c, args);
    if (!translator.Start()) return kExitFailed;
    std::vector<std::string> translations;
    const DB_RESULT* result = nullptr;
    bool failed = false;

    if (args.positional[1] != "-") {
        if (!translator.Answer(args.positional[1], &translations, &result, &failed)) {
            if (failed) return kExitFailed;
            c.err << "wordbay-cli: "
                  << (result != nullptr ? result->message : "Translations not found.") << '\n';
            translator.Finish();
            return kExitFailed;
        }
        for (const auto& t : translations) c.out << t << '\n';
        c.out << std::flush;
        translator.Finish();
        return kExitOk;
    }
    std::string line;
    while (std::getline(c.in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && translator.Answer(line, &translations, &result, &failed)) {
            for (std::size_t i = 0; i < translations.size(); ++i) {
                c.out << (i == 0 ? "" : "\t") << translations[i];
            }
        }
        if (failed) return kExitFailed;
        c.out << '\n';
    }
    c.out << std::flush;
    translator.Finish();
    return kExitOk;
}

}  // namespace cli
