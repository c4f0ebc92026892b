// What an import reads out of a dictionary in another format: its
// translation pairs and its own description.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "exchange/entry_text.h"

namespace exchange {

struct SourceDictionary {
    std::vector<TranslationPair> pairs;  // in the order of the entries' text
    std::size_t repeated = 0;            // pairs another entry repeated, kept once
    std::string name;                    // the dictionary's own name, UTF-8; may be empty
    std::string description;             // may be empty
    std::string author;                  // may be empty
};

// Keeps the first of each repeated pair, in order (a database may hold one
// entry several times under other offsets); returns how many went.
std::size_t KeepPairsOnce(std::vector<TranslationPair>* pairs);

}  // namespace exchange
