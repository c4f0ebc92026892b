#include "hook/hot_key_block.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

namespace keysnare {
namespace {

// A block name of this test process alone, removed again at the end.
class SharedBlockTest : public ::testing::Test {
protected:
    SharedBlockTest()
        : name_("/keysnare-test." + std::to_string(getpid()) + "." +
                ::testing::UnitTest::GetInstance()->current_test_info()->name()) {
        shm_unlink(name_.c_str());
    }
    ~SharedBlockTest() override { shm_unlink(name_.c_str()); }

    bool NameExists() {
        const int fd = shm_open(name_.c_str(), O_RDONLY, 0);
        if (fd >= 0) close(fd);
        return fd >= 0;
    }

    std::string name_;
};

TEST_F(SharedBlockTest, FirstOpenCreatesZeroesAndLaterOpensShareIt) {
    auto first = SharedBlock::Open(name_);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->created());
    const HotKeyBlock& fresh = first->fields();
    EXPECT_EQ(fresh.target_window | fresh.first_key | fresh.second_key | fresh.third_key |
                  fresh.armed | fresh.message,
              0u);
    Store(first->fields().first_key, 0x11);
    Store(first->fields().message, 1034);

    auto second = SharedBlock::Open(name_);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->created());
    EXPECT_EQ(Load(second->fields().first_key), 0x11u);  // left alone, not cleared
    EXPECT_EQ(Load(second->fields().message), 1034u);
    Store(second->fields().armed, 1);
    EXPECT_EQ(Load(first->fields().armed), 1u);
}

TEST_F(SharedBlockTest, BlockLivesUntilItsLastHolderCloses) {
    auto first = SharedBlock::Open(name_);
    auto second = SharedBlock::Open(name_);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Store(first->fields().third_key, 0x70);
    first.reset();
    EXPECT_TRUE(NameExists());
    auto third = SharedBlock::Open(name_);
    ASSERT_NE(third, nullptr);
    EXPECT_FALSE(third->created());
    EXPECT_EQ(Load(third->fields().third_key), 0x70u);
    second.reset();
    third.reset();
    EXPECT_FALSE(NameExists());

    auto again = SharedBlock::Open(name_);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->created());
    EXPECT_EQ(Load(again->fields().third_key), 0u);
}

TEST_F(SharedBlockTest, ObjectNotYetSizedByItsCreatorIsSizedNotFaulted) {
    // A creator that has made the object but not yet sized it: mapping 24 bytes of an empty
    // object and touching them would fault.
    const int fd = shm_open(name_.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    auto block = SharedBlock::Open(name_);
    ASSERT_NE(block, nullptr);
    EXPECT_FALSE(block->created());
    EXPECT_EQ(Load(block->fields().armed), 0u);
    Store(block->fields().armed, 1);
    struct stat info {};
    ASSERT_EQ(fstat(fd, &info), 0);
    EXPECT_EQ(info.st_size, 24);
    close(fd);
}

TEST_F(SharedBlockTest, OtherProcessesSeeTheSameFields) {
    auto block = SharedBlock::Open(name_);
    ASSERT_NE(block, nullptr);
    Store(block->fields().first_key, 0x11);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A separate mapping in another process: sees the key and arms the flag.
        auto own = SharedBlock::Open(name_);
        const bool ok = own != nullptr && !own->created() && Load(own->fields().first_key) == 0x11;
        if (ok) Store(own->fields().armed, 1);
        own.reset();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Load(block->fields().armed), 1u);
    EXPECT_TRUE(NameExists());  // the child's close was not the last
}

TEST_F(SharedBlockTest, ForkedChildDroppingItsInheritedCopyKeepsTheBlock) {
    auto block = SharedBlock::Open(name_);
    ASSERT_NE(block, nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        block.reset();  // as static destructors would on exit()
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(NameExists());
    auto other = SharedBlock::Open(name_);
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(other->created());
}

TEST_F(SharedBlockTest, ABlockLeftByAKilledHolderIsClearedForTheNext) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto own = SharedBlock::Open(name_);
        if (own == nullptr) _exit(1);
        Store(own->fields().target_window, 0x200006);
        Store(own->fields().first_key, 0x11);
        Store(own->fields().armed, 1);
        kill(getpid(), SIGKILL);  // no destructor: the name stays
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_TRUE(NameExists());

    auto next = SharedBlock::Open(name_);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(Load(next->fields().target_window), 0u);
    EXPECT_EQ(Load(next->fields().first_key), 0u);
    EXPECT_EQ(Load(next->fields().armed), 0u);
    // It holds the block again as any holder does: a second one shares it.
    Store(next->fields().message, 1034);
    auto second = SharedBlock::Open(name_);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->created());
    EXPECT_EQ(Load(second->fields().message), 1034u);
}

TEST_F(SharedBlockTest, BadNamesFail) {
    EXPECT_EQ(SharedBlock::Open("/a/b"), nullptr);
    EXPECT_EQ(SharedBlock::Open(std::string(300, 'x')), nullptr);
}

}  // namespace
}  // namespace keysnare

// One block per user and X display: a window id means nothing on another display.
TEST(BlockNameTest, OnePerUserAndDisplay) {
    EXPECT_EQ(keysnare::BlockNameFor(1000, ":0"), "/dllmemfilemap.1000.:0");
    // The screen number names the same display.
    EXPECT_EQ(keysnare::BlockNameFor(1000, ":0.0"), keysnare::BlockNameFor(1000, ":0"));
    EXPECT_NE(keysnare::BlockNameFor(1000, ":99"), keysnare::BlockNameFor(1000, ":0"));
    EXPECT_NE(keysnare::BlockNameFor(1001, ":0"), keysnare::BlockNameFor(1000, ":0"));
    EXPECT_EQ(keysnare::BlockNameFor(0, "localhost:10.0"), "/dllmemfilemap.0.localhost:10");
    // A display that is a path holds no further slash.
    EXPECT_EQ(keysnare::BlockNameFor(501, "/tmp/launch-x/org.x:0"),
              "/dllmemfilemap.501._tmp_launch-x_org_x:0");
    EXPECT_EQ(keysnare::BlockNameFor(7, nullptr), "/dllmemfilemap.7");
    EXPECT_EQ(keysnare::BlockNameFor(7, ""), "/dllmemfilemap.7");
}
