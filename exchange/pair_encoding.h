// Turning FreeDict translation pairs into the pairs of a dictionary: the
// language of each FreeDict code, and each side encoded in its language's
// code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "exchange/entry_text.h"

namespace exchange {

struct Language {
    std::uint32_t lcid;
    const char* name;  // English name, used as the list name
};

// The language of an ISO 639-1, -2 or -3 code ("hr", "hrv", "deu", "ger")
// through ICU: its locale's LCID in the language's likeliest country, in the
// script FreeDict writes it in (Serbian is Cyrillic), and its English name.
// A language without an LCID gets LOCALE_CUSTOM_UNSPECIFIED (0x1000), whose
// lists are UTF-8; one ICU does not know is also named by its code.
Language LanguageOfCode(const std::string& code);

// The Windows font character set that goes with an ANSI code page.
std::uint32_t CharsetOfCodePage(std::uint32_t code_page);

// The pairs that an encoding kept, each text NUL-terminated: either a text
// of the pairs given, when encoding changed nothing, or a copy of its own.
struct EncodedPairs {
    EncodedPairs() = default;
    EncodedPairs(const EncodedPairs&) = delete;
    EncodedPairs& operator=(const EncodedPairs&) = delete;
    EncodedPairs(EncodedPairs&&) = default;
    EncodedPairs& operator=(EncodedPairs&&) = default;

    // texts[2 i] is the primary text of kept pair i, texts[2 i + 1] its
    // secondary text.
    std::vector<const char*> texts;
    std::vector<std::uint32_t> lengths;  // lengths[n]: bytes of texts[n]
    // The texts encoding changed, in pieces of work; none of them moves.
    std::deque<std::deque<std::string>> converted;
    std::size_t kept = 0;
    std::size_t dropped = 0;    // the sum of the reasons below
    std::size_t empty = 0;      // a side without text
    std::size_t too_long = 0;   // a side longer than a word may be (65,535 bytes)
    std::size_t separator = 0;  // a side holding a TAB, CR, LF or NUL
    std::size_t lacking = 0;    // a character the side's code page lacks
    std::size_t crowded = 0;    // a word that has 65,535 translations already

    // "3 with an empty word, 1 with a character the code page lacks", the
    // reasons that dropped pairs.
    std::string Reasons() const;
    // The kept pairs as a TXT dictionary file: TAB-separated lines ending in
    // CR LF.
    std::string Txt() const;
};

// Encodes UTF-8 pairs into the two code pages; code page 65001 keeps a side
// in UTF-8 (malformed bytes mended), which the import then puts into its
// list's code page where every text fits. A pair with a character either
// code page lacks, or with a side empty, longer than a stored word may be or
// holding a separator, is dropped and counted; so is a pair beyond the 65,535
// translations that a word can have. The result may point into `pairs`,
// which must outlive it unchanged.
EncodedPairs EncodePairs(const std::vector<TranslationPair>& pairs, std::uint32_t primary_code_page,
                         std::uint32_t secondary_code_page, bool swap);
// Pairs that would be gone before their encoding is used.
EncodedPairs EncodePairs(std::vector<TranslationPair>&& pairs, std::uint32_t primary_code_page,
                         std::uint32_t secondary_code_page, bool swap) = delete;

}  // namespace exchange
