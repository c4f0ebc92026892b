// Every V03 file kept with the sources (the seeds of the loader's fuzz
// target, written by earlier versions and by this one, 8-bit and UTF-8)
// loads and saves back into the same bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/lexbase.h"
#include "testing/test_support.h"

namespace {

using test_support::ReadFile;

using V03FixtureTest = test_support::ScratchDirTest;

TEST_F(V03FixtureTest, EveryFixtureSavesBackByteForByte) {
    const std::string saved = Path("saved.v03");
    int files = 0;
    bool utf8_seen = false;
    for (const auto& entry : std::filesystem::directory_iterator(LEXBASE_V03_FIXTURES)) {
        if (entry.path().extension() != ".v03") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++files;
        DB_HANDLE db = DB_CreateHandle()->handle;
        ASSERT_EQ(DB_Load(db, DB_FORMAT_V03_LOAD, entry.path().c_str(), 0, 0)->status, 1);
        DICTIONARY_INFO info{};
        ASSERT_EQ(DB_GetDictionaryInfo(db, &info)->status, 1);
        utf8_seen |=
            info.primary_charset == DB_CHARSET_UTF8 || info.secondary_charset == DB_CHARSET_UTF8;
        ASSERT_EQ(DB_Save(db, DB_FORMAT_V03_SAVE, saved.c_str())->status, 1);
        EXPECT_EQ(ReadFile(saved), ReadFile(entry.path()));
        DB_DestroyHandle(db);
    }
    EXPECT_GE(files, 4);
    EXPECT_TRUE(utf8_seen);
}

}  // namespace
