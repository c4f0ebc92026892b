// The character folds computed from ICU's Unicode data. The build turns them
// into the table that platform::FoldChar reads (platform/generate/), so that
// folding needs no ICU at run time; tests check the two agree everywhere.
#pragma once

#include <cstdint>

namespace platform {

// What FoldChar(ch, flags) gives, computed from ICU's case folding and
// canonical decompositions.
char32_t UnicodeFoldChar(char32_t ch, std::uint32_t flags);

}  // namespace platform
