#include "exchange/dictd_format.h"

#include <locale.h>
#include <wctype.h>

#include "platform/code_page.h"

namespace exchange {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint64_t kMaxDictdNumber = std::uint64_t{1} << 48;

// The character classes of a UTF-8 locale, which dictd folds its keys by;
// null when the system has none.
locale_t Utf8Classes() {
    static const locale_t classes = [] {
        locale_t found = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
        if (found == locale_t{}) found = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", locale_t{});
        return found;
    }();
    return classes;
}

}  // namespace

bool DecodeDictdNumber(std::string_view text, std::uint64_t* value) {
    if (text.empty()) return false;
    std::uint64_t v = 0;
    for (const char c : text) {
        const auto digit = kAlphabet.find(c);
        if (digit == std::string_view::npos) return false;
        v = v * 64 + digit;
        if (v >= kMaxDictdNumber) return false;
    }
    *value = v;
    return true;
}

std::string EncodeDictdNumber(std::uint64_t value) {
    std::string text;
    do {
        text.insert(text.begin(), kAlphabet[value % 64]);
        value /= 64;
    } while (value != 0);
    return text;
}

std::string DictdKey(std::string_view headword) {
    std::u32string chars;
    platform::DecodeToCodePoints(platform::kUtf8CodePage, headword, &chars);
    // Without a UTF-8 locale only ASCII letters fold; other characters stay.
    const locale_t classes = Utf8Classes();
    const bool unicode = classes != locale_t{};
    std::u32string kept;
    kept.reserve(chars.size());
    for (const char32_t c : chars) {
        const auto wide = static_cast<wint_t>(c);
        if (c == 0xFFFD) continue;  // malformed
        const bool ascii = c < 128;
        if (unicode ? iswspace_l(wide, classes) != 0 : ascii && iswspace(wide) != 0) {
            if (kept.empty() || kept.back() != U' ') kept += U' ';
        } else if (unicode ? iswalnum_l(wide, classes) != 0 : !ascii || iswalnum(wide) != 0) {
            kept += unicode ? static_cast<char32_t>(towlower_l(wide, classes))
                    : ascii ? static_cast<char32_t>(towlower(wide))
                            : c;
        }
    }
    const auto first = kept.find_first_not_of(U' ');
    if (first == std::u32string::npos) return {};
    kept = kept.substr(first, kept.find_last_not_of(U' ') + 1 - first);
    std::string key;
    platform::EncodeToUtf8(kept, &key);
    return key;
}

bool IsDatabaseEntry(std::string_view headword) {
    return headword.substr(0, 10) == "00database" || headword.substr(0, 12) == "00-database-";
}

}  // namespace exchange
