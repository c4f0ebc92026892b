#include "ui/settings/char_pages.h"

#include <unicode/uchar.h>
#include <unicode/ulocdata.h>
#include <unicode/uset.h>

#include <memory>

#include "platform/locale.h"

namespace charmap {
namespace {

bool typeable(UChar32 ch) {
    switch (u_charType(ch)) {
        case U_UNASSIGNED:
        case U_CONTROL_CHAR:
        case U_FORMAT_CHAR:
        case U_SURROGATE:
        case U_PRIVATE_USE_CHAR:
        case U_LINE_SEPARATOR:
        case U_PARAGRAPH_SEPARATOR:
            return false;
        default:
            return true;
    }
}

bool hiddenBlock(int code) {
    return code == UBLOCK_NO_BLOCK || code == UBLOCK_HIGH_SURROGATES ||
           code == UBLOCK_HIGH_PRIVATE_USE_SURROGATES || code == UBLOCK_LOW_SURROGATES ||
           code == UBLOCK_PRIVATE_USE_AREA || code == UBLOCK_SUPPLEMENTARY_PRIVATE_USE_AREA_A ||
           code == UBLOCK_SUPPLEMENTARY_PRIVATE_USE_AREA_B;
}

std::vector<UnicodeBlock> findBlocks() {
    std::vector<UnicodeBlock> blocks;
    int current = -1;
    for (UChar32 ch = 0; ch <= 0x10FFFF; ++ch) {
        const int code = ublock_getCode(ch);
        if (code == current) {
            if (!blocks.empty() && !hiddenBlock(code)) blocks.back().last = char32_t(ch);
            continue;
        }
        current = code;
        if (hiddenBlock(code)) continue;
        std::string name = u_getPropertyValueName(UCHAR_BLOCK, code, U_LONG_PROPERTY_NAME);
        for (char& c : name) {
            if (c == '_') c = ' ';
        }
        blocks.push_back({std::move(name), char32_t(ch), char32_t(ch)});
    }
    return blocks;
}

}  // namespace

const std::vector<UnicodeBlock>& unicodeBlocks() {
    static const std::vector<UnicodeBlock> blocks = findBlocks();
    return blocks;
}

std::vector<char32_t> blockChars(const UnicodeBlock& block) {
    std::vector<char32_t> chars;
    for (char32_t ch = block.first; ch <= block.last; ++ch) {
        if (typeable(UChar32(ch))) chars.push_back(ch);
    }
    return chars;
}

std::vector<char32_t> languageLetters(std::uint32_t lcid) {
    const std::string locale = platform::IcuLocaleName(lcid);
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<ULocaleData, decltype(&ulocdata_close)> data(
        ulocdata_open(locale.c_str(), &status), &ulocdata_close);
    std::unique_ptr<USet, decltype(&uset_close)> set(uset_openEmpty(), &uset_close);
    if (U_FAILURE(status) || !data) return {};
    ulocdata_getExemplarSet(data.get(), set.get(), 0, ULOCDATA_ES_STANDARD, &status);
    if (U_FAILURE(status)) return {};
    uset_closeOver(set.get(), USET_CASE_INSENSITIVE);
    std::vector<char32_t> letters;
    const int32_t ranges = uset_getRangeCount(set.get());
    for (int32_t i = 0; i < ranges; ++i) {
        UChar32 first = 0;
        UChar32 last = 0;
        status = U_ZERO_ERROR;
        uset_getItem(set.get(), i, &first, &last, nullptr, 0, &status);
        for (UChar32 ch = first; ch <= last; ++ch) {
            if (typeable(ch)) letters.push_back(char32_t(ch));
        }
    }
    return letters;
}

}  // namespace charmap
