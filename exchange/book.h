// An open dictionary as the exporters write it: every word of one list with
// its translations, in UTF-8, and the dictionary's description.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/lexbase.h"

namespace exchange {

struct BookEntry {
    std::string word;
    std::vector<std::string> translations;  // in the word's order
};

struct Book {
    std::vector<BookEntry> entries;  // in the order of the list
    std::string name;                // "From - To": the two lists' names in this direction
    std::string author;
    std::string description;
};

// Reads every word of the list that `direction` translates from
// (DB_TRANS_PRIMARY_TO_SECONDARY: the primary list) with its translations,
// and the description, from the open dictionary of `db`, through lexbase.h
// alone. Words without translations are left out. False with the engine's
// message when the dictionary can't be read.
bool ReadBook(DB_HANDLE db, std::int32_t direction, Book* book, std::string* error);

}  // namespace exchange
