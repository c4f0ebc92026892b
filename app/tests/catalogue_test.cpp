#include "app/catalogue.h"

#include <gtest/gtest.h>

#include "app/tests/fake_window.h"
#include "app/tests/test_dictionaries.h"
#include "app/tests/test_files.h"

namespace wordbay {
namespace {

using testing::ScratchDirTest;

class CatalogueTest : public ScratchDirTest {};

TEST_F(CatalogueTest, ListsReadableDictionariesOrderedByListNames) {
    testing::WriteDictionary(PathOf("b.v03"), {{"house", "kuća"}}, "English", "German");
    testing::WriteDictionary(PathOf("a.V03"), {{"house", "kuća"}}, "English", "Croatian");
    testing::WriteDictionary(PathOf("c.v03"), {{"maison", "kuća"}}, "French", "Croatian");
    Spill(PathOf("broken.v03"), std::string(2000, 'x'));
    testing::WriteDictionary(PathOf("other.txt"), {{"a", "b"}}, "Aaa", "Bbb");

    Catalogue catalogue;
    EXPECT_EQ(catalogue.Scan(folder().string(), nullptr), 3u);
    const std::vector<CatalogueEntry> entries = catalogue.entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_STREQ(entries[0].info.secondary_list_name, "Croatian");
    EXPECT_EQ(entries[0].path, PathOf("a.V03"));
    EXPECT_STREQ(entries[1].info.secondary_list_name, "German");
    EXPECT_STREQ(entries[2].info.primary_list_name, "French");
    EXPECT_EQ(entries[0].info.primary_word_count, 1u);

    EXPECT_TRUE(catalogue.IsInCatalogue(PathOf("b.v03")));
    EXPECT_FALSE(catalogue.IsInCatalogue(PathOf("B.v03")));
    EXPECT_FALSE(catalogue.IsInCatalogue(PathOf("broken.v03")));

    catalogue.remove(0);
    catalogue.remove(7);
    EXPECT_EQ(catalogue.size(), 2u);
    EXPECT_FALSE(catalogue.IsInCatalogue(PathOf("a.V03")));
}

TEST_F(CatalogueTest, FolderWithoutDictionaryFilesKeepsTheOldCatalogue) {
    std::filesystem::create_directories(folder() / "full");
    std::filesystem::create_directories(folder() / "empty");
    testing::WriteDictionary(PathOf("full/x.v03"), {{"a", "b"}});
    Catalogue catalogue;
    ASSERT_EQ(catalogue.Scan(PathOf("full"), nullptr), 1u);
    EXPECT_EQ(catalogue.Scan(PathOf("empty"), nullptr), 0u);
    EXPECT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue.Scan(PathOf("missing"), nullptr), 0u);
    EXPECT_EQ(catalogue.size(), 1u);

    // Files that are all unreadable do replace it: nothing is left to show.
    Spill(PathOf("empty/bad.v03"), "not a dictionary");
    EXPECT_EQ(catalogue.Scan(PathOf("empty"), nullptr), 0u);
    EXPECT_EQ(catalogue.size(), 0u);
}

}  // namespace
}  // namespace wordbay
