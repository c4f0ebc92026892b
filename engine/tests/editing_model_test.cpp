// Long random sequences of edits against a plain reference model: after every
// step both lists must satisfy every structural rule and hold exactly what the
// model holds, and every call must answer what the model expects.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/context.h"
#include "engine/lexbase.h"
#include "engine/tests/dictionary_checker.h"

namespace lexbase {
namespace {

struct Expected {
    int status;
    std::string message;
};

// The dictionary as two maps of word to translations in chain order.
class Model {
public:
    ListContents& list(int n) { return n == 1 ? contents_.primary : contents_.secondary; }
    const DictionaryContents& contents() const { return contents_; }

    Expected AddWord(int l, const std::string& w) {
        if (list(l).count(w)) return {1, "This word already exists in dictionary."};
        list(l)[w];
        return {1, "Word successfully added."};
    }
    Expected AddTranslation(int dir, const std::string& w, const std::string& t) {
        std::vector<std::string>& forward = list(dir)[w];
        std::vector<std::string>& backward = list(3 - dir)[t];
        if (std::find(forward.begin(), forward.end(), t) != forward.end()) {
            return {1, "This translation already exists in dictionary."};
        }
        forward.push_back(t);
        backward.push_back(w);
        return {2, "Translation successfully added."};
    }
    Expected DeleteWord(int l, const std::string& w) {
        if (list(l).empty()) return {0, "Nothing to delete!\nDictionary is empty."};
        const auto it = list(l).find(w);
        if (it == list(l).end()) return {0, "This word isn't in dictionary!"};
        if (!it->second.empty()) {
            return {0, "This word has translations!\nDelete all translations first"};
        }
        list(l).erase(it);
        return {1, "Word successfully deleted."};
    }
    Expected DeleteTranslation(int dir, const std::string& w, const std::string& t) {
        const auto it = list(dir).find(w);
        if (it == list(dir).end() || !Erase(&it->second, t)) {
            return {0, "This translation isn't in dictionary!"};
        }
        Erase(&list(3 - dir)[t], w);
        return {1, "Translation successfully deleted."};
    }
    Expected ChangeWord(int l, const std::string& o, const std::string& n) {
        const auto it = list(l).find(o);
        if (it == list(l).end()) return {0, "This word isn't in dictionary!"};
        if (o == n) return {1, "Nothing to change.\nOld word is equal to new word."};
        const std::vector<std::string> moved = it->second;
        list(l).erase(it);
        std::vector<std::string>& target = list(l)[n];
        for (const std::string& t : moved) {
            std::vector<std::string>& back = list(3 - l)[t];
            const auto old_place = std::find(back.begin(), back.end(), o);
            if (std::find(target.begin(), target.end(), t) != target.end()) {
                back.erase(old_place);
            } else {
                target.push_back(t);
                *old_place = n;
            }
        }
        return {2, "Word successfully changed."};
    }
    Expected Swap(int l, const std::string& w, const std::string& t1, const std::string& t2) {
        const auto it = list(l).find(w);
        if (it == list(l).end()) {
            return {0, BucketHasWords(l, w) ? "This word isn't in dictionary 1!"
                                            : "This word isn't in dictionary!"};
        }
        std::vector<std::string>& chain = it->second;
        const auto a = std::find(chain.begin(), chain.end(), t1);
        if (a == chain.end()) return {0, "Trans1 isn't in dictionary!"};
        if (t1 == t2) return {1, "Nothing to do!\nTrans1 and trans2 are the same."};
        const auto b = std::find(chain.begin(), chain.end(), t2);
        if (b == chain.end()) return {0, "Trans2 isn't in dictionary!"};
        std::iter_swap(a, b);
        return {2, "Translations successfully swaped"};
    }
    Expected Resort(int l) {
        if (list(l).empty()) return {1, "Nothing to resort!\nList is empty"};
        return {2, "List successfully resorted."};
    }

private:
    static bool Erase(std::vector<std::string>* v, const std::string& s) {
        const auto it = std::find(v->begin(), v->end(), s);
        if (it == v->end()) return false;
        v->erase(it);
        return true;
    }
    // Whether the two-byte index entry of `w` (its group for one byte) has words.
    bool BucketHasWords(int l, const std::string& w) {
        for (const auto& [x, unused] : list(l)) {
            if (x[0] != w[0]) continue;
            if (w.size() == 1 || (x.size() > 1 && x[1] == w[1])) return true;
        }
        return false;
    }

