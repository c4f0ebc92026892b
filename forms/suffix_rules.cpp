#include "forms/suffix_rules.h"

#include <algorithm>
#include <cctype>
#include <span>

namespace forms {
namespace {

struct Rule {
    const char* strip;  // the ending taken off
    const char* add;    // what the base ends with instead
};

// clang-format off
constexpr Rule kEnglish[] = {
    {"ies", "y"}, {"ied", "y"}, {"ier", "y"}, {"iest", "y"}, {"ily", "y"}, {"ying", "ie"},
    {"sses", "ss"}, {"shes", "sh"}, {"ches", "ch"}, {"xes", "x"}, {"zes", "z"}, {"oes", "o"},
    {"ves", "f"}, {"ves", "fe"}, {"es", "e"}, {"es", ""}, {"s", ""},
    {"ed", ""}, {"ed", "e"}, {"ing", ""}, {"ing", "e"},
    {"er", ""}, {"er", "e"}, {"est", ""}, {"est", "e"}, {"ly", ""}, {"n't", ""},
};

constexpr Rule kGerman[] = {
    // Nouns and adjectives.
    {"innen", "in"}, {"nen", ""}, {"ern", ""}, {"en", ""}, {"er", ""}, {"es", ""},
    {"em", ""}, {"e", ""}, {"n", ""}, {"s", ""},
    // Comparison.
    {"eren", ""}, {"erem", ""}, {"erer", ""}, {"eres", ""}, {"ere", ""},
    {"esten", ""}, {"estem", ""}, {"ester", ""}, {"estes", ""}, {"este", ""},
    {"sten", ""}, {"stem", ""}, {"ster", ""}, {"stes", ""}, {"ste", ""}, {"st", ""},
    // Verbs: present and the weak past, back to the infinitive.
    {"e", "en"}, {"st", "en"}, {"t", "en"}, {"et", "en"}, {"est", "en"}, {"t", "n"},
    {"te", "en"}, {"test", "en"}, {"ten", "en"}, {"tet", "en"},
    {"ete", "en"}, {"etest", "en"}, {"eten", "en"}, {"etet", "en"},
};

constexpr Rule kCroatian[] = {
    // Nouns: masculine, feminine (base in -a), neuter (base in -o, -e).
    {"ovima", ""}, {"evima", ""}, {"ovi", ""}, {"evi", ""}, {"ova", ""}, {"eva", ""},
    {"ove", ""}, {"eve", ""}, {"ima", ""}, {"om", ""}, {"em", ""}, {"a", ""}, {"u", ""},
    {"e", ""}, {"i", ""},
    {"ama", "a"}, {"om", "a"}, {"e", "a"}, {"i", "a"}, {"u", "a"}, {"oj", "a"},
    {"ima", "o"}, {"a", "o"}, {"u", "o"}, {"om", "o"}, {"a", "e"}, {"u", "e"}, {"em", "e"},
    // Adjectives, back to the masculine.
    {"oga", ""}, {"ome", ""}, {"omu", ""}, {"og", ""}, {"im", ""}, {"ih", ""}, {"oj", ""},
    {"o", ""}, {"og", "i"}, {"oga", "i"}, {"om", "i"}, {"ome", "i"}, {"im", "i"},
    {"ih", "i"}, {"ima", "i"}, {"a", "i"}, {"e", "i"}, {"o", "i"}, {"u", "i"}, {"oj", "i"},
    // Verbs: present and the past participle, back to the infinitive.
    {"im", "iti"}, {"iš", "iti"}, {"i", "iti"}, {"imo", "iti"}, {"ite", "iti"}, {"e", "iti"},
    {"am", "ati"}, {"aš", "ati"}, {"a", "ati"}, {"amo", "ati"}, {"ate", "ati"}, {"aju", "ati"},
    {"em", "jeti"}, {"i", "jeti"}, {"im", "jeti"}, {"e", "ati"}, {"u", "ati"},
    {"io", "iti"}, {"ila", "iti"}, {"ilo", "iti"}, {"ili", "iti"}, {"ile", "iti"},
    {"ao", "ati"}, {"ala", "ati"}, {"alo", "ati"}, {"ali", "ati"}, {"ale", "ati"},
    {"io", "jeti"}, {"jela", "jeti"}, {"jelo", "jeti"}, {"jeli", "jeti"}, {"jele", "jeti"},
    {"uje", "ovati"}, {"ujem", "ovati"}, {"uju", "ovati"}, {"ujemo", "ovati"},
    {"ujete", "ovati"},
};

constexpr Rule kEnglishPlurals[] = {
    {"ies", "y"}, {"sses", "ss"}, {"shes", "sh"}, {"ches", "ch"}, {"xes", "x"}, {"ves", "f"},
    {"ves", "fe"}, {"s", ""},
};

constexpr Rule kGermanPlurals[] = {
    {"en", ""}, {"n", ""}, {"e", ""}, {"er", ""}, {"s", ""},
};

constexpr Rule kOther[] = {
    {"es", ""}, {"s", ""}, {"x", ""},
};
// clang-format on

// A base keeps at least two bytes before what the rule adds.
constexpr std::size_t kMinStem = 2;

bool EndsWith(std::string_view word, std::string_view ending) {
    return word.size() >= ending.size() &&
           word.compare(word.size() - ending.size(), ending.size(), ending) == 0;
}

class Candidates {
public:
    explicit Candidates(std::string_view word) : word_(word) {}
    void Add(std::string candidate) {
        if (candidate.empty() || candidate == word_) return;
        if (std::find(list_.begin(), list_.end(), candidate) != list_.end()) return;
        list_.push_back(std::move(candidate));
    }
    std::vector<std::string> Take() { return std::move(list_); }

private:
    std::string_view word_;
    std::vector<std::string> list_;
};

void ApplyRules(std::span<const Rule> rules, std::string_view word, Candidates* out,
                void (*also)(const std::string&, Candidates*) = nullptr) {
    for (const Rule& rule : rules) {
        const std::string_view strip = rule.strip;
        if (!EndsWith(word, strip) || word.size() < strip.size() + kMinStem) continue;
        const std::string stem(word.substr(0, word.size() - strip.size()));
        out->Add(stem + rule.add);
        if (also != nullptr) also(stem + rule.add, out);
    }
}

bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

// "stopped" -> stopp -> stop: a consonant doubled before an ending.
void Undouble(const std::string& stem, Candidates* out) {
    const std::size_t n = stem.size();
    if (n >= 3 && stem[n - 1] == stem[n - 2] && !IsVowel(stem[n - 1]) &&
        static_cast<unsigned char>(stem[n - 1]) < 0x80) {
        out->Add(stem.substr(0, n - 1));
    }
}

// "häuser" -> häus -> haus: the umlaut of a plural or a comparison undone
// (the last one of the word).
void Unumlaut(const std::string& stem, Candidates* out) {
    static const std::pair<const char*, const char*> kPairs[] = {
        {"äu", "au"}, {"ä", "a"}, {"ö", "o"}, {"ü", "u"}};
    std::size_t best = std::string::npos;
    const std::pair<const char*, const char*>* chosen = nullptr;
    for (const auto& pair : kPairs) {
        const std::size_t at = stem.rfind(pair.first);
        if (at != std::string::npos && (best == std::string::npos || at > best)) {
            best = at;
            chosen = &pair;
        }
    }
    if (chosen == nullptr) return;
    std::string plain = stem;
    plain.replace(best, std::string_view(chosen->first).size(), chosen->second);
    out->Add(plain);
}

// "dobr" -> dobar, "star" stays: Croatian drops the a of a last syllable
// before an ending ("dobroj", "psa").
void FleetingA(const std::string& stem, Candidates* out) {
    const std::size_t n = stem.size();
    if (n < 3) return;
    const char last = stem[n - 1];
    const char before = stem[n - 2];
    const auto consonant = [](char c) {
        return static_cast<unsigned char>(c) < 0x80 &&
               std::isalpha(static_cast<unsigned char>(c)) && !IsVowel(c) && c != 'r';
    };
    if ((last == 'r' || last == 'l' || last == 'n' || last == 'k' || last == 'c') &&
        consonant(before)) {
        out->Add(stem.substr(0, n - 1) + "a" + stem.substr(n - 1));
    }
}

bool HasUmlaut(std::string_view word) {
    for (const char* u : {"ä", "ö", "ü"}) {
        if (word.find(u) != std::string_view::npos) return true;
    }
    return false;
}

// Participles: "gemacht" -> machen, "gearbeitet" -> arbeiten, "aufgemacht" ->
// aufmachen; and "aufzumachen" -> aufmachen.
void GermanParticiple(std::string_view word, Candidates* out) {
    for (std::size_t at = word.find("ge"); at != std::string_view::npos;
         at = word.find("ge", at + 1)) {
        if (at > 6) break;
        const std::string prefix(word.substr(0, at));
        std::string_view rest = word.substr(at + 2);
        for (const char* ending : {"et", "t", "en"}) {
            if (EndsWith(rest, ending) && rest.size() > std::string_view(ending).size() + 1) {
                const std::string stem(
                    rest.substr(0, rest.size() - std::string_view(ending).size()));
                out->Add(prefix + stem + "en");
                out->Add(prefix + stem + "n");
            }
        }
    }
    const std::size_t zu = word.find("zu");
    if (zu != std::string_view::npos && zu >= 2 && zu <= 6 && EndsWith(word, "en")) {
        out->Add(std::string(word.substr(0, zu)) + std::string(word.substr(zu + 2)));
    }
}

}  // namespace

std::vector<std::string> SuffixCandidates(std::string_view language, std::string_view word) {
    Candidates out(word);
    if (language == "en") {
        ApplyRules(kEnglish, word, &out);
        // The doubled consonant only after the endings that double it.
        for (const char* ending : {"ed", "ing", "er", "est"}) {
            if (EndsWith(word, ending)) {
                Undouble(std::string(word.substr(0, word.size() - std::string_view(ending).size())),
                         &out);
            }
        }
    } else if (language == "de") {
        GermanParticiple(word, &out);
        ApplyRules(kGerman, word, &out, Unumlaut);
        Unumlaut(std::string(word), &out);
    } else if (language == "hr") {
        ApplyRules(kCroatian, word, &out, FleetingA);
    } else {
        ApplyRules(kOther, word, &out);
    }
    return out.Take();
}

}  // namespace forms

namespace forms {

std::vector<std::string> WholeWordCandidates(std::string_view language, std::string_view word,
                                             bool noun) {
    Candidates out(word);
    if (language == "en") {
        // Not after a double s or an -us, -is: "glass", "status", "axis".
        if (!EndsWith(word, "ss") && !EndsWith(word, "us") && !EndsWith(word, "is")) {
            ApplyRules(kEnglishPlurals, word, &out);
        }
    } else if (language == "de") {
        GermanParticiple(word, &out);
        if (noun) ApplyRules(kGermanPlurals, word, &out);
        Candidates umlauted(word);
        ApplyRules(kGerman, word, &umlauted, Unumlaut);
        Unumlaut(std::string(word), &umlauted);
        // Only those whose umlaut was undone: the plain endings cut too much.
        if (HasUmlaut(word)) {
            for (std::string& c : umlauted.Take()) {
                if (!HasUmlaut(c)) out.Add(std::move(c));
            }
        }
    }
    return out.Take();
}

}  // namespace forms
