#include "engine/wildcard.h"

namespace lexbase {

bool MatchesWildcards(std::string_view pattern, std::string_view word, const std::uint8_t* table) {
    return MatchesWildcardsWith(pattern, word, [table](char p, char w) {
        return table[static_cast<std::uint8_t>(p)] == table[static_cast<std::uint8_t>(w)];
    });
}

}  // namespace lexbase