    DictionaryContents contents_;
};

class EditingModelTest : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        db_ = DB_CreateHandle()->handle;
        ASSERT_EQ(DB_CreateNewDictionary(db_, 1033, 1031)->status, 1);
        random_.seed(GetParam());
    }
    void TearDown() override { DB_DestroyHandle(db_); }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    // Short words over a small alphabet, so that prefixes, one-byte words and
    // words differing in case or accent only are common. 0xAD (soft hyphen)
    // is ignored by the collation: words then compare equal.
    std::string NewWord() {
        static const char kBytes[] =
            "abAB\xE4\xC4\xE1\xAD"
            "c";
        const int length = 1 + std::min(Pick(5), Pick(5));
        std::string w;
        for (int i = 0; i < length; ++i) w += kBytes[Pick(sizeof kBytes - 1)];
        return w;
    }
    // A word of list `l`, or a new one when the list is empty or by chance.
    std::string SomeWord(int l) {
        const ListContents& words = model_.list(l);
        if (words.empty() || Pick(5) == 0) return NewWord();
        auto it = words.begin();
        std::advance(it, Pick(static_cast<int>(words.size())));
        return it->first;
    }
    std::string SomeTranslation(int l, const std::string& w) {
        const auto it = model_.list(l).find(w);
        if (it == model_.list(l).end() || it->second.empty() || Pick(6) == 0) return NewWord();
        return it->second[Pick(static_cast<int>(it->second.size()))];
    }

    void Expect(const DB_RESULT* r, const Expected& e) {
        ASSERT_EQ(r->status, e.status) << r->message;
        ASSERT_STREQ(r->message, e.message.c_str());
    }

    // While `growing`, half of the deletions become additions.
    void Step(bool growing) {
        const int l = 1 + Pick(2);
        int op = Pick(100);
        if (growing && op >= 36 && op < 70 && Pick(2) == 0) op = 0;
        if (op < 28) {
            const std::string w = SomeWord(l), t = SomeWord(3 - l);
            Expect(DB_AddTranslation(db_, l, w.c_str(), t.c_str()), model_.AddTranslation(l, w, t));
        } else if (op < 36) {
            const std::string w = SomeWord(l);
            Expect(DB_AddWord(db_, l, w.c_str()), model_.AddWord(l, w));
        } else if (op < 54) {
            const std::string w = SomeWord(l), t = SomeTranslation(l, w);
            Expect(DB_DeleteTranslation(db_, l, w.c_str(), t.c_str()),
                   model_.DeleteTranslation(l, w, t));
        } else if (op < 70) {
            const std::string w = SomeWord(l);
            Expect(DB_DeleteWord(db_, l, w.c_str()), model_.DeleteWord(l, w));
        } else if (op < 84) {
            const std::string o = SomeWord(l), n = Pick(2) ? SomeWord(l) : NewWord();
            Expect(DB_ChangeWord(db_, l, o.c_str(), n.c_str()), model_.ChangeWord(l, o, n));
        } else if (op < 98) {
            const std::string w = SomeWord(l);
            const std::string t1 = SomeTranslation(l, w), t2 = SomeTranslation(l, w);
            Expect(DB_SwapTranslations(db_, l, w.c_str(), t1.c_str(), t2.c_str()),
                   model_.Swap(l, w, t1, t2));
        } else {
            static const std::uint32_t kLocales[] = {1033, 1031, 1053, 1050};
            Expect(DB_ResortList(db_, l, kLocales[Pick(4)]), model_.Resort(l));
        }
    }

    // Deletes every translation and word through the interface, emptying both lists.
    void Drain() {
        for (int l = 1; l <= 2; ++l) {
            while (!model_.list(l).empty()) {
                const auto [w, chain] = *model_.list(l).begin();
                for (const std::string& t : chain) {
                    Expect(DB_DeleteTranslation(db_, l, w.c_str(), t.c_str()),
                           model_.DeleteTranslation(l, w, t));
                }
                Expect(DB_DeleteWord(db_, l, w.c_str()), model_.DeleteWord(l, w));
                ASSERT_TRUE(CheckDictionary(db_));
            }
            EXPECT_EQ(db_->lists[l - 1].head, nullptr);
            EXPECT_EQ(db_->lists[l - 1].texts_moved, 0);
        }
    }

    DB_CONTEXT* db_ = nullptr;
    std::mt19937 random_;
    Model model_;
};

TEST_P(EditingModelTest, RandomEditsKeepEveryRuleAndMatchTheModel) {
    // Sanitizers slow every step down about tenfold: fewer steps keep the
    // test within seconds there.
#if defined(__SANITIZE_ADDRESS__)
    constexpr int kRounds = 4, kSteps = 250;
#else
    constexpr int kRounds = 4, kSteps = 800;
#endif
    for (int round = 0; round < kRounds; ++round) {
        for (int step = 0; step < kSteps; ++step) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", step " << step);
            ASSERT_NO_FATAL_FAILURE(Step(step < kSteps / 2));
            ASSERT_TRUE(CheckDictionary(db_));
            ASSERT_EQ(ContentsOf(db_), model_.contents());
        }
        ASSERT_NO_FATAL_FAILURE(Drain());
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, EditingModelTest, ::testing::Values(1u, 2u, 3u, 4u));

}  // namespace
}  // namespace lexbase
