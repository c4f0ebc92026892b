// wordbay-cli lookup: what the hot key does with a word met in running text:
// the word as it stands, else its base words, else suggestions (forms/).
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <iostream>
#include <istream>
#include <string>
#include <unordered_set>
#include <vector>

#include "forms/affix_forms.h"
#include "forms/irregular.h"
#include "forms/selection.h"
#include "forms/speller.h"
#include "forms/stored_stems.h"
#include "forms/word_forms.h"
#include "platform/code_page.h"
#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"
#include "tools/commands/kept_stems.h"
#include "tools/commands/lookup_output.h"
#include "tools/commands/word_translator.h"

namespace cli {
namespace {

// The dictionary's source list as the analysis sees it.
class TranslatorLexicon : public forms::Lexicon {
public:
    explicit TranslatorLexicon(WordTranslator& translator) : translator_(translator) {}

    std::vector<std::string> Translations(std::string_view word) override {
        std::vector<std::string> translations;
        const DB_RESULT* result = nullptr;
        bool failed = false;
        if (!translator_.Answer(std::string(word), &translations, &result, &failed)) {
            failed_ = failed_ || failed;
            translations.clear();
        }
        return translations;
    }
    void ForEachWord(const std::function<void(std::string_view)>& visit) override {
        if (!translator_.ForEachWord(visit)) failed_ = true;
    }
    bool failed() const { return failed_; }

private:
    WordTranslator& translator_;
    bool failed_ = false;
};

// The stems kept for the list looked up from, when they belong to the file
// as it is now and to the speller installed now.
bool ReadStoredStems(WordTranslator& translator, forms::StoredStems* stems) {
    ImageOrDictionary& source = translator.source();
    const int list = translator.list();
    return source.Locate() &&
           stems->Read(KeptStemsPath(source.image_path(), list),
                       KeptStemsOwner(source.source(), source.key(), list)) &&
           stems->SpellerCurrent();
}

// The words of the list looked up from, in UTF-8: from the loaded
// dictionary, else from its image.
bool ListWords(WordTranslator& translator, std::vector<std::string>* words) {
    ImageOrDictionary& source = translator.source();
    if (source.loaded()) {
        return translator.ForEachWord([&](std::string_view w) { words->emplace_back(w); });
    }
    std::string texts;
    const int list = translator.list();
    if (source.image().ListTexts(list, &texts) != lookup::LookupImage::Answer::kFound) return false;
    const std::uint32_t code_page = source.code_page(list);
    std::size_t start = 0;
    for (std::size_t nul = texts.find('\0'); nul != std::string::npos;
         start = nul + 1, nul = texts.find('\0', start)) {
        words->push_back(platform::DecodeToUtf8(code_page, texts.substr(start, nul - start)));
    }
    return true;
}

// Keeps the stems `speller` gives for the list's words and their inflected
// forms, so that later look-ups of them need no speller.
void StoreStems(WordTranslator& translator, const std::string& locale, forms::Speller& speller) {
    ImageOrDictionary& source = translator.source();
    lookup::SourceKey now;
    std::vector<std::string> words;
    if (source.image_path().empty() || !lookup::ReadSourceKey(source.source(), &now) ||
        !(now == source.key()) || !ListWords(translator, &words)) {
        return;
    }
    std::unordered_set<std::string> lower;
    for (const std::string& word : words) lower.insert(forms::LowerCase(word));
    std::vector<std::string> kept = forms::AffixForms(speller.files(), [&](std::string_view stem) {
        return lower.count(forms::LowerCase(stem)) > 0;
    });
    for (std::string& word : words) {
        if (word.find(' ') != std::string::npos) continue;
        kept.push_back(forms::LowerCase(word));
        kept.push_back(std::move(word));
    }
    // The irregular forms ("went"), which the speller's data often holds as
    // words of their own.
    const std::string language = locale.substr(0, locale.find_first_of("_-@."));
    for (std::string& form : forms::IrregularFormsOf(language).Forms()) {
        kept.push_back(std::move(form));
    }
    const int list = translator.list();
    forms::WriteStoredStems(KeptStemsPath(source.image_path(), list),
                            KeptStemsOwner(source.source(), source.key(), list), locale, speller,
                            std::move(kept));
}

// Keeps the stems once the answer is out. A process of its own (its answer
// on standard output) leaves that to a child and ends at once: a large
// list's stems take seconds. The child holds nothing of the terminal or a
// pipe, and one child at a time writes a list's stems (a lock beside them).
// Called with the speller loaded, so that no thread runs when it forks.
void KeepStems(const Context& c, WordTranslator& translator, const std::string& locale) {
    if (translator.source().image_path().empty()) return;
    const std::shared_ptr<forms::Speller> speller = forms::Speller::Of(locale);
    if (!speller) return;
    if (&c.out != &std::cout) {
        StoreStems(translator, locale, *speller);
        return;
    }
    if (::fork() != 0) return;  // the answering process, or no child
    ::setsid();
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    for (int fd = 0; fd <= 2 && null >= 0; ++fd) ::dup2(null, fd);
    const std::string lock =
        KeptStemsPath(translator.source().image_path(), translator.list()) + ".lock";
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) StoreStems(translator, locale, *speller);
    ::_exit(0);
}

}  // namespace

int RunLookup(const Context& c, const Arguments& args) {
    WordTranslator translator(c, args);
    // Stems kept from an earlier run spare loading the speller; without them
    // it loads on a thread of its own while the dictionary loads.
    forms::StoredStems stored;
    const bool have_stored = ReadStoredStems(translator, &stored);
    const std::string locale = have_stored ? stored.locale() : translator.SourceLocale();
    if (!have_stored) forms::Speller::Preload(locale);
    if (!translator.Start()) return kExitFailed;
    TranslatorLexicon lexicon(translator);
    const bool json = args.Has("json");
    forms::Options options;
    options.stored_stems = have_stored ? &stored : nullptr;
    forms::SuggestionIndex index;

    if (args.positional[1] != "-") {
        // One word: the speller's suggestions join the list's, as for the
        // hot key; a batch does without them (tens of milliseconds a word).
        options.speller_suggestions = true;
        const forms::Answer a = forms::LookUp(lexicon, locale, args.positional[1], options, &index);
        if (lexicon.failed()) return kExitFailed;
        if (json) {
            WriteJson(c.out, a);
        } else {
            WritePlainWord(c.out, a);
            if (a.how == forms::How::kNone) c.err << "wordbay-cli: Translations not found.\n";
        }
        c.out << std::flush;
        translator.Finish();
        if (!have_stored) KeepStems(c, translator, locale);
        const bool found = a.how == forms::How::kExact || a.how == forms::How::kForm;
        return found ? kExitOk : kExitFailed;
    }
    std::string line;
    while (std::getline(c.in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const forms::Answer a = forms::LookUp(lexicon, locale, line, options, &index);
        if (lexicon.failed()) return kExitFailed;
        if (json) {
            WriteJson(c.out, a);
        } else {
            WritePlainLine(c.out, a);
        }
    }
    c.out << std::flush;
    translator.Finish();
    if (!have_stored) KeepStems(c, translator, locale);
    return kExitOk;
}

}  // namespace cli
