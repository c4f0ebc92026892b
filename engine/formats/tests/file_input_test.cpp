// The two ways a format takes its file in: read whole or mapped whole. Both
// refuse what is not a regular file without waiting, and both check the size
// against the format's bounds before any memory is taken or mapped.
#include "engine/formats/file_input.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/mapped_file.h"
#include "testing/test_support.h"

namespace lexbase {
namespace {

using Access = platform::MappedFile::Access;

thread_local int tls_maps = 0;
void CountMap() { ++tls_maps; }

class FileInputTest : public test_support::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        tls_maps = 0;
        platform::SetMapHookForTesting(CountMap);
    }
    void TearDown() override {
        platform::SetMapHookForTesting(nullptr);
        ScratchDirTest::TearDown();
    }

    std::string Write(const std::string& name, std::size_t size) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 26);
        test_support::WriteFile(Path(name), bytes);
        return Path(name);
    }

    // What each reader makes of `path`; a mapping that fails holds nothing.
    void ExpectBoth(const std::string& path, const ReadBounds& bounds, ReadStatus read,
                    ReadStatus mapped) {
        WholeFile whole;
        EXPECT_EQ(ReadWholeFile(path.c_str(), bounds, &whole), read);
        platform::MappedFile file;
        EXPECT_EQ(MapWholeFile(path.c_str(), bounds, Access::kRead, &file), mapped);
        if (mapped != ReadStatus::kRead) {
            EXPECT_EQ(file.data(), nullptr);
            EXPECT_LT(file.descriptor(), 0);
        }
    }
};

TEST_F(FileInputTest, BothReadersRefuseWhatIsNotARegularFileAtOnce) {
    const std::string pipe = Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const ReadBounds any;
    ExpectBoth(Path("missing"), any, ReadStatus::kCantOpen, ReadStatus::kCantOpen);
    ExpectBoth(dir_, any, ReadStatus::kCantOpen, ReadStatus::kCantOpen);
    ExpectBoth(pipe, any, ReadStatus::kCantOpen, ReadStatus::kCantOpen);
    platform::MappedFile file;
    EXPECT_EQ(MapWholeFile(pipe.c_str(), any, Access::kReadWrite, &file), ReadStatus::kCantOpen);
    EXPECT_EQ(MapWholeFile(dir_.c_str(), any, Access::kReadWrite, &file), ReadStatus::kCantOpen);
    EXPECT_EQ(tls_maps, 0);
}

TEST_F(FileInputTest, SizesOutsideTheBoundsAreRefusedBeforeAnythingIsMapped) {
    ReadBounds bounds;
    bounds.min_size = 10;
    bounds.max_size = 20;
    bounds.unit = 5;
    ExpectBoth(Write("small", 9), bounds, ReadStatus::kTooSmall, ReadStatus::kTooSmall);
    ExpectBoth(Write("large", 25), bounds, ReadStatus::kBadSize, ReadStatus::kBadSize);
    ExpectBoth(Write("uneven", 12), bounds, ReadStatus::kBadSize, ReadStatus::kBadSize);
    EXPECT_EQ(tls_maps, 0);
    // The edges are inside.
    ExpectBoth(Write("least", 10), bounds, ReadStatus::kRead, ReadStatus::kRead);
    ExpectBoth(Write("most", 20), bounds, ReadStatus::kRead, ReadStatus::kRead);
    EXPECT_EQ(tls_maps, 2);
}

TEST_F(FileInputTest, BothReadersGiveTheFileByteForByte) {
    const std::string path = Write("file", 5000);
    const std::string bytes = test_support::ReadFile(path);
    ReadBounds bounds;
    bounds.front = 3;
    bounds.back = 2;
    WholeFile whole;
    ASSERT_EQ(ReadWholeFile(path.c_str(), bounds, &whole), ReadStatus::kRead);
    ASSERT_EQ(whole.size, bytes.size());
    EXPECT_EQ(std::memcmp(whole.block.get() + 3, bytes.data(), bytes.size()), 0);

    platform::MappedFile file;
    ASSERT_EQ(MapWholeFile(path.c_str(), bounds, Access::kRead, &file), ReadStatus::kRead);
    ASSERT_EQ(file.size(), bytes.size());
    std::string mapped(bytes.size(), '\0');
    ASSERT_TRUE(file.Read(0, mapped.data(), mapped.size()));
    EXPECT_EQ(mapped, bytes);
    EXPECT_TRUE(file.SizeUnchanged());
}

TEST_F(FileInputTest, AMappingThatFailsLeavesNothingOpen) {
    // An empty file has nothing to map.
    ExpectBoth(Write("empty", 0), ReadBounds{}, ReadStatus::kRead, ReadStatus::kCantMap);
    // A file mapped before is let go when the next one fails.
    platform::MappedFile file;
    ASSERT_EQ(MapWholeFile(Write("file", 100).c_str(), ReadBounds{}, Access::kReadWrite, &file),
              ReadStatus::kRead);
    ReadBounds bounds;
    bounds.min_size = 200;
    EXPECT_EQ(MapWholeFile(Path("file").c_str(), bounds, Access::kRead, &file),
              ReadStatus::kTooSmall);
    EXPECT_EQ(file.data(), nullptr);
    EXPECT_LT(file.descriptor(), 0);
}

}  // namespace
}  // namespace lexbase
