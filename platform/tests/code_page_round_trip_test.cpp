// Every byte of every single-byte code page: what it decodes to encodes back
// into the same byte, alone and as part of the whole 256-byte run.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "platform/code_page.h"

namespace platform {
namespace {

TEST(CodePageRoundTripTest, EveryDefinedByteComesBackUnchanged) {
    for (const std::uint32_t page :
         {874u, 1250u, 1251u, 1252u, 1253u, 1254u, 1255u, 1256u, 1257u, 1258u}) {
        SCOPED_TRACE(page);
        std::string defined;
        std::set<char32_t> seen;
        for (int b = 0; b < 256; ++b) {
            SCOPED_TRACE(b);
            const char32_t ch = DecodeByte(page, static_cast<std::uint8_t>(b));
            if (ch == U'\xFFFD') continue;
            EXPECT_TRUE(seen.insert(ch).second)
                << "two bytes decode to U+" << std::hex << static_cast<std::uint32_t>(ch);
            EXPECT_EQ(EncodeChar(page, ch), b);
            defined += static_cast<char>(b);
        }
        // The ASCII half and nearly all of the upper half are defined.
        EXPECT_GE(defined.size(), 220u);
        bool lossy = true;
        EXPECT_EQ(EncodeFromUtf8(page, DecodeToUtf8(page, defined), &lossy), defined);
        EXPECT_FALSE(lossy);
        EXPECT_EQ(EncodeFromUtf16(page, DecodeToUtf16(page, defined), &lossy), defined);
        EXPECT_FALSE(lossy);
    }
}

}  // namespace
}  // namespace platform
