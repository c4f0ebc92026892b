#include "forms/affix_forms.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>

#include "platform/file_reader.h"

namespace forms {
namespace {

// Debian's largest dictionaries are a few megabytes (as the speller's bounds).
constexpr std::size_t kMaxAffBytes = 32 << 20;
constexpr std::size_t kMaxDicBytes = 256 << 20;

enum class FlagMode { kByte, kLong, kNumber, kUtf8 };

// One element of a rule's condition: any character, or one of (or none of) a set.
struct CondChar {
    bool any = true;
    bool negated = false;
    std::u32string set;
};

struct Rule {
    std::string strip;
    std::string add;
    std::vector<CondChar> condition;
};

struct AffixClass {
    bool suffix = true;
    bool cross = false;
    std::vector<Rule> rules;
};

struct Affixes {
    FlagMode mode = FlagMode::kByte;
    bool alias_count_read = false;              // the first AF line, a count
    std::vector<std::string> aliases;           // the other AF lines, numbered from 1
    std::map<std::string, AffixClass> by_flag;  // SFX and PFX classes
};

std::u32string Chars(std::string_view text) {
    std::u32string out;
    std::int32_t i = 0;
    const auto n = static_cast<std::int32_t>(text.size());
    while (i < n) {
        UChar32 c = 0;
        U8_NEXT(text.data(), i, n, c);
        out.push_back(c < 0 ? 0xFFFD : static_cast<char32_t>(c));
    }
    return out;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    std::string field;
    while (in >> field) out.push_back(field);
    return out;
}

std::vector<std::string> SplitFlags(std::string_view text, FlagMode mode) {
    std::vector<std::string> out;
    if (mode == FlagMode::kNumber) {
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t comma = std::min(text.find(',', start), text.size());
            if (comma > start) out.emplace_back(text.substr(start, comma - start));
            start = comma + 1;
        }
        return out;
    }
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t length = mode == FlagMode::kLong ? 2 : 1;
        if (mode == FlagMode::kUtf8) {
            const auto lead = static_cast<unsigned char>(text[i]);
            length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        }
        out.emplace_back(text.substr(i, length));
        i += length;
    }
    return out;
}

std::vector<CondChar> ParseCondition(std::string_view text) {
    std::vector<CondChar> out;
    if (text == ".") return out;
    const std::u32string chars = Chars(text);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        CondChar c;
        if (chars[i] == U'[') {
            c.any = false;
            ++i;
            if (i < chars.size() && chars[i] == U'^') {
                c.negated = true;
                ++i;
            }
            while (i < chars.size() && chars[i] != U']') c.set.push_back(chars[i++]);
        } else if (chars[i] != U'.') {
            c.any = false;
            c.set.push_back(chars[i]);
        }
        out.push_back(std::move(c));
    }
    return out;
}

bool Matches(const CondChar& c, char32_t ch) {
    if (c.any) return true;
    return (c.set.find(ch) != std::u32string::npos) != c.negated;
}

// Whether the condition holds at the end (a suffix) or the start of `word`.
bool ConditionHolds(const std::vector<CondChar>& condition, const std::u32string& word,
                    bool suffix) {
    if (condition.size() > word.size()) return false;
    const std::size_t start = suffix ? word.size() - condition.size() : 0;
    for (std::size_t i = 0; i < condition.size(); ++i) {
        if (!Matches(condition[i], word[start + i])) return false;
    }
    return true;
}

// A rule's stripped text or text added: "0" for none, and the continuation
// flags after a slash left out.
std::string AffixText(const std::string& field) {
    std::string text = field.substr(0, field.find('/'));
    return text == "0" ? std::string() : text;
}

void ReadAffLine(const std::vector<std::string>& f, Affixes* affixes, bool* utf8) {
    if (f[0] == "SET" && f.size() > 1) {
        *utf8 = f[1] == "UTF-8" || f[1] == "utf-8";
    } else if (f[0] == "FLAG" && f.size() > 1) {
        if (f[1] == "long") affixes->mode = FlagMode::kLong;
        if (f[1] == "num") affixes->mode = FlagMode::kNumber;
        if (f[1] == "UTF-8") affixes->mode = FlagMode::kUtf8;
    } else if (f[0] == "AF" && f.size() > 1) {
        if (affixes->alias_count_read) {
            affixes->aliases.push_back(f[1]);
        } else {
            affixes->alias_count_read = true;
        }
    } else if ((f[0] == "SFX" || f[0] == "PFX") && f.size() >= 4) {
        const bool header = !affixes->by_flag.count(f[1]);
        AffixClass& c = affixes->by_flag[f[1]];
        if (header) {
            c.suffix = f[0] == "SFX";
            c.cross = f[2] == "Y";
            return;
        }
        c.rules.push_back({AffixText(f[2]), AffixText(f[3]),
                           ParseCondition(f.size() > 4 ? f[4] : std::string("."))});
    }
}

