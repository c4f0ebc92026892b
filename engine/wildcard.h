// Matching a whole word against a pattern with the wildcards `*` (any run of
// bytes, also none) and `?` (exactly one byte). Both are recognised in the
// pattern's raw bytes; there is no escape. Every other byte matches a word
// byte that the comparison table equates with it.
#pragma once

#include <cstdint>
#include <string_view>

namespace lexbase {

// Whether the whole of `word` matches `pattern`. Bytes compare through
// `table` (256 entries): x matches y when table[x] == table[y]. Runs in time
// proportional to the product of the two lengths at worst, with one
// backtracking point (the latest `*`) and no recursion.
bool MatchesWildcards(std::string_view pattern, std::string_view word, const std::uint8_t* table);

}  // namespace lexbase
