#include "forms/irregular.h"

#include <gtest/gtest.h>

#include <fstream>

#include "testing/test_support.h"

namespace forms {
namespace {

using Bases = std::vector<std::string>;

class IrregularFormsTest : public test_support::ScratchDirTest {
protected:
    // Two exception lists with what a stream's reading copes with: leading
    // blanks, tabs, carriage returns, "_" for a blank, a form on two lines
    // and in both lists, a base equal to its form, forms inside others.
    IrregularForms Read() {
        std::ofstream(Path("verb.exc"), std::ios::binary)
            << "went go\n  \tgone go\r\nwent wend\ngoes go\nx went\nice_skated ice_skate\n"
               "same same other\nwent go\nlast form";
        std::ofstream(Path("noun.exc"), std::ios::binary) << "went\tgo   walk\nmice mouse";
        IrregularForms table;
        table.Add("went", "proceed");
        EXPECT_TRUE(table.ReadExceptionList(Path("verb.exc")));
        EXPECT_TRUE(table.ReadExceptionList(Path("noun.exc")));
        EXPECT_FALSE(table.ReadExceptionList(Path("adj.exc")));
        return table;
    }
};

TEST_F(IrregularFormsTest, SearchedAndIndexedListsGiveTheSameBases) {
    const std::vector<std::pair<std::string, Bases>> expected = {
        {"went", {"proceed", "go", "wend", "walk"}},
        {"gone", {"go"}},
        {"goes", {"go"}},
        {"x", {"went"}},
        {"ice skated", {"ice skate"}},
        {"same", {"other"}},
        {"last", {"form"}},
        {"mice", {"mouse"}},
        {"go", {}},
        {"ice_skated", {}},
        {"", {}},
        {"ent", {}},
        {"form", {}},
    };
    IrregularForms searched = Read();
    IrregularForms indexed = Read();
    EXPECT_EQ(indexed.Forms().size(), 9u);  // indexes the lists; "went" twice
    for (const auto& [form, bases] : expected) {
        SCOPED_TRACE(form);
        EXPECT_EQ(searched.BasesOf(form), bases);
        EXPECT_EQ(indexed.BasesOf(form), bases);
    }
    // Past the first few searches the lists are indexed, with the same answers.
    for (int round = 0; round < 5; ++round) {
        for (const auto& [form, bases] : expected) EXPECT_EQ(searched.BasesOf(form), bases);
    }
}

}  // namespace
}  // namespace forms
