#include "exchange/flat_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace exchange {
namespace {

// Entries whose hashes collide, in full or in the slot they start from, keep
// their own numbers; a full table's last free slot is found past the end.
TEST(FlatIndexTest, CollidingEntriesKeepTheirNumbers) {
    const std::vector<std::string> texts = {"a", "b", "c", "d", "e"};
    for (const std::uint64_t step : {std::uint64_t{0}, std::uint64_t{1} << 32, std::uint64_t{16}}) {
        SCOPED_TRACE(step);
        FlatIndex index(texts.size());
        const auto find = [&](std::size_t i, std::uint32_t fresh) {
            return index.FindOrAdd(15 + i * step, fresh,
                                   [&](std::uint32_t n) { return texts[n] == texts[i]; });
        };
        for (std::uint32_t i = 0; i < texts.size(); ++i) EXPECT_EQ(find(i, i), i);
        for (std::uint32_t i = 0; i < texts.size(); ++i) EXPECT_EQ(find(i, 99), i);
    }
}

}  // namespace
}  // namespace exchange
