// wordbay-cli lookup: what the hot key does with a word met in running text:
// the word as it stands, else its base words, else suggestions (forms/).
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <iostream>
#include <istream>
#include <ostream>
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

void WriteJsonString(std::ostream& out, std::string_view text) {
    out << '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out << "\\\"";
                break;
            case '\\':
                out << "\\\\";
                break;
            case '\n':
                out << "\\n";
                break;
            case '\t':
                out << "\\t";
                break;
            default:
                if (c < 0x20) {
                    static const char kHex[] = "0123456789abcdef";
                    out << "\\u00" << kHex[c >> 4] << kHex[c & 15];
                } else {
                    out << ch;
                }
        }
    }
    out << '"';
}

void WriteJsonList(std::ostream& out, const std::vector<std::string>& list) {
    out << '[';
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) out << ',';
        WriteJsonString(out, list[i]);
    }
    out << ']';
}

// {"query", "headword", "how", "translations", "forms", "suggestions"}
void WriteJson(std::ostream& out, const forms::Answer& a) {
    out << "{\"query\":";
    WriteJsonString(out, a.query);
    out << ",\"headword\":";
    WriteJsonString(out, a.headword);
    out << ",\"how\":\"" << forms::HowName(a.how) << "\",\"translations\":";
    WriteJsonList(out, a.translations);
    out << ",\"forms\":[";
    for (std::size_t i = 0; i < a.forms.size(); ++i) {
        out << (i > 0 ? "," : "") << "{\"word\":";
        WriteJsonString(out, a.forms[i].word);
        out << ",\"translations\":";
        WriteJsonList(out, a.forms[i].translations);
        out << '}';
    }
    out << "],\"suggestions\":";
    WriteJsonList(out, a.suggestions);
    out << "}\n";
}

std::string Joined(const std::vector<std::string>& list, const char* separator) {
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) out += separator;
        out += list[i];
    }
    return out;
}

// One word: the translations one a line, each base word named on a line of
// its own before its translations; suggestions on one line.
void WritePlainWord(std::ostream& out, const forms::Answer& a) {
    if (a.how == forms::How::kForm) out << a.query << ": form of " << a.headword << '\n';
    for (const auto& t : a.translations) out << t << '\n';
    for (const auto& f : a.forms) {
        out << a.query << ": a form of " << f.word << '\n';
        for (const auto& t : f.translations) out << t << '\n';
    }
    if (a.how == forms::How::kSuggestion) {
        out << "Did you mean: " << Joined(a.suggestions, ", ") << '\n';
    }
}

// A line of standard input: its translations separated by TABs, a base word
// in brackets before its own; suggestions after "Did you mean:".
void WritePlainLine(std::ostream& out, const forms::Answer& a) {
    std::vector<std::string> fields;
    if (a.how == forms::How::kForm) fields.push_back("(" + a.headword + ")");
    fields.insert(fields.end(), a.translations.begin(), a.translations.end());
    for (const auto& f : a.forms) {
        fields.push_back("(" + f.word + ")");
        fields.insert(fields.end(), f.translations.begin(), f.translations.end());
    }
    if (a.how == forms::How::kSuggestion) {
        fields.push_back("Did you mean: " + Joined(a.suggestions, ", "));
    }
    out << Joined(fields, "\t") << '\n';
}

// The speller's stems of a list are kept beside the dictionary's image, for
// the file in one state and one list.
std::string StemsPath(const ImageOrDictionary& source, int list) {
    return source.image_path() + ".stems" + std::to_string(list);
}
std::string StemsOwner(const ImageOrDictionary& source, int list) {
    const lookup::SourceKey& k = source.key();
    return source.source() + '\n' + std::to_string(k.size) + ' ' +
           std::to_string(k.modified_seconds) + ' ' + std::to_string(k.modified_nanoseconds) + ' ' +
           std::to_string(k.crc) + '\n' + std::to_string(list);
}

// The stems kept for the list looked up from, when they belong to the file
// as it is now and to the speller installed now.
bool ReadStoredStems(WordTranslator& translator, forms::StoredStems* stems) {
    ImageOrDictionary& source = translator.source();
    const int list = translator.list();
    return source.Locate() && stems->Read(StemsPath(source, list), StemsOwner(source, list)) &&
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
    forms::WriteStoredStems(StemsPath(source, list), StemsOwner(source, list), locale, speller,
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
    const std::string lock = StemsPath(translator.source(), translator.list()) + ".lock";
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
