#include "platform/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/utf8.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Opens the ICU converter of a Windows code page, or null.
ConverterPtr OpenConverter(std::uint32_t code_page) {
    const std::string names[] = {"windows-" + std::to_string(code_page),
                                 "cp" + std::to_string(code_page),
                                 "ibm-" + std::to_string(code_page)};
    for (const std::string& name : names) {
        UErrorCode status = U_ZERO_ERROR;
        UConverter* c = ucnv_open(name.c_str(), &status);
        if (U_SUCCESS(status)) return ConverterPtr(c);
    }
    return nullptr;
}

// The 256 code points of a single-byte code page and the way back.
struct ByteTable {
    std::array<char32_t, 256> to_unicode{};
    std::unordered_map<char32_t, std::uint8_t> from_unicode;
};

ByteTable BuildByteTable(std::uint32_t code_page) {
    ByteTable table;
    if (code_page == kUtf8CodePage) {  // alone, a byte of UTF-8 is a character only below 128
        for (int c = 0; c < 256; ++c) {
            table.to_unicode[c] = c < 0x80 ? static_cast<char32_t>(c) : kReplacement;
            if (c < 0x80) table.from_unicode.emplace(static_cast<char32_t>(c), c);
        }
        return table;
    }
    ConverterPtr converter = OpenConverter(code_page);
    if (!converter) converter = OpenConverter(1252);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    for (int c = 0; c < 256; ++c) {
        const char byte = static_cast<char>(c);
        UChar out[4];
        status = U_ZERO_ERROR;
        ucnv_resetToUnicode(converter.get());
        const int32_t n = ucnv_toUChars(converter.get(), out, 4, &byte, 1, &status);
        char32_t ch = kReplacement;
        if (U_SUCCESS(status) && n >= 1) {
            int32_t i = 0;
            UChar32 cp;
            U16_NEXT(out, i, n, cp);
            if (i == n) ch = static_cast<char32_t>(cp);
        }
        table.to_unicode[c] = ch;
        if (ch != kReplacement) table.from_unicode.emplace(ch, static_cast<std::uint8_t>(c));
    }
    return table;
}

const ByteTable& TableOf(std::uint32_t code_page) {
    static std::mutex mutex;
    static std::map<std::uint32_t, std::unique_ptr<ByteTable>> tables;
    thread_local std::uint32_t last_page = 0;
    thread_local const ByteTable* last_table = nullptr;
    if (last_table != nullptr && last_page == code_page) return *last_table;
    std::lock_guard lock(mutex);
    auto& slot = tables[code_page];
    if (!slot) slot = std::make_unique<ByteTable>(BuildByteTable(code_page));
    last_page = code_page;
    last_table = slot.get();
    return *slot;
}

// Converter of a double-byte page for this thread (ICU converters are not
// shared between threads).
UConverter* ThreadConverter(std::uint32_t code_page) {
    thread_local std::map<std::uint32_t, ConverterPtr> converters;
    auto& slot = converters[code_page];
    if (!slot) slot = OpenConverter(code_page);
    if (slot) ucnv_reset(slot.get());
    return slot.get();
}

}  // namespace

bool IsDoubleByteCodePage(std::uint32_t code_page) {
    return code_page == 932 || code_page == 936 || code_page == 949 || code_page == 950;
}

char32_t DecodeByte(std::uint32_t code_page, std::uint8_t c) {
    return TableOf(code_page).to_unicode[c];
}

int EncodeChar(std::uint32_t code_page, char32_t ch) {
    const auto& map = TableOf(code_page).from_unicode;
    const auto it = map.find(ch);
    return it == map.end() ? -1 : it->second;
}

std::u16string DecodeToUtf16(std::uint32_t code_page, std::string_view text) {
    std::u16string out;
    if (code_page == kUtf8CodePage) {
        out.resize(text.size() + 1);
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                             &length, text.data(), static_cast<int32_t>(text.size()), kReplacement,
                             nullptr, &status);
        out.resize(U_SUCCESS(status) ? length : 0);
        return out;
    }
    if (IsDoubleByteCodePage(code_page)) {
        if (UConverter* c = ThreadConverter(code_page)) {
            out.resize(text.size() * 2 + 2);
            UErrorCode status = U_ZERO_ERROR;
            const int32_t n =
                ucnv_toUChars(c, out.data(), static_cast<int32_t>(out.size()), text.data(),
                              static_cast<int32_t>(text.size()), &status);
            if (U_SUCCESS(status)) {
                out.resize(n);
                return out;
            }
            out.clear();
        }
    }
    const ByteTable& table = TableOf(code_page);
    out.reserve(text.size());
    for (const char byte : text) {
        const char32_t ch = table.to_unicode[static_cast<std::uint8_t>(byte)];
        if (ch <= 0xFFFF) {
            out.push_back(static_cast<char16_t>(ch));
        } else {
            out.push_back(static_cast<char16_t>(U16_LEAD(ch)));
            out.push_back(static_cast<char16_t>(U16_TRAIL(ch)));
        }
    }
    return out;
}

std::string DecodeToUtf8(std::uint32_t code_page, std::string_view text) {
    const std::u16string wide = DecodeToUtf16(code_page, text);
    std::string out(wide.size() * 3 + 1, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                       reinterpret_cast<const UChar*>(wide.data()),
                       static_cast<int32_t>(wide.size()), 0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? length : 0);
    return out;
}

