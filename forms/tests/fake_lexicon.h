// A word list held in a table, for the tests of the analysis: each word
// with its translations, looked up without regard to case as the default
// switches do.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "forms/lexicon.h"
#include "forms/selection.h"

namespace forms {

class FakeLexicon : public Lexicon {
public:
    FakeLexicon(std::initializer_list<std::pair<const char*, std::vector<std::string>>> entries) {
        for (const auto& [word, translations] : entries) Add(word, translations);
    }
    void Add(const std::string& word, std::vector<std::string> translations) {
        words_.emplace_back(word, std::move(translations));
    }
    std::vector<std::string> Translations(std::string_view word) override {
        ++lookups;
        std::vector<std::string> out;
        const std::string folded = LowerCase(word);
        for (const auto& [w, t] : words_) {
            if (LowerCase(w) == folded) out.insert(out.end(), t.begin(), t.end());
        }
        return out;
    }
    void ForEachWord(const std::function<void(std::string_view)>& visit) override {
        for (const auto& entry : words_) visit(entry.first);
    }
    int lookups = 0;

private:
    std::vector<std::pair<std::string, std::vector<std::string>>> words_;
};

}  // namespace forms
