// The wildcard matcher against a table of cases and against a plain
// recursive matcher on random inputs.
#include "engine/wildcard.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace lexbase {
namespace {

std::uint8_t kExact[256];
std::uint8_t kLower[256];

class WildcardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (int c = 0; c < 256; ++c) {
            kExact[c] = static_cast<std::uint8_t>(c);
            kLower[c] = static_cast<std::uint8_t>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
    }
};

// Tries every way a `*` can split the word.
bool Reference(std::string_view p, std::string_view w, const std::uint8_t* t) {
    if (p.empty()) return w.empty();
    if (p[0] == '*') {
        for (std::size_t i = 0; i <= w.size(); ++i) {
            if (Reference(p.substr(1), w.substr(i), t)) return true;
        }
        return false;
    }
    if (w.empty()) return false;
    const bool same =
        p[0] == '?' || t[static_cast<std::uint8_t>(p[0])] == t[static_cast<std::uint8_t>(w[0])];
    return same && Reference(p.substr(1), w.substr(1), t);
}

TEST_F(WildcardTest, Cases) {
    struct Case {
        const char* pattern;
        const char* word;
        bool exact;
        bool folded;
    };
    const Case cases[] = {
        {"b?t", "bat", true, true},     {"b?t", "boat", false, false},
        {"b?t", "BIT", false, true},    {"*", "anything", true, true},
        {"?", "ab", false, false},      {"*ing", "singe", false, false},
        {"a*b*c", "abcbc", true, true}, {"*a", "aaab", false, false},
        {"a?*", "a", false, false},     {"**a**", "bab", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " / " + c.word);
        EXPECT_EQ(MatchesWildcards(c.pattern, c.word, kExact), c.exact);
        EXPECT_EQ(MatchesWildcards(c.pattern, c.word, kLower), c.folded);
    }
}

TEST_F(WildcardTest, AgreesWithTryingEverySplit) {
    std::mt19937 random(3);
    const char pattern_bytes[] = "abAB*?*";
    const char word_bytes[] = "abAB?*";
    for (int i = 0; i < 20000; ++i) {
        std::string p(random() % 7, ' '), w(random() % 9, ' ');
        for (char& c : p) c = pattern_bytes[random() % (sizeof pattern_bytes - 1)];
        for (char& c : w) c = word_bytes[random() % (sizeof word_bytes - 1)];
        ASSERT_EQ(MatchesWildcards(p, w, kExact), Reference(p, w, kExact)) << p << " / " << w;
        ASSERT_EQ(MatchesWildcards(p, w, kLower), Reference(p, w, kLower)) << p << " / " << w;
    }
}

}  // namespace
}  // namespace lexbase
