// Turning FreeDict translation pairs into a TXT dictionary file: the language
// of each FreeDict code, and each side encoded in its language's code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/freedict_reader.h"

namespace cli {

struct Language {
    std::uint32_t lcid;
    const char* name;  // English name, used as the list name
};

// The language of an ISO 639 code as FreeDict names them ("hrv", "deu");
// English (United States) with the code as its name for a code not known.
Language LanguageOfCode(const std::string& code);

// The Windows font character set that goes with an ANSI code page.
std::uint32_t CharsetOfCodePage(std::uint32_t code_page);

struct EncodedPairs {
    std::string txt;  // TAB-separated lines ending in CR LF
    std::size_t kept = 0;
    std::size_t dropped = 0;  // a side the code page cannot hold
};

// Encodes UTF-8 pairs into the two code pages as a TXT dictionary file. A
// pair with a character either code page lacks, or with a side empty or
// longer than a stored word may be, is dropped and counted.
EncodedPairs EncodePairs(const std::vector<TranslationPair>& pairs, std::uint32_t primary_code_page,
                         std::uint32_t secondary_code_page, bool swap);

}  // namespace cli
