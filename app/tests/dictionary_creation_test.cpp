// Creating an empty dictionary in the database folder.
#include "app/dictionary_creation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/tests/test_dictionaries.h"
#include "app/tests/test_files.h"

namespace wordbay {
namespace {

using testing::ScratchDirTest;
using testing::StoredInfo;

DICTIONARY_INFO Description(const char* primary, const char* secondary, const char* name,
                            std::uint32_t secondary_locale = 1031) {
    DICTIONARY_INFO info{};
    info.primary_locale = 1033;
    info.secondary_locale = secondary_locale;
    std::strcpy(info.primary_list_name, primary);
    std::strcpy(info.secondary_list_name, secondary);
    std::strcpy(info.name, name);
    return info;
}

class DictionaryCreationTest : public ScratchDirTest {
protected:
    // Creates with `answers` given in turn to the replace questions, which
    // are kept in asked_.
    CreationResult Create(const DICTIONARY_INFO& info, std::vector<std::string> answers = {}) {
        return CreateDictionary(info, folder().string(), &catalogue_,
                                [this, answers](const std::string& proposed) {
                                    asked_.push_back(proposed);
                                    return answers.at(asked_.size() - 1);
                                });
    }

    Catalogue catalogue_;
    std::vector<std::string> asked_;
};

TEST_F(DictionaryCreationTest, SavesAnEmptyDictionaryNamedAfterItsLists) {
    const CreationResult result = Create(Description("English", "German", "First"));
    ASSERT_TRUE(result.created);
    EXPECT_EQ(result.path, PathOf("English_German.v03"));
    EXPECT_TRUE(asked_.empty());
    const DICTIONARY_INFO stored = StoredInfo(result.path);
    EXPECT_STREQ(stored.name, "First");
    EXPECT_STREQ(stored.secondary_list_name, "German");
    EXPECT_EQ(stored.secondary_locale, 1031u);
    EXPECT_EQ(stored.primary_word_count, 0u);
}

TEST_F(DictionaryCreationTest, AsksBeforeReplacingAnyFileOfThatName) {
    const std::string target = PathOf("English_German.v03");
    // Not a dictionary, so not in the catalogue: it would be lost all the same.
    Spill(target, "notes");
    catalogue_.Scan(folder().string(), nullptr);

    CreationResult result = Create(Description("English", "German", "Second"), {""});
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.created);
    EXPECT_EQ(asked_, std::vector<std::string>{target});
    EXPECT_EQ(Slurp(target), "notes");

    asked_.clear();
    result = Create(Description("English", "German", "Third"), {PathOf("Other.v03")});
    ASSERT_TRUE(result.created);
    EXPECT_EQ(result.path, PathOf("Other.v03"));
    EXPECT_STREQ(StoredInfo(PathOf("Other.v03")).name, "Third");
    EXPECT_EQ(Slurp(target), "notes");

    asked_.clear();
    result = Create(Description("English", "German", "Fourth"), {target});
    ASSERT_TRUE(result.created);
    EXPECT_STREQ(StoredInfo(target).name, "Fourth");
}

TEST_F(DictionaryCreationTest, FileNamesStayInTheFolderAndAreUtf8) {
    EXPECT_EQ(NewDictionaryFileName(Description("../up", "a/b", "x")), ".._up_a_b.v03");
    // "Hrvatski" with a č, stored in the Central European code page of its list.
    EXPECT_EQ(NewDictionaryFileName(Description("English", "Hrvatski \xE8", "x", 1050)),
              "English_Hrvatski \xC4\x8D.v03");
    const CreationResult result = Create(Description("../up", "German", "Fifth"));
    ASSERT_TRUE(result.created);
    EXPECT_EQ(result.path, PathOf(".._up_German.v03"));
}

TEST_F(DictionaryCreationTest, AFailedSaveNamesTheFileAndTheEngineMessage) {
    const std::string folder = PathOf("missing");
    const CreationResult result =
        CreateDictionary(Description("English", "German", "x"), folder, nullptr, nullptr);
    EXPECT_FALSE(result.created);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.failure, TextId::MSG_DICTIONARY_SAVING_ERROR);
    EXPECT_EQ(result.detail, folder + "/English_German.v03");
    EXPECT_FALSE(result.engine_message.empty());
}

}  // namespace
}  // namespace wordbay
