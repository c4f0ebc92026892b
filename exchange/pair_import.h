// Handing translation pairs to the engine: its TXT import reads them from a
// file that lives in memory only, and the imported dictionary is then named.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/lexbase.h"

namespace exchange {

// Imports `txt`, the bytes of a TXT dictionary file, into `db` (which holds
// no dictionary) with the two locales, through a file in memory
// (memfd_create): nothing touches the disk, and nothing is left behind
// however the process ends. The engine's result, or null with errno set
// when the file can't be made.
const DB_RESULT* ImportTxtInMemory(DB_HANDLE db, const std::string& txt,
                                   std::uint32_t primary_locale, std::uint32_t secondary_locale);

// Copies UTF-8 `text` into the fixed field `field` of `size` bytes in code
// page `code_page`, whole characters dropped from its end until it fits.
void SetInfoText(char* field, std::size_t size, std::uint32_t code_page, std::string_view text);

// The texts of an imported dictionary's description, UTF-8.
struct ImportTexts {
    std::string name;
    std::string author;
    std::string description;
    std::string primary_list_name;
    std::string secondary_list_name;
};

// Names the dictionary that an import just built in `db` with `texts`, each
// in the code page of its list (the dictionary's own in the primary list's),
// and gives each 8-bit list the font character set of its code page (a
// UTF-8 list keeps its mark). The engine's result.
const DB_RESULT* DescribeImported(DB_HANDLE db, const ImportTexts& texts);

}  // namespace exchange
