#include "forms/selection.h"

#include <gtest/gtest.h>

namespace forms {
namespace {

TEST(SelectionTest, ShedsWhatASelectionDragsAlong) {
    struct Case {
        const char* what;
        std::string selection;
        const char* bare;
        const char* base;
    };
    const Case cases[] = {
        {"blanks and a full stop", "  houses.  ", "houses", "houses"},
        {"quotes", "\u201Cwalked,\u201D", "walked", "walked"},
        {"brackets and a dash", "(went)\u2014", "went", "went"},
        {"a possessive", "John's", "John's", "John"},
        {"a typographic possessive", "king\u2019s", "king\u2019s", "king"},
        {"a plural possessive", "kings'", "kings", "kings"},
        {"a soft hyphen", "hou\u00ADses", "houses", "houses"},
        {"a line-break hyphen", "hou-\nses", "houses", "houses"},
        {"a line-break hyphen with blanks", "hou- \r\n   ses", "houses", "houses"},
        {"a hyphen inside a word stays", "well-known", "well-known", "well-known"},
        {"an apostrophe inside a word stays", "don't", "don't", "don't"},
        {"a tab and a line feed around it", "\tging\n", "ging", "ging"},
        {"an accented word", "\u00BBK\u00FC\u00DFe\u00AB", "K\u00FC\u00DFe", "K\u00FC\u00DFe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ShedWord shed = Shed(c.selection);
        EXPECT_EQ(shed.bare, c.bare);
        EXPECT_EQ(shed.base, c.base);
    }
}

TEST(SelectionTest, NothingOfAWordLeavesEverythingEmpty) {
    for (const std::string& selection :
         {std::string(), std::string("   "), std::string("\x01\x02\x1b\x7f"), std::string("...!"),
          std::string("\u00AD")}) {
        const ShedWord shed = Shed(selection);
        EXPECT_TRUE(shed.trimmed.empty()) << selection;
        EXPECT_TRUE(shed.bare.empty()) << selection;
    }
}

TEST(SelectionTest, BrokenUtf8BecomesReplacementCharacters) {
    const ShedWord shed = Shed(std::string("ho\xC3use\xFF"));
    EXPECT_EQ(shed.bare, "ho\uFFFDuse");
    EXPECT_EQ(LowerCase("H\xC3"), "h\uFFFD");
}

TEST(SelectionTest, LowerCaseAndCapitalsFollowUnicode) {
    EXPECT_EQ(LowerCase("\u010COVJEK H\u00C4USER"), "\u010Dovjek h\u00E4user");
    EXPECT_TRUE(StartsUpper("\u00C4pfel"));
    EXPECT_FALSE(StartsUpper("\u00E4pfel"));
    EXPECT_FALSE(StartsUpper(""));
    EXPECT_EQ(CharCount("k\u00FC\u00DFe"), 4u);
}

}  // namespace
}  // namespace forms
