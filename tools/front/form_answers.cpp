// `lookup` of one word from the look-up image and the speller's kept stems:
// the very analysis the program with the engine runs (forms/word_analysis.h),
// over the image instead of the loaded dictionary. When the analysis asks
// for what only that program has (the speller's stems of a word not kept,
// suggestions, the list's words), or the image can't answer a word, nothing
// is printed and that program answers in full.
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "forms/stored_stems.h"
#include "forms/word_analysis.h"
#include "platform/utf8.h"
#include "tools/cli_commands.h"
#include "tools/commands/kept_stems.h"
#include "tools/commands/lookup_output.h"
#include "tools/front/image_answers.h"

namespace cli::front {
namespace {

using lookup::LookupImage;

constexpr std::uint32_t kUtf8 = 65001;

// A UTF-8 list of the image, as the analysis asks it.
class ImageLexicon : public forms::Lexicon {
public:
    ImageLexicon(LookupImage& image, int list, bool case_sensitive, bool ignore_accents)
        : image_(image)
        , list_(list)
        , case_sensitive_(case_sensitive)
        , ignore_accents_(ignore_accents) {}

    std::vector<std::string> Translations(std::string_view word) override {
        std::vector<std::string> translations;
        // A word that isn't well-formed UTF-8 is in no list.
        if (word.empty() || !platform::IsValidUtf8(word)) return translations;
        switch (image_.Translate(list_, word, case_sensitive_, ignore_accents_, &translations)) {
            case LookupImage::Answer::kFound:
                for (const std::string& t : translations) {
                    // The other program mends what isn't UTF-8 as it converts it.
                    if (!platform::IsValidUtf8(t)) cannot_ = true;
                }
                return translations;
            case LookupImage::Answer::kNotFound:
                break;
            case LookupImage::Answer::kDamaged:
                cannot_ = true;
                break;
        }
        return {};
    }
    void ForEachWord(const std::function<void(std::string_view)>&) override { cannot_ = true; }

    // True once a question needed the loaded dictionary.
    bool cannot() const { return cannot_; }

private:
    LookupImage& image_;
    const int list_;
    const bool case_sensitive_;
    const bool ignore_accents_;
    bool cannot_ = false;
};

// The speller and the suggestions are the other program's.
class NoLanguageTools : public forms::LanguageTools {
public:
    std::vector<std::string> SpellerStems(std::string_view, std::string_view) override {
        asked_ = true;
        return {};
    }
    std::vector<std::string> Suggestions(forms::Lexicon&, std::string_view, const std::string&,
                                         const forms::Options&) override {
        asked_ = true;
        return {};
    }
    bool asked() const { return asked_; }

private:
    bool asked_ = false;
};

}  // namespace

Reply AnswerLookup(const Arguments& args) {
    Reply reply;
    const std::string& word = args.positional[1];
    if (word == "-") return reply;
    const int list = args.Has("reverse") ? 1 : 0;
    const bool case_sensitive = args.Has("case");
    const bool ignore_accents = args.Has("accents");
    CurrentImage current;
    if (!OpenCurrentImage(args.positional[0], &current) ||
        !current.image.Serves(list, case_sensitive, ignore_accents) ||
        current.image.code_page(0) != kUtf8 || current.image.code_page(1) != kUtf8) {
        return reply;
    }
    forms::StoredStems stems;
    if (!stems.Read(KeptStemsPath(current.path, list),
                    KeptStemsOwner(current.source, current.key, list)) ||
        !stems.SpellerCurrent()) {
        return reply;
    }
    forms::Options options;
    options.stored_stems = &stems;
    options.speller_suggestions = true;  // as the other program asks for one word
    ImageLexicon lexicon(current.image, list, case_sensitive, ignore_accents);
    NoLanguageTools tools;
    const forms::Answer answer = forms::Analyse(lexicon, stems.locale(), word, options, tools);
    if (lexicon.cannot() || tools.asked()) return reply;
    std::ostringstream out;
    if (args.Has("json")) {
        WriteJson(out, answer);
    } else {
        WritePlainWord(out, answer);
        if (answer.how == forms::How::kNone) reply.err = "wordbay-cli: Translations not found.\n";
    }
    reply.out = out.str();
    const bool found = answer.how == forms::How::kExact || answer.how == forms::How::kForm;
    reply.status = found ? kExitOk : kExitFailed;
    reply.answered = true;
    return reply;
}

}  // namespace cli::front
