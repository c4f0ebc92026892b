#include "forms/irregular.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <sstream>

#include "forms/irregular_tables.h"
#include "platform/file_reader.h"

namespace forms {
namespace {

// Words looked up by searching the exception lists' texts before they are
// indexed.
constexpr std::size_t kSearchesBeforeIndex = 32;
constexpr std::string_view kBlanks = " \t\n\v\f\r";

// Adds `base` to `bases` of `form` as IrregularForms::Add does.
void AddBase(std::vector<std::string>* bases, std::string_view form, std::string_view base) {
    if (form.empty() || base.empty() || form == base) return;
    for (const auto& b : *bases) {
        if (b == base) return;
    }
    bases->emplace_back(base);
}

// The words of `line` into *words, split at the blanks a stream's >> skips.
void BlankSeparated(std::string_view line, std::vector<std::string_view>* words) {
    words->clear();
    std::size_t start = line.find_first_not_of(kBlanks);
    while (start != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(kBlanks, start), line.size());
        words->push_back(line.substr(start, end - start));
        start = line.find_first_not_of(kBlanks, end);
    }
}

// A word of a WordNet list, whose "_" stands for a blank.
std::string Unblanked(std::string_view word) {
    std::string out(word);
    for (char& c : out) {
        if (c == '_') c = ' ';
    }
    return out;
}

// The words of a line, each alternative ("was/were") a word of its own.
std::vector<std::vector<std::string>> LineWords(const std::string& line) {
    std::vector<std::vector<std::string>> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word) {
        std::vector<std::string> alternatives;
        std::size_t start = 0;
        for (;;) {
            const std::size_t slash = word.find('/', start);
            alternatives.push_back(word.substr(start, slash - start));
            if (slash == std::string::npos) break;
            start = slash + 1;
        }
        words.push_back(std::move(alternatives));
    }
    return words;
}

void AddTable(IrregularForms* table, const char* text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto words = LineWords(line);
        if (words.size() < 2) continue;
        for (std::size_t i = 1; i < words.size(); ++i) {
            for (const auto& form : words[i]) table->Add(form, words[0][0]);
        }
    }
}

// The personal endings of a German strong past: ging, gingst, gingen, gingt;
// a stem ending in s, ß or z takes "-est" in the second person (lasest).
void AddGermanPast(IrregularForms* table, const std::string& past, const std::string& base) {
    table->Add(past, base);
    const bool sibilant = past.back() == 's' || past.back() == 'z' ||
                          (past.size() >= 2 && past.compare(past.size() - 2, 2, "ß") == 0);
    const bool weak = past.size() > 2 && past.compare(past.size() - 2, 2, "te") == 0;
    if (weak) {
        for (const char* ending : {"st", "n", "t"}) table->Add(past + ending, base);
        return;
    }
    table->Add(past + (sibilant ? "est" : "st"), base);
    table->Add(past + "en", base);
    table->Add(past + "t", base);
    table->Add(past + "e", base);
}

void AddGermanVerbs(IrregularForms* table) {
    std::istringstream in(kGermanVerbs);
    std::string line;
    while (std::getline(in, line)) {
        const auto words = LineWords(line);
        if (words.size() < 3) continue;
        const std::string& base = words[0][0];
        for (const auto& past : words[1]) AddGermanPast(table, past, base);
        for (std::size_t i = 2; i < words.size(); ++i) {
            for (const auto& form : words[i]) table->Add(form, base);
        }
        // The participle declines as an adjective: "die gebrochenen Herzen".
        for (const auto& participle : words[2]) {
            for (const char* ending : {"e", "en", "er", "es", "em"}) {
                table->Add(participle + ending, base);
            }
        }
    }
}

IrregularForms BuildTable(std::string_view language) {
    IrregularForms table;
    if (language == "en") {
        AddTable(&table, kEnglishIrregulars);
        const std::string dir = WordNetDirectory();
        for (const char* list : {"verb", "noun", "adj", "adv"}) {
            table.ReadExceptionList(dir + "/" + list + ".exc");
        }
    } else if (language == "de") {
        AddGermanVerbs(&table);
        AddTable(&table, kGermanIrregulars);
    } else if (language == "hr") {
        AddTable(&table, kCroatianIrregulars);
    }
    return table;
}

}  // namespace

// The exception lists' texts in the order read, and their index once built.
struct IrregularForms::Lists {
    std::mutex mutex;
    std::vector<std::string> texts;
    std::size_t searches = 0;
    bool indexed = false;
    std::unordered_map<std::string, std::vector<std::string>> index;

    // Adds to *bases the bases of `form` that the lists give, in their order.
    void BasesOf(std::string_view form, std::vector<std::string>* bases);
    void Search(std::string_view form, std::vector<std::string>* bases) const;
    void Index();
};

