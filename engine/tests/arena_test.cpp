// The arena of nodes and links: blocks and pieces, their reuse, what goes
// back to the system, references, and use from several threads.
#include "engine/arena.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <thread>
#include <vector>

#include "engine/arena_region.h"
#include "engine/lexbase.h"
#include "engine/tests/api_test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define ARENA_TEST_ASAN 1
#endif

namespace lexbase {
namespace {

constexpr std::size_t kMB = std::size_t{1} << 20;

// How many of the pages of [block, block + bytes) are in memory.
std::size_t ResidentPages(void* block, std::size_t bytes) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> in_core((bytes + page - 1) / page);
    if (::mincore(block, bytes, in_core.data()) != 0) return SIZE_MAX;
    std::size_t n = 0;
    for (unsigned char c : in_core) n += c & 1;
    return n;
}

TEST(ArenaTest, TheRegionIsReservedAtLoadAndReachableBy32Bits) {
    const arena::Usage usage = arena::CurrentUsage();
    EXPECT_GE(usage.reserved, std::uint64_t{64} << 20);
    EXPECT_LE(usage.reserved, arena::kMaxRegion);
    EXPECT_NE(arena::region_start, 0u);
    EXPECT_LE(arena::region_start + usage.reserved, arena::kMaxRegion);
    EXPECT_EQ(sizeof(Ref<int>), 4u);
}

// A 32-bit number of 8-byte units reaches 32 GB and no further: the whole
// region lies below it, and a reference to its last unit leads back there.
TEST(ArenaTest, AReferenceToTheRegionsLastUnitLeadsBackToIt) {
    constexpr std::uint64_t k32GB = std::uint64_t{32} << 30;
    const arena::Usage usage = arena::CurrentUsage();
    ASSERT_GT(usage.reserved, 0u);
    EXPECT_LE(arena::region_start + usage.reserved, k32GB);
    auto* const first = reinterpret_cast<std::uint64_t*>(arena::region_start);
    auto* const last =
        reinterpret_cast<std::uint64_t*>(arena::region_start + usage.reserved - arena::kUnit);
    EXPECT_EQ(Ref<std::uint64_t>(first).get(), first);
    EXPECT_EQ(Ref<std::uint64_t>(last).get(), last);
}

TEST(ArenaTest, AFreedBlockGoesBackToTheSystemAndItsRoomIsUsedAgain) {
    arena::Region region(64 * kMB, arena::Region::Placement::kAnywhere);
    ASSERT_EQ(region.size(), 64 * kMB);
    auto* block = static_cast<char*>(region.AllocateBlock(8 * kMB + 5));
    ASSERT_NE(block, nullptr);
    EXPECT_GE(block, region.start() + 4096);  // never at the start: that is null
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % (2 * kMB), 0u);  // huge-page aligned
    std::memset(block, 0x5A, 8 * kMB + 5);
    EXPECT_EQ(block[8 * kMB + 4], 0x5A);
    EXPECT_EQ(region.CurrentUsage().in_use, 8 * kMB + 4096);
    EXPECT_GT(ResidentPages(block, 8 * kMB), 0u);
    region.FreeBlock(block);
    EXPECT_EQ(ResidentPages(block, 8 * kMB + 4096), 0u);
    EXPECT_EQ(region.CurrentUsage().in_use, 0u);
    // The same room serves the next block, which reads as new memory.
    const std::uint64_t committed = region.CurrentUsage().committed;
    auto* again = static_cast<char*>(region.AllocateBlock(8 * kMB));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again, block);
    EXPECT_EQ(again[0], 0);
    EXPECT_EQ(region.CurrentUsage().committed, committed);
    region.FreeBlock(again);
}

TEST(ArenaTest, NeighbouringFreedBlocksJoinIntoOneRoom) {
    arena::Region region(64 * kMB, arena::Region::Placement::kAnywhere);
    std::vector<char*> blocks;
    for (int i = 0; i < 4; ++i)
        blocks.push_back(static_cast<char*>(region.AllocateBlock(64 << 10)));
    // Something above them, so that their room is not simply the top again.
    void* above = region.AllocateBlock(4096);
    for (char* b : blocks) ASSERT_NE(b, nullptr);
    ASSERT_NE(above, nullptr);
    for (std::size_t i = 1; i < blocks.size(); ++i)
        ASSERT_EQ(blocks[i], blocks[i - 1] + (64 << 10));
    // Freed out of order: the first and third, then the second and fourth.
    region.FreeBlock(blocks[0]);
    region.FreeBlock(blocks[2]);
    region.FreeBlock(blocks[1]);
    region.FreeBlock(blocks[3]);
    void* joined = region.AllocateBlock(256 << 10);
    EXPECT_EQ(joined, blocks[0]);
    // A block larger than the region's room is refused, and nothing changes.
    EXPECT_EQ(region.AllocateBlock(64 * kMB), nullptr);
    EXPECT_EQ(region.CurrentUsage().in_use, (256 << 10) + 4096);
    region.FreeBlock(joined);
    region.FreeBlock(above);
}

TEST(ArenaTest, PiecesAreUsedAgainAfterTheyAreFreed) {
    arena::Region region(64 * kMB, arena::Region::Placement::kAnywhere);
    std::vector<void*> pieces;
    for (int i = 0; i < 10000; ++i) {
        void* piece = region.AllocatePiece(i % 2 == 0 ? 24 : 8);
        ASSERT_NE(piece, nullptr);
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(piece) % 8, 0u);
        std::memset(piece, 0xFF, i % 2 == 0 ? 24 : 8);
        pieces.push_back(piece);
    }
    EXPECT_EQ(region.CurrentUsage().in_use, 5000 * 24 + 5000 * 8);
    for (std::size_t i = 0; i < pieces.size(); ++i)
        region.FreePiece(pieces[i], i % 2 == 0 ? 24 : 8);
    EXPECT_EQ(region.CurrentUsage().in_use, 0u);
    // The last piece freed of a size is the first given out again.
    EXPECT_EQ(region.AllocatePiece(24), pieces[9998]);
    EXPECT_EQ(region.AllocatePiece(8), pieces[9999]);
}

