// The engine's wildcard matching of words (platform/wildcard.h has the
// matcher itself, for any character type).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/wildcard.h"

namespace lexbase {

using platform::MatchesWildcardsWith;

// The byte form: bytes compare through `table` (256 entries), x matching y
// when table[x] == table[y].
bool MatchesWildcards(std::string_view pattern, std::string_view word, const std::uint8_t* table);

}  // namespace lexbase