IrregularForms::IrregularForms() = default;
IrregularForms::~IrregularForms() = default;
IrregularForms::IrregularForms(IrregularForms&&) noexcept = default;
IrregularForms& IrregularForms::operator=(IrregularForms&&) noexcept = default;

void IrregularForms::Add(std::string_view form, std::string_view base) {
    if (form.empty() || base.empty() || form == base) return;
    AddBase(&bases_[std::string(form)], form, base);
}

void IrregularForms::Lists::Index() {
    std::vector<std::string_view> fields;
    for (const std::string& text : texts) {
        std::string_view rest(text);
        while (!rest.empty()) {
            const std::size_t end = std::min(rest.find('\n'), rest.size());
            BlankSeparated(rest.substr(0, end), &fields);
            if (!fields.empty()) {
                const std::string form = Unblanked(fields[0]);
                for (std::size_t i = 1; i < fields.size(); ++i) {
                    if (!form.empty()) AddBase(&index[form], form, Unblanked(fields[i]));
                }
            }
            rest.remove_prefix(std::min(end + 1, rest.size()));
        }
    }
    indexed = true;
}

// The lines whose first word is `form`: where the text holds the form with
// "_" for its blanks, at the start of a line but for blanks, and a blank or
// the line's end after it.
void IrregularForms::Lists::Search(std::string_view form, std::vector<std::string>* bases) const {
    // A word of a list holds no blank but the ones "_" stands for, and no "_".
    if (form.empty() || form.find_first_of("_\t\n\v\f\r") != std::string_view::npos) return;
    std::string needle(form);
    for (char& c : needle) {
        if (c == ' ') c = '_';
    }
    std::vector<std::string_view> fields;
    for (const std::string& text : texts) {
        const std::string_view all(text);
        std::size_t at = 0;
        while ((at = all.find(needle, at)) != std::string_view::npos) {
            const std::size_t start =
                all.rfind('\n', at) == std::string_view::npos ? 0 : all.rfind('\n', at) + 1;
            const std::size_t after = at + needle.size();
            const bool first =
                all.substr(start, at - start).find_first_not_of(kBlanks) == std::string_view::npos;
            const bool whole =
                after == all.size() || kBlanks.find(all[after]) != std::string_view::npos;
            if (first && whole) {
                const std::size_t end = std::min(all.find('\n', after), all.size());
                BlankSeparated(all.substr(start, end - start), &fields);
                for (std::size_t i = 1; i < fields.size(); ++i) {
                    AddBase(bases, form, Unblanked(fields[i]));
                }
            }
            ++at;
        }
    }
}

void IrregularForms::Lists::BasesOf(std::string_view form, std::vector<std::string>* bases) {
    std::lock_guard lock(mutex);
    if (!indexed && ++searches > kSearchesBeforeIndex) Index();
    if (!indexed) {
        Search(form, bases);
        return;
    }
    const auto it = index.find(std::string(form));
    if (it == index.end()) return;
    for (const std::string& base : it->second) AddBase(bases, form, base);
}

bool IrregularForms::ReadExceptionList(const std::string& path) {
    // The lists are a few tens of kilobytes; a file far beyond that, or a
    // pipe in its place, is not one.
    std::string data;
    if (platform::ReadRegularFile(path.c_str(), 16 << 20, &data) != platform::ReadOutcome::kRead) {
        return false;
    }
    if (!lists_) lists_ = std::make_unique<Lists>();
    std::lock_guard lock(lists_->mutex);
    lists_->texts.push_back(std::move(data));
    if (lists_->indexed) lists_->Index();
    return true;
}

std::vector<std::string> IrregularForms::BasesOf(std::string_view form) const {
    const auto it = bases_.find(std::string(form));
    std::vector<std::string> bases;
    if (it != bases_.end()) bases = it->second;
    if (lists_) lists_->BasesOf(form, &bases);
    return bases;
}

std::vector<std::string> IrregularForms::Forms() const {
    std::vector<std::string> out;
    out.reserve(bases_.size());
    for (const auto& entry : bases_) out.push_back(entry.first);
    if (lists_) {
        std::lock_guard lock(lists_->mutex);
        if (!lists_->indexed) lists_->Index();
        for (const auto& entry : lists_->index) out.push_back(entry.first);
    }
    return out;
}

const IrregularForms& IrregularFormsOf(std::string_view language) {
    static std::mutex mutex;
    // Kept to the end of the process and never destroyed: taking tens of
    // thousands of strings apart at exit only delays it.
    static auto& tables = *new std::unordered_map<std::string, IrregularForms>;
    std::lock_guard lock(mutex);
    const std::string key(language);
    auto it = tables.find(key);
    if (it == tables.end()) it = tables.emplace(key, BuildTable(language)).first;
    // Entries of an unordered_map keep their address while others are added.
    return it->second;
}

std::string WordNetDirectory() {
    const char* dir = std::getenv("WORDBAY_WORDNET_DIR");
    return dir != nullptr ? dir : "/usr/share/wordnet";
}

}  // namespace forms
