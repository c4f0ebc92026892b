// Files that are not what they claim, through the C interface: pipes, devices
// and folders in a file's place, and failures whose message must not read
// like success. A hang here would be the fault: each test runs under an alarm
// that ends the process within seconds.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/lexbase.h"
#include "testing/test_support.h"

namespace {

constexpr unsigned kSecondsAllowed = 20;

class HostileInputApiTest : public test_support::ScratchDirTest {
protected:
    void SetUp() override {
        ::alarm(kSecondsAllowed);
        ScratchDirTest::SetUp();
        db_ = DB_CreateHandle()->handle;
        ASSERT_TRUE(std::filesystem::create_directories(Path("language")));
    }
    void TearDown() override {
        DB_DestroyHandle(db_);
        ScratchDirTest::TearDown();
        ::alarm(0);
    }
    void Fifo(const std::string& name) const { ASSERT_EQ(::mkfifo(Path(name).c_str(), 0600), 0); }
    static void Write(const std::string& path, const std::string& bytes) {
        test_support::WriteFile(path, bytes);
    }

    DB_HANDLE db_ = nullptr;
};

TEST_F(HostileInputApiTest, PipesDevicesAndFoldersAreRefusedAtOnce) {
    Fifo("pipe.txt");
    Fifo("pipe.wb");
    Fifo("pipe.v03");
    const struct {
        int format;
        std::string file;
        std::string message;
    } cases[] = {
        {DB_FORMAT_TXT_LOAD, Path("pipe.txt"), "Can't open file:\n" + Path("pipe.txt")},
        {DB_FORMAT_TXT_LOAD, "/dev/zero", "Can't open file:\n/dev/zero"},
        {DB_FORMAT_TXT_LOAD, dir_, "Can't open file:\n" + dir_},
        {DB_FORMAT_V03_LOAD, Path("pipe.v03"), "Can't open file:\n" + Path("pipe.v03")},
        {DB_FORMAT_FREELANG_LOAD, Path("pipe.wb"),
         "Can't import file:\n" + Path("pipe.wb") +
             "\nIt can't be read or is not in the chosen format."},
        {DB_FORMAT_FREELANG_LOAD, "/dev/zero",
         "Can't import file:\n/dev/zero\nIt can't be read or is not in the chosen format."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const DB_RESULT* r = DB_Load(db_, c.format, c.file.c_str(), 0, 0);
        EXPECT_EQ(r->status, 0);
        EXPECT_EQ(std::string(r->message), c.message);
        EXPECT_EQ(DB_IsReady(db_), 0);
    }
}

// The legacy set: any of its five files a pipe, and the folder fails at once.
TEST_F(HostileInputApiTest, ALegacySetWithAPipeFails) {
    const std::string set = Path("set");
    ASSERT_EQ(::mkdir(set.c_str(), 0700), 0);
    for (const char* name : {"eng.v02", "hrv.v02", "ehr.v02", "ehp.v02", "her.v02"}) {
        Write(set + "/" + name, "x");
    }
    ASSERT_EQ(::unlink((set + "/ehr.v02").c_str()), 0);
    ASSERT_EQ(::mkfifo((set + "/ehr.v02").c_str(), 0600), 0);
    const DB_RESULT* r = DB_Load(db_, DB_FORMAT_V02_LOAD, set.c_str(), 0, 0);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(std::string(r->message),
              "Can't import file:\n" + set + "\nIt can't be read or is not in the chosen format.");
}

// dict.ini beside a Freelang "language" folder is read only when it is a small
// regular file: a pipe would hang the import, /dev/zero exhaust the memory.
TEST_F(HostileInputApiTest, AHostileDictIniIsIgnored) {
    std::string record(84, '\0');
    record.replace(0, 5, "house");
    record.replace(31, 4, "kuca");
    const std::string wb = Path("language/english_croatian.wb");
    Write(wb, record);
    for (const bool pipe : {true, false}) {
        SCOPED_TRACE(pipe);
        ::unlink(Path("dict.ini").c_str());
        if (pipe) {
            Fifo("dict.ini");
        } else {
            ASSERT_EQ(::symlink("/dev/zero", Path("dict.ini").c_str()), 0);
        }
        DB_HANDLE db = DB_CreateHandle()->handle;
        EXPECT_EQ(DB_Load(db, DB_FORMAT_FREELANG_LOAD, wb.c_str(), 0, 0)->status, 1);
        DB_DestroyHandle(db);
    }
}

// A failed import or update says that it failed, never what an earlier call
// on the handle said.
TEST_F(HostileInputApiTest, FailureMessagesDoNotReadLikeSuccess) {
    const std::string bad = Path("bad.wb");
    Write(bad, std::string(83, 'x'));
    const DB_RESULT* r = DB_Load(db_, DB_FORMAT_FREELANG_LOAD, bad.c_str(), 0, 0);
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(std::string(r->message),
              "Can't import file:\n" + bad + "\nIt can't be read or is not in the chosen format.");

    Write(Path("open.txt"), "a\tb\r\n");
    ASSERT_EQ(DB_Load(db_, DB_FORMAT_TXT_LOAD, Path("open.txt").c_str(), 0, 0)->status, 1);
    DICTIONARY_INFO info{};
    ASSERT_STREQ(DB_GetDictionaryInfo(db_, &info)->message,
                 "Dictionary info successfully extracted.");
    r = DB_Update(db_, DB_TRANS_PRIMARY_TO_SECONDARY, DB_FORMAT_FREELANG_LOAD, bad.c_str());
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(std::string(r->message),
              "Can't import file:\n" + bad + "\nIt can't be read or is not in the chosen format.");
    r = DB_Update(db_, DB_TRANS_PRIMARY_TO_SECONDARY, DB_FORMAT_V02_LOAD, Path("none").c_str());
    EXPECT_EQ(r->status, 0);
    EXPECT_NE(std::string(r->message).find("Can't import file:"), std::string::npos);
}

}  // namespace
