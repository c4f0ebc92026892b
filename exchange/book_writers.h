// Writing an open dictionary's Book (exchange/book.h) in the formats other
// dictionary programs read: StarDict (exchange/stardict_format.h) and dictd.
// Each entry's text is the word's translations as FreeDict lays them out
// (exchange/entry_text.h), so that the readers of this layer read every pair
// back.
#pragma once

#include <cstddef>
#include <string>

#include "exchange/book.h"

namespace exchange {

// What a writer made of a Book.
struct WriteReport {
    std::size_t words = 0;     // entries written
    std::size_t left_out = 0;  // words the format can't hold (see each writer)
    std::size_t inexact = 0;   // entries whose translations would read back otherwise
    std::size_t synonyms = 0;  // StarDict: synonyms written
};

// Writes `book` as the StarDict dictionary NAME.ifo, NAME.idx, NAME.dict.dz
// and, when there are synonyms, NAME.syn, where `path` is NAME.ifo (or NAME).
// Each word's plain form without accents ("kuca" for "kuća") is its synonym
// when no word is written so. Words of 256 bytes or more are left out. The
// files replace the old ones only when all of them were written
// (exchange/file_set.h); then an old NAME.idx.gz, which readers would take
// instead of NAME.idx, and an old NAME.syn that no longer belongs go. A dictd
// database NAME.index, whose text NAME.dict.dz is too, makes it fail.
bool WriteStarDict(const Book& book, const std::string& path, WriteReport* report,
                   std::string* error);

// Writes `book` as the dictd database NAME.index and NAME.dict.dz, where
// `path` is NAME.index (or NAME), UTF-8, its name and description in the
// "00-database-short" and "00-database-info" entries. Each entry's text
// begins with its word; the index keeps each word's key (DictdKey) and the
// word itself in its fourth field. Words without a letter or digit, which
// dictd can't look up, are left out. A StarDict dictionary NAME.ifo, whose
// text NAME.dict.dz is too, makes it fail.
bool WriteDictd(const Book& book, const std::string& path, WriteReport* report, std::string* error);

}  // namespace exchange
