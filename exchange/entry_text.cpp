#include "exchange/entry_text.h"

#include <set>
#include <utility>

namespace exchange {
namespace {

bool StartsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Removes <tags> and [labels] whose closing bracket is on the line; a lone
// bracket stays as an ordinary character. A tag or label, and a TAB, leave a
// space.
std::string StripTags(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t mark = i;
        while (mark < text.size() && text[mark] != '<' && text[mark] != '[' && text[mark] != '\t') {
            ++mark;
        }
        if (mark == text.size()) mark = std::string_view::npos;
        out.append(text.substr(i, mark == std::string_view::npos ? mark : mark - i));
        if (mark == std::string_view::npos) break;
        const char c = text[mark];
        i = mark + 1;
        if (c != '\t') {
            const auto close = text.find(c == '<' ? '>' : ']', mark + 1);
            if (close == std::string_view::npos) {
                out += c;
                continue;
            }
            i = close + 1;
        }
        out += ' ';
    }
    return out;
}

// Trims and turns runs of spaces into one space.
std::string Tidy(std::string_view text) {
    text = Trim(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t space = text.find(' ', i);
        if (space == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, space + 1 - i));
        i = text.find_first_not_of(' ', space);
    }
    return out;
}

// Skips a sense number such as "1." or "12)" followed by a space.
std::string_view SkipSenseNumber(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
    if (i == 0 || i + 1 >= line.size() || i > 3) return line;
    if ((line[i] == '.' || line[i] == ')') && line[i + 1] == ' ') return Trim(line.substr(i + 2));
    return line;
}

bool IsNonTranslationLine(std::string_view line) {
    static constexpr std::string_view kPrefixes[] = {"Note:", "Synonym:", "Synonyms:", "see:",
                                                     "See:",  "Antonym:", "Antonyms:", "\"",
                                                     "{",     "Usage:",   "Example:"};
    // Most lines begin with no prefix's first letter.
    if (!line.empty() &&
        std::string_view("NSsAU\"{E").find(line.front()) != std::string_view::npos) {
        for (const auto prefix : kPrefixes) {
            if (StartsWith(line, prefix)) return true;
        }
    }
    // A line that is one parenthesised group is a grammatical label, such as
    // "(noun (common) (futsuumeishi))" or "1. (Ichidan verb)" before the
    // senses of Japanese entries.
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits > 0 && digits < line.size() && line[digits] == '.') {
        line = Trim(line.substr(digits + 1));
    }
    if (line.empty() || line.front() != '(') return false;
    int depth = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '(') ++depth;
        if (line[i] == ')' && --depth == 0) return i + 1 == line.size();
    }
    return false;
}

// Keeps the translations of one entry once each: looked for among the
// entry's own pairs, through a set once they are many.
class EntryTranslations {
public:
    explicit EntryTranslations(std::vector<TranslationPair>* pairs)
        : pairs_(pairs), first_(pairs->size()) {}

    void Add(const std::string& headword, std::string translation) {
        if (!Seen(translation)) pairs_->push_back({headword, std::move(translation)});
    }

    // Adds the translations of the lines of `text` that hold senses.
    void AddSenses(const std::string& headword, std::string_view text) {
        while (!text.empty()) {
            const auto end = text.find('\n');
            const std::string_view line = Trim(text.substr(0, end));
            text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
            if (line.empty() || IsNonTranslationLine(line)) continue;
            for (auto& translation : SplitTranslations(line)) Add(headword, std::move(translation));
        }
    }

private:
    bool Seen(const std::string& translation) {
        constexpr std::size_t kFew = 32;
        if (pairs_->size() - first_ < kFew) {
            for (std::size_t i = first_; i < pairs_->size(); ++i) {
                if ((*pairs_)[i].translation == translation) return true;
            }
            return false;
        }
        if (many_.empty()) {
            for (std::size_t i = first_; i < pairs_->size(); ++i) {
                many_.insert((*pairs_)[i].translation);
            }
        }
        return !many_.insert(translation).second;
    }

    std::vector<TranslationPair>* pairs_;
    std::size_t first_;
    std::set<std::string> many_;
};

// Whether `text` reads back as `translations`.
bool ReadsBackAs(const std::string& text, const std::vector<std::string>& translations) {
    std::vector<TranslationPair> pairs;
    AppendSensePairs("x", text, &pairs);
    if (pairs.size() != translations.size()) return false;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i].translation != translations[i]) return false;
    }
    return true;
}

}  // namespace

std::string ParseHeadword(std::string_view line) {
    // The pronunciation is " /.../": the first " /" with a closing slash after it.
    const auto open = line.find(" /");
    if (open != std::string_view::npos && line.find('/', open + 2) != std::string_view::npos) {
        line = line.substr(0, open);
    }
    return Tidy(StripTags(line));
}

std::vector<std::string> SplitTranslations(std::string_view line) {
    const std::string text = StripTags(SkipSenseNumber(Trim(line)));
    std::vector<std::string> out;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ',';
        if (c == '(') ++depth;
        if (c == ')' && depth > 0) --depth;
        // A comma between digits is a decimal comma ("0,42"), not a separator.
        const bool decimal = c == ',' && i > 0 && i + 1 < text.size() && IsDigit(text[i - 1]) &&
                             IsDigit(text[i + 1]);
        if ((c == ',' || c == ';') && !decimal && (depth == 0 || i == text.size())) {
            std::string piece = Tidy(std::string_view(text).substr(start, i - start));
            if (!piece.empty()) out.push_back(std::move(piece));
            start = i + 1;
        }
    }
    return out;
}

std::string_view FirstLine(std::string_view text, std::string_view* rest) {
    std::string_view line;
    while (!text.empty() && line.empty()) {
        const auto end = text.find('\n');
        line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    if (rest != nullptr) *rest = text;
    return line;
}

std::string_view TrimBlanks(std::string_view text) { return Trim(text); }

void AppendEntryPairs(std::string_view entry, std::vector<TranslationPair>* pairs) {
    // The first line that holds anything is the headword line.
    std::string_view senses;
    const std::string headword = ParseHeadword(FirstLine(entry, &senses));
    if (headword.empty()) return;
    EntryTranslations(pairs).AddSenses(headword, senses);
}

void AppendSensePairs(std::string_view headword, std::string_view senses,
                      std::vector<TranslationPair>* pairs) {
    if (headword.empty()) return;
    EntryTranslations(pairs).AddSenses(std::string(headword), senses);
}

std::vector<TranslationPair> ParseEntry(std::string_view entry) {
    std::vector<TranslationPair> pairs;
    AppendEntryPairs(entry, &pairs);
    return pairs;
}

std::string SenseText(const std::vector<std::string>& translations, bool* exact) {
    // A line break would make two lines of one translation.
    const auto one_line = [](std::string text) {
        for (char& c : text) {
            if (c == '\n' || c == '\r') c = ' ';
        }
        return text;
    };
    std::string joined;
    for (const std::string& translation : translations) {
        if (!joined.empty()) joined += ", ";
        joined += one_line(translation);
    }
    bool reads_back = ReadsBackAs(joined, translations);
    if (!reads_back) {
        // One translation a line keeps one with an unclosed parenthesis
        // from swallowing the ones after it.
        std::string lines;
        for (const std::string& translation : translations) {
            if (!lines.empty()) lines += '\n';
            lines += one_line(translation);
        }
        reads_back = ReadsBackAs(lines, translations);
        if (reads_back) joined = std::move(lines);
    }
    if (exact != nullptr) *exact = reads_back;
    return joined;
}

}  // namespace exchange
