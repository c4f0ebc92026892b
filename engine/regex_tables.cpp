// The per-list character tables handed to PCRE2, in the layout that
// pcre2_maketables produces: lower-case map, flip-case map, ten class bitmaps
// and the character-type table, 1088 bytes.
#include <cstdlib>
#include <cstring>

#include "engine/word_list.h"
#include "platform/collation.h"
#include "platform/locale.h"

namespace lexbase {
namespace {

constexpr std::size_t kLowerMap = 0;
constexpr std::size_t kFlipMap = 256;
constexpr std::size_t kClassBits = 512;
constexpr std::size_t kCharTypes = 832;

// Class bitmap offsets within the 320 bytes of bitmaps.
enum ClassBits : std::size_t {
    kSpace = 0,
    kXDigit = 32,
    kDigit = 64,
    kUpper = 96,
    kLower = 128,
    kWord = 160,
    kGraph = 192,
    kPrint = 224,
    kPunct = 256,
    kCntrl = 288,
};

enum CharType : std::uint8_t {
    kTypeSpace = 0x01,
    kTypeLetter = 0x02,
    kTypeLowerLetter = 0x04,
    kTypeDigit = 0x08,
    kTypeWord = 0x10,
};

// The "C" locale classifications, whatever the process locale is.
bool CSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool CDigit(int c) { return c >= '0' && c <= '9'; }
bool CXDigit(int c) { return CDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool CLowerLetter(int c) { return c >= 'a' && c <= 'z'; }
bool CGraph(int c) { return c > ' ' && c < 0x7F; }
bool CPrint(int c) { return c >= ' ' && c < 0x7F; }
bool CCntrl(int c) { return c < ' ' || c == 0x7F; }
bool CPunct(int c) { return CGraph(c) && !CDigit(c) && !((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); }

}  // namespace

bool BuildRegexTables(WordList* list) {
    auto* tables = static_cast<std::uint8_t*>(std::malloc(kRegexTablesSize));
    if (tables == nullptr) return false;
    std::memset(tables, 0, kRegexTablesSize);
    const std::uint8_t* lower = list->lower_table;
    const std::uint8_t* upper = list->upper_table;
    const std::uint32_t code_page = platform::CodePageOf(list->locale);

    for (int c = 0; c < 256; ++c) {
        const auto byte = static_cast<std::uint8_t>(c);
        tables[kLowerMap + c] = lower[c];
        tables[kFlipMap + c] = lower[c] == c ? upper[c] : upper[c] == c ? lower[c] : byte;

        const bool alpha = platform::IsCharAlpha(code_page, byte);
        const bool word = platform::IsCharAlphaNumeric(code_page, byte) || c == '_';
        auto set = [&](std::size_t bitmap, bool on) {
            if (on) tables[kClassBits + bitmap + c / 8] |= static_cast<std::uint8_t>(1u << (c % 8));
        };
        set(kSpace, CSpace(c));
        set(kXDigit, CXDigit(c));
        set(kDigit, CDigit(c));
        set(kUpper, upper[c] == c);
        set(kLower, lower[c] == c);
        set(kWord, word);
        set(kGraph, CGraph(c));
        set(kPrint, CPrint(c));
        set(kPunct, CPunct(c));
        set(kCntrl, CCntrl(c));

        std::uint8_t type = 0;
        if (CSpace(c) && c != 0x0B) type |= kTypeSpace;
        if (alpha) type |= kTypeLetter;
        // PCRE2 reads this bit only in the pattern's own syntax (verb and
        // assertion names), which is ASCII whatever the list.
        if (CLowerLetter(c)) type |= kTypeLowerLetter;
        if (CDigit(c)) type |= kTypeDigit;
        if (word) type |= kTypeWord;
        tables[kCharTypes + c] = type;
    }
    std::free(list->regex_tables);
    list->regex_tables = tables;
    return true;
}

}  // namespace lexbase