std::string EncodeFromUtf16(std::uint32_t code_page, std::u16string_view text, bool* lossy) {
    std::string out;
    bool lost = false;
    if (code_page == kUtf8CodePage) {
        // Only a lone surrogate has no UTF-8 form.
        out.resize(text.size() * 3 + 1);
        int32_t length = 0;
        int32_t substituted = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                           reinterpret_cast<const UChar*>(text.data()),
                           static_cast<int32_t>(text.size()), '?', &substituted, &status);
        out.resize(U_SUCCESS(status) ? length : 0);
        if (lossy != nullptr) *lossy = substituted > 0 || U_FAILURE(status);
        return out;
    }
    if (IsDoubleByteCodePage(code_page)) {
        if (UConverter* c = ThreadConverter(code_page)) {
            out.resize(text.size() * 4 + 4);
            UErrorCode status = U_ZERO_ERROR;
            ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
            // Character by character, so that one the page lacks becomes '?'.
            std::size_t written = 0;
            for (std::size_t i = 0; i < text.size();) {
                std::size_t n = (U16_IS_LEAD(text[i]) && i + 1 < text.size()) ? 2 : 1;
                status = U_ZERO_ERROR;
                ucnv_resetFromUnicode(c);
                const int32_t got = ucnv_fromUChars(c, out.data() + written,
                                                    static_cast<int32_t>(out.size() - written),
                                                    reinterpret_cast<const UChar*>(text.data() + i),
                                                    static_cast<int32_t>(n), &status);
                if (U_SUCCESS(status) && got > 0) {
                    written += got;
                } else {
                    out[written++] = '?';
                    lost = true;
                }
                i += n;
            }
            out.resize(written);
            if (lossy != nullptr) *lossy = lost;
            return out;
        }
    }
    const auto& map = TableOf(code_page).from_unicode;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        UChar32 ch;
        U16_NEXT(text.data(), i, text.size(), ch);
        const auto it = map.find(static_cast<char32_t>(ch));
        if (it == map.end()) {
            out.push_back('?');
            lost = true;
        } else {
            out.push_back(static_cast<char>(it->second));
        }
    }
    if (lossy != nullptr) *lossy = lost;
    return out;
}

std::string EncodeFromUtf8(std::uint32_t code_page, std::string_view utf8, bool* lossy) {
    if (code_page == kUtf8CodePage && IsValidUtf8(utf8)) {
        if (lossy != nullptr) *lossy = false;
        return std::string(utf8);
    }
    std::u16string wide(utf8.size() + 1, u'\0');
    int32_t length = 0;
    int32_t substituted = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(wide.data()), static_cast<int32_t>(wide.size()),
                         &length, utf8.data(), static_cast<int32_t>(utf8.size()), 0xFFFD,
                         &substituted, &status);
    wide.resize(U_SUCCESS(status) ? length : 0);
    std::string out = EncodeFromUtf16(code_page, wide, lossy);
    if (lossy != nullptr && code_page == kUtf8CodePage) *lossy = true;  // it was malformed
    return out;
}

void DecodeToCodePoints(std::uint32_t code_page, std::string_view text, std::u32string* out) {
    out->clear();
    if (code_page == kUtf8CodePage) {
        DecodeUtf8(text, out);
        return;
    }
    if (!IsDoubleByteCodePage(code_page)) {
        const ByteTable& table = TableOf(code_page);
        for (const char byte : text)
            out->push_back(table.to_unicode[static_cast<std::uint8_t>(byte)]);
        return;
    }
    const std::u16string wide = DecodeToUtf16(code_page, text);
    for (std::size_t i = 0; i < wide.size();) {
        UChar32 ch;
        U16_NEXT(wide.data(), i, wide.size(), ch);
        out->push_back(static_cast<char32_t>(ch));
    }
}

char32_t DecodeCharAt(std::uint32_t code_page, std::string_view text, std::size_t i,
                      std::size_t* bytes) {
    *bytes = 1;
    const auto byte = static_cast<std::uint8_t>(text[i]);
    if (code_page == kUtf8CodePage) {
        if (byte < 0x80) return byte;
        const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto length = static_cast<std::int32_t>(text.size());
        auto at = static_cast<std::int32_t>(i);
        UChar32 ch;
        U8_NEXT(s, at, length, ch);
        *bytes = static_cast<std::size_t>(at) - i;
        return ch < 0 ? kReplacement : static_cast<char32_t>(ch);
    }
    if (!IsDoubleByteCodePage(code_page)) return TableOf(code_page).to_unicode[byte];
    UConverter* c = ThreadConverter(code_page);
    if (c == nullptr) return kReplacement;
    // No character of these pages is longer than two bytes; four leaves room
    // for what a converter may read ahead.
    const char* source = text.data() + i;
    const char* limit = text.data() + std::min(text.size(), i + 4);
    UErrorCode status = U_ZERO_ERROR;
    const UChar32 ch = ucnv_getNextUChar(c, &source, limit, &status);
    const auto used = static_cast<std::size_t>(source - (text.data() + i));
    *bytes = used >= 1 ? used : 1;
    if (U_FAILURE(status) || ch < 0) return kReplacement;
    return static_cast<char32_t>(ch);
}

void EncodeToUtf8(std::u32string_view text, std::string* out) {
    out->clear();
    for (char32_t ch : text) {
        if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) ch = kReplacement;
        std::uint8_t bytes[4];
        int32_t length = 0;
        U8_APPEND_UNSAFE(bytes, length, static_cast<UChar32>(ch));
        out->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
    }
}

bool LooksLikeUtf8(std::string_view text) { return !IsAscii(text) && IsValidUtf8(text); }

bool IsAscii(std::string_view text) {
    std::uint8_t any = 0;
    for (const char c : text) any |= static_cast<std::uint8_t>(c);
    return any < 0x80;
}

}  // namespace platform
