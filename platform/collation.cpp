#include "platform/collation.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/code_page.h"
#include "platform/locale.h"

namespace platform {
namespace {

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};

// Opens the collator of `lcid` set up for the comparison flags, or null.
UCollator* OpenCollator(std::uint32_t lcid, std::uint32_t flags) {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* c = ucol_open(IcuLocaleName(lcid).c_str(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        c = ucol_open("", &status);
        if (U_FAILURE(status)) return nullptr;
    }
    const bool no_case = flags & kNormIgnoreCase;
    const bool no_accents = flags & kNormIgnoreNonSpace;
    if (no_accents) {
        ucol_setStrength(c, UCOL_PRIMARY);
        if (!no_case) ucol_setAttribute(c, UCOL_CASE_LEVEL, UCOL_ON, &status);
    } else {
        ucol_setStrength(c, no_case ? UCOL_SECONDARY : UCOL_TERTIARY);
    }
    return c;
}

// The shared collator of (lcid, flags). Collators are never closed before the
// process ends, so a pointer handed out stays valid.
const UCollator* CollatorOf(std::uint32_t lcid, std::uint32_t flags) {
    flags &= kNormIgnoreCase | kNormIgnoreNonSpace;
    const std::uint64_t key = std::uint64_t{lcid} << 8 | flags;
    thread_local std::uint64_t last_key = ~std::uint64_t{0};
    thread_local const UCollator* last = nullptr;
    if (last_key == key) return last;
    static std::mutex mutex;
    static std::map<std::uint64_t, std::unique_ptr<UCollator, CollatorCloser>> collators;
    std::lock_guard lock(mutex);
    auto it = collators.find(key);
    if (it == collators.end()) {
        it =
            collators
                .emplace(key, std::unique_ptr<UCollator, CollatorCloser>(OpenCollator(lcid, flags)))
                .first;
    }
    last_key = key;
    last = it->second.get();
    return last;
}

// Code page of an LCID, remembered for the last LCID this thread asked about.
std::uint32_t CachedCodePage(std::uint32_t lcid) {
    thread_local std::uint32_t last_lcid = ~0u;
    thread_local std::uint32_t last_page = 1252;
    if (lcid != last_lcid) {
        last_page = CodePageOf(lcid);
        last_lcid = lcid;
    }
    return last_page;
}

// Decodes into a reused per-thread buffer; `slot` tells the two buffers of a
// comparison apart.
const std::u16string& Decoded(std::uint32_t code_page, std::string_view text, int slot) {
    thread_local std::u16string buffers[2];
    std::u16string& out = buffers[slot];
    if (IsMultiByteCodePage(code_page)) {
        out = DecodeToUtf16(code_page, text);
        return out;
    }
    out.clear();
    for (const char byte : text) {
        const char32_t ch = DecodeByte(code_page, static_cast<std::uint8_t>(byte));
        if (ch <= 0xFFFF) {
            out.push_back(static_cast<char16_t>(ch));
        } else {
            out.push_back(static_cast<char16_t>(U16_LEAD(ch)));
            out.push_back(static_cast<char16_t>(U16_TRAIL(ch)));
        }
    }
    return out;
}

// The one-character result of a mapping, encoded back into one byte.
bool OneByte(std::uint32_t code_page, const UChar* text, int32_t length, std::uint8_t* out) {
    if (length <= 0) return false;
    int32_t i = 0;
    UChar32 ch;
    U16_NEXT(text, i, length, ch);
    if (i != length) return false;
    const int byte = EncodeChar(code_page, static_cast<char32_t>(ch));
    if (byte < 0) return false;
    *out = static_cast<std::uint8_t>(byte);
    return true;
}

}  // namespace

int CompareText(std::uint32_t lcid, std::uint32_t flags, std::string_view a, std::string_view b) {
    return CompareTextIn(CachedCodePage(lcid), lcid, flags, a, b);
}

void AppendSortKey(std::uint32_t lcid, std::string_view text, std::string* key) {
    AppendSortKeyIn(CachedCodePage(lcid), lcid, text, key);
}

int CompareTextIn(std::uint32_t code_page, std::uint32_t lcid, std::uint32_t flags,
                  std::string_view a, std::string_view b) {
    const UCollator* c = CollatorOf(lcid, flags);
    const std::u16string& wa = Decoded(code_page, a, 0);
    const std::u16string& wb = Decoded(code_page, b, 1);
    if (c == nullptr) return wa.compare(wb);
    const UCollationResult r =
        ucol_strcoll(c, reinterpret_cast<const UChar*>(wa.data()), static_cast<int32_t>(wa.size()),
                     reinterpret_cast<const UChar*>(wb.data()), static_cast<int32_t>(wb.size()));
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

void AppendSortKeyIn(std::uint32_t code_page, std::uint32_t lcid, std::string_view text,
                     std::string* key) {
    const UCollator* c = CollatorOf(lcid, 0);
    const std::u16string& w = Decoded(code_page, text, 0);
    if (c == nullptr) {
        key->append(reinterpret_cast<const char*>(w.data()), w.size() * 2);
        return;
    }
    const std::size_t start = key->size();
    std::size_t room = w.size() * 4 + 16;
    for (;;) {
        key->resize(start + room);
        const int32_t needed = ucol_getSortKey(
            c, reinterpret_cast<const UChar*>(w.data()), static_cast<int32_t>(w.size()),
            reinterpret_cast<std::uint8_t*>(key->data() + start), static_cast<int32_t>(room));
        if (needed <= 0) {
            key->resize(start);
            return;
        }
        if (static_cast<std::size_t>(needed) <= room) {
            key->resize(start + needed - 1);  // without the terminating zero
            return;
        }
        room = needed;
    }
}

bool MapByte(std::uint32_t lcid, std::uint32_t flags, std::uint8_t c, std::uint8_t* out) {
    const std::uint32_t code_page = CodePageOf(lcid);
    const char32_t ch = DecodeByte(code_page, c);
    if (ch == 0xFFFD || ch > 0xFFFF) return false;
    const UChar in[1] = {static_cast<UChar>(ch)};
    UChar mapped[8];
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    if (flags & kLcmapUppercase) {
        length = u_strToUpper(mapped, 8, in, 1, IcuLocaleName(lcid).c_str(), &status);
    } else if (flags & kLcmapLowercase) {
        length = u_strToLower(mapped, 8, in, 1, IcuLocaleName(lcid).c_str(), &status);
    } else if (flags & kNormIgnoreNonSpace) {
        const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
        UChar decomposed[8];
        const int32_t n =
            U_SUCCESS(status) ? unorm2_normalize(nfd, in, 1, decomposed, 8, &status) : 0;
        if (U_FAILURE(status)) return false;
        for (int32_t i = 0; i < n; ++i) {
            if (u_charType(decomposed[i]) != U_NON_SPACING_MARK) mapped[length++] = decomposed[i];
        }
    } else {
        return false;
    }
    if (U_FAILURE(status)) return false;
    return OneByte(code_page, mapped, length, out);
}

bool IsCharAlpha(std::uint32_t code_page, std::uint8_t c) {
    const char32_t ch = DecodeByte(code_page, c);
    return ch != 0xFFFD && u_isalpha(static_cast<UChar32>(ch));
}

bool IsCharAlphaNumeric(std::uint32_t code_page, std::uint8_t c) {
    const char32_t ch = DecodeByte(code_page, c);
    return ch != 0xFFFD && u_isalnum(static_cast<UChar32>(ch));
}

}  // namespace platform
