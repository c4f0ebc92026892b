#include "forms/word_forms.h"

#include <gtest/gtest.h>

#include <chrono>

#include "forms/speller.h"
#include "forms/tests/fake_lexicon.h"

namespace forms {
namespace {

// Rules and tables alone: the tests must not depend on what spellers the
// machine has installed.
Options NoSpeller() {
    Options o;
    o.speller = false;
    return o;
}

FakeLexicon English() {
    return FakeLexicon{{"walk", {"hodati"}},   {"house", {"kuća"}},  {"go", {"ići"}},
                       {"mouse", {"miš"}},     {"good", {"dobar"}},  {"speak", {"govoriti"}},
                       {"spoke", {"žbica"}},   {"what", {"što"}},    {"try", {"pokušati"}},
                       {"stop", {"stati"}},    {"leave", {"otići"}}, {"left", {"lijevo"}},
                       {"piece", {"komad"}},   {"take", {"uzeti"}},  {"number", {"broj"}},
                       {"city", {"grad"}},     {"box", {"kutija"}},  {"knife", {"nož"}},
                       {"make", {"napraviti"}}};
}

TEST(WordFormsTest, InflectedEnglishFormsLandOnTheirBaseWord) {
    FakeLexicon lexicon = English();
    const std::pair<const char*, const char*> cases[] = {
        {"walked", "walk"},     {"walking", "walk"}, {"houses", "house"}, {"went", "go"},
        {"mice", "mouse"},      {"better", "good"},  {"tried", "try"},    {"stopped", "stop"},
        {"pieces", "piece"},    {"took", "take"},    {"cities", "city"},  {"boxes", "box"},
        {"knives", "knife"},    {"making", "make"},  {"What's", "what"},  {"Houses.", "house"},
        {"hou-\nses", "house"},
    };
    for (const auto& [form, base] : cases) {
        SCOPED_TRACE(form);
        const Answer a = LookUp(lexicon, "en_US", form, NoSpeller(), nullptr);
        EXPECT_EQ(a.how, How::kForm);
        EXPECT_EQ(LowerCase(a.headword), base);
        EXPECT_FALSE(a.translations.empty());
    }
}

TEST(WordFormsTest, AnExactHitThatIsAlsoAFormOffersBoth) {
    FakeLexicon lexicon = English();
    Answer a = LookUp(lexicon, "en_US", "spoke", NoSpeller(), nullptr);
    EXPECT_EQ(a.how, How::kExact);
    EXPECT_EQ(a.headword, "spoke");
    EXPECT_EQ(a.translations, std::vector<std::string>{"žbica"});
    ASSERT_EQ(a.forms.size(), 1u);
    EXPECT_EQ(a.forms[0].word, "speak");
    EXPECT_EQ(a.forms[0].translations, std::vector<std::string>{"govoriti"});

    a = LookUp(lexicon, "en_US", "left", NoSpeller(), nullptr);
    ASSERT_EQ(a.forms.size(), 1u);
    EXPECT_EQ(a.forms[0].word, "leave");
    // A plural the list holds offers its singular.
    lexicon.Add("rivers", {"rijeke"});
    lexicon.Add("river", {"rijeka"});
    a = LookUp(lexicon, "en_US", "rivers", NoSpeller(), nullptr);
    ASSERT_EQ(a.forms.size(), 1u);
    EXPECT_EQ(a.forms[0].word, "river");
    // A whole word is not cut into another by a rule: "number" is no "numb".
    lexicon.Add("numb", {"utrnuo"});
    a = LookUp(lexicon, "en_US", "number", NoSpeller(), nullptr);
    EXPECT_EQ(a.how, How::kExact);
    EXPECT_TRUE(a.forms.empty());
}

TEST(WordFormsTest, GermanAndCroatianFormsLandOnTheirBaseWord) {
    FakeLexicon german{{"gehen", {"go"}},   {"sprechen", {"speak"}}, {"Hund", {"dog"}},
                       {"Haus", {"house"}}, {"machen", {"make"}},    {"aufmachen", {"open"}},
                       {"groß", {"big"}},   {"Kind", {"child"}},     {"schön", {"beautiful"}}};
    const std::pair<const char*, const char*> de[] = {
        {"ging", "gehen"},           {"gingen", "gehen"},     {"gegangen", "gehen"},
        {"sprach", "sprechen"},      {"spricht", "sprechen"}, {"Hunde", "Hund"},
        {"Häuser", "Haus"},          {"gemacht", "machen"},   {"machte", "machen"},
        {"aufgemacht", "aufmachen"}, {"größer", "groß"},      {"Kindern", "Kind"},
        {"schöneren", "schön"},
    };
    for (const auto& [form, base] : de) {
        SCOPED_TRACE(form);
        const Answer a = LookUp(german, "de_DE", form, NoSpeller(), nullptr);
        EXPECT_EQ(a.how, How::kForm);
        EXPECT_EQ(a.headword, base);
    }
    // German plurals and participles the list holds as words of their own.
    german.Add("Bücher", {"books"});
    german.Add("Buch", {"book"});
    german.Add("gemacht", {"made"});
    Answer a = LookUp(german, "de_DE", "Bücher", NoSpeller(), nullptr);
    ASSERT_EQ(a.forms.size(), 1u);
    EXPECT_EQ(a.forms[0].word, "Buch");
    a = LookUp(german, "de_DE", "gemacht", NoSpeller(), nullptr);
    ASSERT_EQ(a.forms.size(), 1u);
    EXPECT_EQ(a.forms[0].word, "machen");
    // A noun's base keeps its capital, whichever table gives it.
    german.Add("Häuser", {"houses"});
    german.Add("Hunde", {"dogs"});
    for (const auto& [plural, singular] : {std::pair{"Häuser", "Haus"}, {"Hunde", "Hund"}}) {
        a = LookUp(german, "de_DE", plural, NoSpeller(), nullptr);
        ASSERT_EQ(a.forms.size(), 1u) << plural;
        EXPECT_EQ(a.forms[0].word, singular);
    }
    FakeLexicon croatian{{"kuća", {"house"}},  {"grad", {"city"}},   {"selo", {"village"}},
                         {"raditi", {"work"}}, {"čitati", {"read"}}, {"ići", {"go"}},
                         {"čovjek", {"man"}},  {"nov", {"new"}}};
    const std::pair<const char*, const char*> hr[] = {
        {"kućama", "kuća"},  {"kuću", "kuća"},     {"gradovima", "grad"}, {"gradu", "grad"},
        {"sela", "selo"},    {"radila", "raditi"}, {"čitamo", "čitati"},  {"išao", "ići"},
        {"ljudi", "čovjek"}, {"novog", "nov"},
    };
    for (const auto& [form, base] : hr) {
        SCOPED_TRACE(form);
        const Answer a = LookUp(croatian, "hr_HR", form, NoSpeller(), nullptr);
        EXPECT_EQ(a.how, How::kForm);
        EXPECT_EQ(a.headword, base);
    }
}

TEST(WordFormsTest, AWordFoundNeitherWayGetsSuggestionsFromTheList) {
    FakeLexicon lexicon = English();
    SuggestionIndex index;
    Answer a = LookUp(lexicon, "en_US", "hause", NoSpeller(), &index);
    EXPECT_EQ(a.how, How::kSuggestion);
    EXPECT_TRUE(a.headword.empty());
    EXPECT_TRUE(a.translations.empty());
    ASSERT_FALSE(a.suggestions.empty());
    EXPECT_EQ(a.suggestions.front(), "house");
    EXPECT_TRUE(index.built());

    Options no_suggestions = NoSpeller();
    no_suggestions.suggestions = false;
    a = LookUp(lexicon, "en_US", "hause", no_suggestions, &index);
    EXPECT_EQ(a.how, How::kNone);
    a = LookUp(lexicon, "en_US", "zzzzzzzz", NoSpeller(), &index);
    EXPECT_EQ(a.how, How::kNone);
    EXPECT_EQ(a.query, "zzzzzzzz");
}

TEST(WordFormsTest, FormsSwitchedOffLeaveTheExactLookUpAlone) {
    FakeLexicon lexicon = English();
    Options off = NoSpeller();
    off.forms = false;
    off.suggestions = false;
    EXPECT_EQ(LookUp(lexicon, "en_US", "walked", off, nullptr).how, How::kNone);
    EXPECT_EQ(LookUp(lexicon, "en_US", "walk", off, nullptr).how, How::kExact);
}

TEST(WordFormsTest, BadInputGivesAClearAnswerOrNothing) {
    FakeLexicon lexicon = English();
    SuggestionIndex index;
    const std::string huge(100'000, 'a');
    const std::string long_phrase = [] {
        std::string s;
        while (s.size() < 100'000) s += "walked ";
        return s;
    }();
    const std::string inputs[] = {huge,
                                  long_phrase,
                                  std::string("\x01\x02\x03\x1b[0m"),
                                  std::string("wa\xFFlk"),
                                  std::string("\xC3"),
                                  std::string("\0\0", 2),
                                  std::string(200, '\'')};
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input.substr(0, 20));
        const Answer a = LookUp(lexicon, "en_US", input, NoSpeller(), &index);
        EXPECT_NE(a.how, How::kExact);
        EXPECT_NE(a.how, How::kForm);
    }
    // A generous bound: a hang, not a slow machine, fails it.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_LT(lexicon.lookups, 200);
    // A broken byte at the end of a word goes with the punctuation around it.
    EXPECT_EQ(LookUp(lexicon, "en_US", "walk\xFF", NoSpeller(), &index).headword, "walk");
}

TEST(WordFormsTest, TheInstalledSpellerFindsStemsTheRulesMiss) {
    if (!FindSpeller("en_US")) GTEST_SKIP() << "no English speller installed";
    FakeLexicon lexicon{{"cry", {"plakati"}}, {"look", {"gledati"}}};
    const Answer a = LookUp(lexicon, "en_US", "looked", Options{}, nullptr);
    EXPECT_EQ(a.headword, "look");
    const std::vector<std::string> stems = Speller::Of("en_US")->Stems("cried");
    EXPECT_NE(std::find(stems.begin(), stems.end(), "cry"), stems.end());
}

}  // namespace
}  // namespace forms
