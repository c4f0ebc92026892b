#include "exchange/pair_encoding.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <mutex>
#include <set>
#include <string_view>
#include <utility>

#include "exchange/flat_index.h"
#include "platform/code_page.h"
#include "platform/locale.h"
#include "platform/side_by_side.h"

namespace exchange {
namespace {

constexpr std::size_t kMaxWordBytes = 65535;
constexpr std::uint32_t kMaxTranslations = 65535;

// ISO 639-2 bibliographic codes, which ICU takes for no language, and their
// terminological twins.
constexpr std::pair<const char*, const char*> kBibliographicCodes[] = {
    {"alb", "sqi"}, {"arm", "hye"}, {"baq", "eus"}, {"bur", "mya"}, {"chi", "zho"},
    {"cze", "ces"}, {"dut", "nld"}, {"fre", "fra"}, {"geo", "kat"}, {"ger", "deu"},
    {"gre", "ell"}, {"ice", "isl"}, {"mac", "mkd"}, {"mao", "mri"}, {"may", "msa"},
    {"per", "fas"}, {"rum", "ron"}, {"slo", "slk"}, {"tib", "bod"}, {"wel", "cym"},
};

// Languages whose FreeDict data is in another script than ICU's likeliest:
// FreeDict's Serbian is Cyrillic, which Windows names Serbian (Cyrillic,
// Serbia and Montenegro).
constexpr std::pair<const char*, const char*> kScriptLocales[] = {{"sr", "sr_Cyrl_CS"}};

std::string IcuText(const std::function<int32_t(char*, int32_t, UErrorCode*)>& call) {
    char text[ULOC_FULLNAME_CAPACITY];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = call(text, sizeof text - 1, &status);
    if (U_FAILURE(status) || length <= 0) return {};
    return std::string(text, static_cast<std::size_t>(length));
}

// A stable copy of `name`, for the life of the process.
const char* Interned(const std::string& name) {
    static std::mutex mutex;
    static std::set<std::string> names;
    std::lock_guard lock(mutex);
    return names.insert(name).first->c_str();
}

}  // namespace

Language LanguageOfCode(const std::string& given) {
    std::string code = given;
    std::transform(code.begin(), code.end(), code.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [bibliographic, terminological] : kBibliographicCodes) {
        if (code == bibliographic) code = terminological;
    }
    const std::string tag = IcuText([&](char* out, int32_t size, UErrorCode* status) {
        int32_t parsed = 0;
        return uloc_forLanguageTag(code.c_str(), out, size, &parsed, status);
    });
    std::string locale =
        tag.empty() ? std::string() : IcuText([&](char* out, int32_t size, UErrorCode* status) {
            return uloc_canonicalize(tag.c_str(), out, size, status);
        });
    const std::string language = IcuText([&](char* out, int32_t size, UErrorCode* status) {
        return uloc_getLanguage(locale.c_str(), out, size, status);
    });
    bool scripted = false;
    for (const auto& [plain, with_script] : kScriptLocales) {
        if (language == plain) {
            locale = with_script;
            scripted = true;
        }
    }
    // The English name, when ICU has one; else the code names the list.
    std::string name;
    if (!language.empty()) {
        UChar wide[128];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = uloc_getDisplayLanguage(locale.c_str(), "en", wide, 127, &status);
        if (U_SUCCESS(status) && length > 0) {
            name = platform::EncodeFromUtf16(platform::kUtf8CodePage,
                                             std::u16string_view(reinterpret_cast<char16_t*>(wide),
                                                                 static_cast<std::size_t>(length)));
        }
    }
    if (name.empty() || name == language) name = given;

    // The LCID of the language in its likeliest country (de -> de_DE, 1031),
    // or of the locale as it is; a specific one before a neutral one.
    std::uint32_t lcid = 0;
    if (scripted) {
        lcid = uloc_getLCID(locale.c_str());
    } else if (!language.empty()) {
        const std::string likely = IcuText([&](char* out, int32_t size, UErrorCode* status) {
            return uloc_addLikelySubtags(locale.c_str(), out, size, status);
        });
        const std::string country = IcuText([&](char* out, int32_t size, UErrorCode* status) {
            return uloc_getCountry(likely.c_str(), out, size, status);
        });
        const std::uint32_t candidates[] = {
            country.empty() ? 0u : uloc_getLCID((language + "_" + country).c_str()),
            uloc_getLCID(locale.c_str()), uloc_getLCID(likely.c_str())};
        for (const std::uint32_t candidate : candidates) {
            if (candidate > 0x3FF) {
                lcid = candidate;
                break;
            }
            if (lcid == 0) lcid = candidate;
        }
    }
    if (lcid == 0) lcid = platform::kLcidCustomUnspecified;  // a UTF-8 list of its own
    return {lcid, Interned(name)};
}

std::uint32_t CharsetOfCodePage(std::uint32_t code_page) {
    switch (code_page) {
        case 874:
            return 222;  // THAI_CHARSET
        case 932:
            return 128;  // SHIFTJIS_CHARSET
        case 936:
            return 134;  // GB2312_CHARSET
        case 949:
            return 129;  // HANGUL_CHARSET
        case 950:
            return 136;  // CHINESEBIG5_CHARSET
        case 1250:
            return 238;  // EASTEUROPE_CHARSET
        case 1251:
            return 204;  // RUSSIAN_CHARSET
        case 1253:
            return 161;  // GREEK_CHARSET
        case 1254:
            return 162;  // TURKISH_CHARSET
        case 1255:
            return 177;  // HEBREW_CHARSET
        case 1256:
            return 178;  // ARABIC_CHARSET
        case 1257:
            return 186;  // BALTIC_CHARSET
        case 1258:
            return 163;  // VIETNAMESE_CHARSET
        default:
            return 0;  // ANSI_CHARSET
    }
}

std::string EncodedPairs::Reasons() const {
    std::string text;
    const std::pair<std::size_t, const char*> reasons[] = {
        {empty, "with an empty word"},
        {too_long, "with a word longer than 65535 bytes"},
        {separator, "with a TAB, line break or NUL in a word"},
        {lacking, "with a character the code page lacks"},
        {crowded, "beyond the 65535 translations a word can have"},
    };
    for (const auto& [count, why] : reasons) {
        if (count == 0) continue;
        if (!text.empty()) text += ", ";
        text += std::to_string(count) + " " + why;
    }
    return text;
}

std::string EncodedPairs::Txt() const {
    std::size_t size = 0;
    for (const std::uint32_t length : lengths) size += length + 2;  // TAB, or CR LF
    std::string txt;
    txt.reserve(size);
    for (std::size_t i = 0; i + 1 < texts.size(); i += 2) {
        txt.append(texts[i], lengths[i]);
        txt += '\t';
        txt.append(texts[i + 1], lengths[i + 1]);
        txt += "\r\n";
    }
    return txt;
}

namespace {

// How many pairs name each text of one side.
class TextCounts {
public:
    explicit TextCounts(std::size_t most) : index_(most) {}
    std::uint32_t* Of(std::string_view text) {
        const auto fresh = static_cast<std::uint32_t>(texts_.size());
        const std::uint32_t number = index_.FindOrAdd(
            HashText(text), fresh, [&](std::uint32_t n) { return texts_[n] == text; });
        if (number == fresh) {
            texts_.push_back(text);
            counts_.push_back(0);
        }
        return &counts_[number];
    }

private:
    FlatIndex index_;
    std::vector<std::string_view> texts_;  // which stay where they are
    std::vector<std::uint32_t> counts_;
};

// Drops the pairs beyond the 65,535 translations that a text can have, in
// order. Most data has no such text, which both sides, counted side by side,
// show; only then are the pairs taken one by one. The counts are per hash
// bucket, each at least that of any text in it.
void DropCrowded(EncodedPairs* result) {
    std::vector<const char*>& texts = result->texts;
    std::vector<std::uint32_t>& lengths = result->lengths;
    const std::size_t count = texts.size() / 2;
    const auto text = [&](std::size_t i, int side) {
        return std::string_view(texts[2 * i + side], lengths[2 * i + side]);
    };
    std::uint32_t most[2] = {0, 0};
    const auto count_side = [&](int side) {
        // Small enough to stay in the processor's cache; a bucket's count
        // stays far below the limit unless some text comes near it.
        constexpr std::size_t kBuckets = std::size_t{1} << 16;
        std::vector<std::uint32_t> buckets(kBuckets, 0);
        std::uint32_t* last = nullptr;
        for (std::size_t i = 0; i < count; ++i) {
            // A headword's pairs come one after another.
            if (last == nullptr || text(i - 1, side) != text(i, side)) {
                last = &buckets[HashText(text(i, side)) & (kBuckets - 1)];
            }
            most[side] = std::max(most[side], ++*last);
        }
    };
    platform::SideBySide([&] { count_side(0); }, [&] { count_side(1); });
    if (most[0] <= kMaxTranslations && most[1] <= kMaxTranslations) return;

    TextCounts translations[2] = {TextCounts(count), TextCounts(count)};
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t* first_count = translations[0].Of(text(i, 0));
        std::uint32_t* second_count = nullptr;
        if (*first_count < kMaxTranslations) second_count = translations[1].Of(text(i, 1));
        if (second_count == nullptr || *second_count >= kMaxTranslations) {
            ++result->crowded;
            ++result->dropped;
            continue;
        }
        ++*first_count;
        ++*second_count;
        texts[2 * kept] = texts[2 * i];
        texts[2 * kept + 1] = texts[2 * i + 1];
        lengths[2 * kept] = lengths[2 * i];
        lengths[2 * kept + 1] = lengths[2 * i + 1];
        ++kept;
    }
    texts.resize(2 * kept);
    lengths.resize(2 * kept);
}

// Encodes pairs[begin, end) into `out`, whose copies go into a piece of their
// own.
void EncodeRange(const std::vector<TranslationPair>& pairs, std::size_t begin, std::size_t end,
                 std::uint32_t primary_code_page, std::uint32_t secondary_code_page, bool swap,
                 EncodedPairs* out) {
    std::deque<std::string>& copies = out->converted.emplace_back();
    out->texts.reserve(2 * (end - begin));
    out->lengths.reserve(2 * (end - begin));
    // The text in its code page: the given one when that changes nothing.
    const auto encode = [&](const std::string& text, std::uint32_t code_page, bool* lossy) {
        if (code_page == platform::kUtf8CodePage && platform::IsValidUtf8(text)) {
            *lossy = false;
            return std::string_view(text.c_str(), text.size());
        }
        const std::string& copy =
            copies.emplace_back(platform::EncodeFromUtf8(code_page, text, lossy));
        // Mended bytes of malformed UTF-8 lose nothing a reader could use.
        if (code_page == platform::kUtf8CodePage) *lossy = false;
        return std::string_view(copy.c_str(), copy.size());
    };
    const auto has_separator = [](std::string_view s) {
        return std::any_of(s.begin(), s.end(),
                           [](char c) { return c == '\t' || c == '\r' || c == '\n' || c == '\0'; });
    };
    for (std::size_t i = begin; i < end; ++i) {
        const std::string& first = swap ? pairs[i].translation : pairs[i].word;
        const std::string& second = swap ? pairs[i].word : pairs[i].translation;
        const std::size_t copied = copies.size();
        bool lossy1 = false;
        bool lossy2 = false;
        const std::string_view a = encode(first, primary_code_page, &lossy1);
        const std::string_view b = encode(second, secondary_code_page, &lossy2);
        std::size_t* reason = nullptr;
        if (a.empty() || b.empty()) {
            reason = &out->empty;
        } else if (a.size() > kMaxWordBytes || b.size() > kMaxWordBytes) {
            reason = &out->too_long;
        } else if (has_separator(a) || has_separator(b)) {
            reason = &out->separator;
        } else if (lossy1 || lossy2) {
            reason = &out->lacking;
        }
        if (reason != nullptr) {
            ++*reason;
            ++out->dropped;
            copies.resize(copied);  // the copies of a dropped pair
            continue;
        }
        out->texts.push_back(a.data());
        out->texts.push_back(b.data());
        out->lengths.push_back(static_cast<std::uint32_t>(a.size()));
        out->lengths.push_back(static_cast<std::uint32_t>(b.size()));
    }
}

// Appends what `later` kept and dropped to `result`; its copies move over
// as they are, so the texts that point into them stay valid.
void AppendEncoded(EncodedPairs&& later, EncodedPairs* result) {
    result->texts.insert(result->texts.end(), later.texts.begin(), later.texts.end());
    result->lengths.insert(result->lengths.end(), later.lengths.begin(), later.lengths.end());
    for (std::deque<std::string>& copies : later.converted) {
        result->converted.push_back(std::move(copies));
    }
    result->dropped += later.dropped;
    result->empty += later.empty;
    result->too_long += later.too_long;
    result->separator += later.separator;
    result->lacking += later.lacking;
}

}  // namespace

EncodedPairs EncodePairs(const std::vector<TranslationPair>& pairs, std::uint32_t primary_code_page,
                         std::uint32_t secondary_code_page, bool swap) {
    // The two halves side by side, then the second after the first.
    EncodedPairs result;
    EncodedPairs later;
    const std::size_t half = pairs.size() / 2;
    platform::SideBySide(
        [&] { EncodeRange(pairs, 0, half, primary_code_page, secondary_code_page, swap, &result); },
        [&] {
            EncodeRange(pairs, half, pairs.size(), primary_code_page, secondary_code_page, swap,
                        &later);
        });
    AppendEncoded(std::move(later), &result);
    DropCrowded(&result);
    result.kept = result.texts.size() / 2;
    return result;
}

}  // namespace exchange
