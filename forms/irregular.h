// Irregular forms: the inflected forms that no suffix rule and no speller
// stem leads back to their base word ("went" -> go, "mice" -> mouse,
// "better" -> good, "ging" -> gehen, "išao" -> ići).
//
// Each language has a table compiled into the program (English irregular
// verbs, plurals and comparisons; German strong and irregular verbs; the
// commonest Croatian irregulars); English adds the exception lists of an
// installed WordNet (noun.exc, verb.exc, adj.exc, adv.exc), read once.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace forms {

class IrregularForms {
public:
    IrregularForms();
    ~IrregularForms();
    IrregularForms(IrregularForms&&) noexcept;
    IrregularForms& operator=(IrregularForms&&) noexcept;

    // Records that `form` is a form of `base` (both UTF-8, lower case).
    void Add(std::string_view form, std::string_view base);
    // Reads a WordNet exception list: lines "form base [base...]", with "_"
    // for a blank. False when the file can't be read; bad lines are skipped.
    // Its forms count as added after everything added before it. The text is
    // kept and searched for the first few words asked for, and indexed only
    // when more are: a process that looks up one word does not pay for
    // indexing tens of thousands of forms.
    bool ReadExceptionList(const std::string& path);

    // The base words of `form` (lower case), in the order they were added;
    // empty when it is no irregular form. Safe from any thread.
    std::vector<std::string> BasesOf(std::string_view form) const;
    // Every form recorded, in no particular order, some perhaps twice.
    std::vector<std::string> Forms() const;

private:
    struct Lists;

    std::unordered_map<std::string, std::vector<std::string>> bases_;
    std::unique_ptr<Lists> lists_;  // the exception lists read
};

// The table of a language ("en", "de", "hr"; any other gives an empty
// table), built on first use and kept; safe from any thread. English reads
// the WordNet lists from `wordnet_dir` on that first use ("" for none).
const IrregularForms& IrregularFormsOf(std::string_view language);

// Where English looks for the WordNet lists: $WORDBAY_WORDNET_DIR when set,
// else /usr/share/wordnet.
std::string WordNetDirectory();

}  // namespace forms