bool ReadAffixes(const std::string& path, Affixes* affixes) {
    std::string text;
    if (platform::ReadRegularFile(path.c_str(), kMaxAffBytes, &text) !=
        platform::ReadOutcome::kRead) {
        return false;
    }
    bool utf8 = false;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = Fields(line);
        if (!f.empty()) ReadAffLine(f, affixes, &utf8);
    }
    return utf8;
}

// Applies `rule` of class `c` to `word` (`chars`: its characters); false
// when it does not apply.
bool Apply(const AffixClass& c, const Rule& rule, const std::string& word,
           const std::u32string& chars, std::string* out) {
    if (!ConditionHolds(rule.condition, chars, c.suffix) || rule.strip.size() >= word.size()) {
        return false;
    }
    if (c.suffix) {
        if (word.compare(word.size() - rule.strip.size(), rule.strip.size(), rule.strip) != 0) {
            return false;
        }
        *out = word.substr(0, word.size() - rule.strip.size()) + rule.add;
    } else {
        if (word.compare(0, rule.strip.size(), rule.strip) != 0) return false;
        *out = rule.add + word.substr(rule.strip.size());
    }
    return true;
}

void Expand(const Affixes& affixes, const std::string& word, const std::vector<std::string>& flags,
            std::vector<std::string>* out) {
    out->push_back(word);
    const std::u32string chars = Chars(word);
    std::vector<const AffixClass*> prefixes;
    for (const std::string& flag : flags) {
        const auto it = affixes.by_flag.find(flag);
        if (it != affixes.by_flag.end() && !it->second.suffix) prefixes.push_back(&it->second);
    }
    std::string form;
    for (const std::string& flag : flags) {
        const auto it = affixes.by_flag.find(flag);
        if (it == affixes.by_flag.end()) continue;
        const AffixClass& c = it->second;
        for (const Rule& rule : c.rules) {
            if (!Apply(c, rule, word, chars, &form)) continue;
            out->push_back(form);
            if (!c.suffix || !c.cross) continue;
            const std::u32string suffixed = Chars(form);
            std::string both;
            for (const AffixClass* p : prefixes) {
                if (!p->cross) continue;
                for (const Rule& prefix : p->rules) {
                    if (Apply(*p, prefix, form, suffixed, &both)) out->push_back(both);
                }
            }
        }
    }
}

}  // namespace

std::vector<std::string> AffixForms(const SpellerFiles& files,
                                    const std::function<bool(std::string_view)>& wanted) {
    Affixes affixes;
    std::string dic;
    if (!ReadAffixes(files.aff, &affixes) ||
        platform::ReadRegularFile(files.dic.c_str(), kMaxDicBytes, &dic) !=
            platform::ReadOutcome::kRead) {
        return {};
    }
    std::vector<std::string> out;
    std::istringstream in(dic);
    std::string line;
    std::getline(in, line);  // the count of stems
    while (std::getline(in, line)) {
        // A line that begins with a blank is a comment.
        if (line.empty() || line[0] == '\t' || line[0] == ' ') continue;
        if (line.back() == '\r') line.pop_back();
        std::size_t slash = 0;
        while ((slash = line.find('/', slash)) != std::string::npos && slash > 0 &&
               line[slash - 1] == '\\') {
            ++slash;
        }
        const std::size_t end = std::min(line.find_first_of(" \t"), line.size());
        const std::size_t word_end = std::min(slash, end);
        if (word_end == 0) continue;
        const std::string word = line.substr(0, word_end);
        if (!wanted(word)) continue;
        std::string flag_text = slash < end ? line.substr(slash + 1, end - slash - 1) : "";
        if (!affixes.aliases.empty() && !flag_text.empty() &&
            flag_text.find_first_not_of("0123456789") == std::string::npos) {
            const unsigned long n = std::strtoul(flag_text.c_str(), nullptr, 10);
            flag_text = n >= 1 && n <= affixes.aliases.size() ? affixes.aliases[n - 1] : "";
        }
        Expand(affixes, word, SplitFlags(flag_text, affixes.mode), &out);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace forms