#ifdef ARENA_TEST_ASAN
TEST(ArenaTest, FreedMemoryIsPoisonedForTheSanitizer) {
    void* piece = arena::AllocatePiece(24);
    auto* block = static_cast<char*>(arena::AllocateBlock(100));
    EXPECT_FALSE(__asan_address_is_poisoned(piece));
    EXPECT_FALSE(__asan_address_is_poisoned(block + 99));
    EXPECT_TRUE(__asan_address_is_poisoned(block + 100));  // past the end asked for
    arena::FreePiece(piece, 24);
    arena::FreeBlock(block);
    EXPECT_TRUE(__asan_address_is_poisoned(piece));
    EXPECT_TRUE(__asan_address_is_poisoned(block));
}
#endif

TEST(ArenaTest, ReferencesConvertBothWaysAndCompare) {
    struct Item {
        Ref<Item> next;
        std::uint32_t value;
    };
    auto* a = static_cast<Item*>(arena::AllocatePiece(sizeof(Item)));
    auto* b = static_cast<Item*>(arena::AllocatePiece(sizeof(Item)));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    *a = Item{b, 1};
    *b = Item{nullptr, 2};
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(a->next->value, 2u);
    EXPECT_EQ(b->next, nullptr);
    EXPECT_TRUE(a->next == Ref<Item>(b));
    EXPECT_FALSE(a->next == Ref<Item>(a));
    Item* walked = a;
    int n = 0;
    for (; walked != nullptr; walked = walked->next) ++n;
    EXPECT_EQ(n, 2);
    EXPECT_EQ(Ref<Item>().get(), nullptr);  // value-initialised: null
    arena::FreePiece(a, sizeof(Item));
    arena::FreePiece(b, sizeof(Item));
}

// Several handles on several threads make and free nodes and blocks at once;
// each thread's memory keeps what it wrote.
TEST(ArenaTest, ThreadsAllocateAndFreeSideBySide) {
    const std::uint64_t before = arena::CurrentUsage().in_use;
    std::vector<std::thread> threads;
    std::vector<int> faults(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &faults] {
            std::vector<std::uint64_t*> pieces;
            for (int round = 0; round < 20; ++round) {
                auto* block = static_cast<std::uint64_t*>(arena::AllocateBlock(100000));
                for (int i = 0; i < 2000; ++i) {
                    auto* piece = static_cast<std::uint64_t*>(arena::AllocatePiece(16));
                    if (piece == nullptr) {
                        ++faults[t];
                        continue;
                    }
                    piece[0] = piece[1] = (std::uint64_t(t) << 32) | i;
                    pieces.push_back(piece);
                }
                if (block == nullptr) {
                    ++faults[t];
                } else {
                    block[12499] = t;
                    faults[t] += block[12499] != std::uint64_t(t);
                    arena::FreeBlock(block);
                }
                for (std::uint64_t* piece : pieces) {
                    faults[t] += piece[0] != piece[1] || piece[0] >> 32 != std::uint64_t(t);
                    arena::FreePiece(piece, 16);
                }
                pieces.clear();
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < 4; ++t) EXPECT_EQ(faults[t], 0) << "thread " << t;
    EXPECT_EQ(arena::CurrentUsage().in_use, before);
}

using ArenaUseTest = test_support::ScratchDirTest;

// Every node and link of a dictionary, made by edits or by a load, is in the
// arena, and all of it goes back when the dictionary closes.
TEST_F(ArenaUseTest, ADictionaryGivesBackAllItTookWhenItCloses) {
    const std::uint64_t before = arena::CurrentUsage().in_use;
    const std::string file = Path("d.v03");
    DB_HANDLE db = DB_CreateHandle()->handle;
    ASSERT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
    for (int i = 0; i < 300; ++i) {
        const std::string word = "word" + std::to_string(i);
        const std::string translation = "rijec" + std::to_string(i);
        ASSERT_EQ(DB_AddTranslation(db, 1, word.c_str(), translation.c_str())->status, 2);
        ASSERT_EQ(DB_AddTranslation(db, 1, word.c_str(), "isto")->status, 2);
    }
    EXPECT_GT(arena::CurrentUsage().in_use, before);
    ASSERT_EQ(DB_Save(db, DB_FORMAT_V03_SAVE, file.c_str())->status, 1);
    ASSERT_EQ(DB_Close(db)->status, 1);
    ASSERT_EQ(DB_Load(db, DB_FORMAT_V03_LOAD, file.c_str(), 0, 0)->status, 1);
    // Loaded words and links in their blocks, then edits beside them.
    ASSERT_EQ(DB_DeleteTranslation(db, 1, "word7", "isto")->status, 1);
    ASSERT_EQ(DB_AddTranslation(db, 1, "new", "novo")->status, 2);
    ASSERT_EQ(DB_AddTranslation(db, 2, "isto", "same")->status, 2);
    const char* out[8];
    ASSERT_EQ(DB_Translate(db, DB_TRANS_PRIMARY_TO_SECONDARY, "word7", 1, 0, out, 8)->count, 1);
    EXPECT_STREQ(out[0], "rijec7");
    ASSERT_EQ(DB_Close(db)->status, 1);
    EXPECT_EQ(arena::CurrentUsage().in_use, before);
    DB_DestroyHandle(db);
}

}  // namespace
}  // namespace lexbase
