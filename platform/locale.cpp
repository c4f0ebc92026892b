#include "platform/locale.h"

#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <set>

#include "platform/code_page.h"

namespace platform {
namespace {

// The user's locale from the environment, as an LCID; 1033 when there is none
// or ICU does not know it.
std::uint32_t UserLcid() {
    static const std::uint32_t lcid = [] {
        const char* name = nullptr;
        for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
            const char* v = std::getenv(var);
            if (v != nullptr && *v != '\0') {
                name = v;
                break;
            }
        }
        if (name == nullptr) return kLcidEnglishUs;
        std::string locale(name);
        locale = locale.substr(0, locale.find_first_of(".@"));
        if (locale.empty() || locale == "C" || locale == "POSIX") return kLcidEnglishUs;
        const std::uint32_t found = uloc_getLCID(locale.c_str());
        return found != 0 ? found : kLcidEnglishUs;
    }();
    return lcid;
}

bool IcuKnows(std::uint32_t lcid) {
    char name[ULOC_FULLNAME_CAPACITY];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = uloc_getLocaleForLCID(lcid, name, sizeof name, &status);
    return U_SUCCESS(status) && length > 0;
}

// The ANSI code page of an LCID the defaults are resolved in.
std::uint32_t CodePageOfResolved(std::uint32_t lcid);

}  // namespace

std::uint32_t ResolveLcid(std::uint32_t lcid) {
    if (lcid == 0 || lcid == 1024 || lcid == 2048) return UserLcid();
    return IcuKnows(lcid) ? lcid : kLcidEnglishUs;
}

std::string IcuLocaleName(std::uint32_t lcid) {
    char name[ULOC_FULLNAME_CAPACITY];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = uloc_getLocaleForLCID(ResolveLcid(lcid), name, sizeof name - 1, &status);
    if (U_FAILURE(status) || length <= 0) return "en_US";
    name[length] = '\0';
    return name;
}

std::uint32_t CodePageOf(std::uint32_t lcid) {
    // Searches ask for every word; the last answer of each thread is kept.
    thread_local std::uint32_t last_lcid = ~0u;
    thread_local std::uint32_t last_page = 1252;
    if (lcid != last_lcid) {
        last_page = CodePageOfResolved(ResolveLcid(lcid));
        last_lcid = lcid;
    }
    return last_page;
}

namespace {

std::uint32_t CodePageOfResolved(std::uint32_t lcid) {
    const std::uint32_t language = lcid & 0x3FF;
    switch (lcid) {  // languages written in more than one script
        case 0x0C1A:
        case 0x1C1A:
        case 0x201A:
        case 0x281A:
        case 0x301A:  // Serbian, Bosnian Cyrillic
        case 0x082C:
        case 0x0843:  // Azeri, Uzbek Cyrillic
            return 1251;
        case 0x042C:
        case 0x0443:  // Azeri, Uzbek Latin
            return 1254;
        case 0x0404:
        case 0x0C04:
        case 0x1404:  // Chinese, traditional
            return 950;
        default:
            break;
    }
    switch (language) {
        case 0x05:
        case 0x0E:
        case 0x15:
        case 0x18:
        case 0x1A:
        case 0x1B:
        case 0x1C:
        case 0x24:
            return 1250;
        case 0x02:
        case 0x19:
        case 0x22:
        case 0x23:
        case 0x28:
        case 0x2F:
        case 0x3F:
        case 0x40:
        case 0x44:
        case 0x50:
        case 0x6D:
        case 0x85:
            return 1251;
        case 0x08:
            return 1253;
        case 0x1F:
            return 1254;
        case 0x0D:
            return 1255;
        case 0x01:
        case 0x20:
        case 0x29:
        case 0x8C:
            return 1256;
        case 0x25:
        case 0x26:
        case 0x27:
            return 1257;
        case 0x2A:
            return 1258;
        case 0x1E:
            return 874;
        case 0x11:
            return 932;
        case 0x04:
            return 936;
        case 0x12:
            return 949;
        default:
            return 1252;
    }
}

}  // namespace

bool HasAnsiCodePage(std::uint32_t lcid) {
    if (lcid == kLcidCustomUnspecified) return false;
    lcid = ResolveLcid(lcid);
    switch (lcid) {
        case 0x0850:  // Mongolian, traditional script
        case 0x045D:  // Inuktitut, syllabics
            return false;
        default:
            break;
    }
    switch (lcid & 0x3FF) {
        case 0x2B:
        case 0x37:
        case 0x39:
        case 0x45:
        case 0x46:
        case 0x47:
        case 0x48:
        case 0x49:
        case 0x4A:
        case 0x4B:
        case 0x4C:
        case 0x4D:
        case 0x4E:
        case 0x4F:
        case 0x51:
        case 0x53:
        case 0x54:
        case 0x55:
        case 0x57:
        case 0x58:
        case 0x5A:
        case 0x5B:
        case 0x5C:
        case 0x5E:
        case 0x5F:
        case 0x61:
        case 0x65:
        case 0x73:
        case 0x78:
        case 0x92:
            return false;
        default:
            return true;
    }
}

std::uint32_t ListCodePage(std::uint32_t lcid, std::uint32_t charset) {
    return charset == kUtf8Charset ? kUtf8CodePage : CodePageOf(lcid);
}

std::uint32_t CharsetForNewList(std::uint32_t lcid, std::uint32_t charset) {
    if (!HasAnsiCodePage(lcid) || IsDoubleByteCodePage(CodePageOf(lcid))) return kUtf8Charset;
    return charset;
}

const std::vector<LocaleEntry>& InstalledLocales() {
    static const std::vector<LocaleEntry> locales = [] {
        std::vector<LocaleEntry> all;
        std::set<std::uint32_t> seen;
        const int32_t count = uloc_countAvailable();
        for (int32_t i = 0; i < count; ++i) {
            const char* locale = uloc_getAvailable(i);
            const std::uint32_t lcid = uloc_getLCID(locale);
            if (lcid == 0 || !seen.insert(lcid).second) continue;
            // Several ICU locales share an LCID (en_AS and en_US both give
            // 1033): the LCID is named by its own locale, not by whichever
            // of them comes first.
            char own[ULOC_FULLNAME_CAPACITY];
            UErrorCode status = U_ZERO_ERROR;
            const int32_t own_length = uloc_getLocaleForLCID(lcid, own, sizeof own, &status);
            if (U_SUCCESS(status) && own_length > 0 && own_length < int32_t(sizeof own)) {
                locale = own;
            }
            UChar name16[200];
            status = U_ZERO_ERROR;
            const int32_t length = uloc_getDisplayName(locale, "en", name16, 199, &status);
            if (U_FAILURE(status) || length <= 0) continue;
            char name8[600];
            int32_t length8 = 0;
            status = U_ZERO_ERROR;
            u_strToUTF8(name8, sizeof name8 - 1, &length8, name16, length, &status);
            if (U_FAILURE(status)) continue;
            all.push_back({lcid, std::string(name8, length8), CodePageOf(lcid)});
        }
        std::sort(all.begin(), all.end(),
                  [](const LocaleEntry& a, const LocaleEntry& b) { return a.name < b.name; });
        return all;
    }();
    return locales;
}

namespace {

struct FreelangLanguage {
    const char* name;
    std::uint32_t locale;
};

// The language names of Freelang's dict.ini and their locales.
constexpr FreelangLanguage kFreelangLanguages[] = {
    {"albanian", 1052},
    {"arabic", 1025},
    {"australian", 3081},
    {"belgian", 2067},
    {"bulgarian", 1026},
    {"canadian", 4105},
    {"catalan", 1027},
    {"chinese", 1028},
    {"chinese-simplified", 2052},
    {"chinese-traditional", 1028},
    {"croatian", 1050},
    {"czech", 1029},
    {"danish", 1030},
    {"dutch", 1043},
    {"english", 1033},
    {"english-nz", 5129},
    {"english-uk", 2057},
    {"english-usa", 1033},
    {"finnish", 1035},
    {"french", 1036},
    {"french-belgian", 2060},
    {"french-canadian", 3084},
    {"french-swiss", 4108},
    {"german", 1031},
    {"german-austrian", 3079},
    {"german-swiss", 2055},
    {"greek", 1032},
    {"hebrew", 1037},
    {"hungarian", 1038},
    {"icelandic", 1039},
    {"indonesian", 1057},
    {"italian", 1040},
    {"italian-swiss", 2064},
    {"japanese", 1041},
    {"korean", 1042},
    {"lithuanian", 1063},
    {"norwegian", 1044},
    {"norwegian-bokmal", 1044},
    {"norwegian-nynorsk", 2068},
    {"polish", 1045},
    {"portuguese", 2070},
    {"portuguese-brazilian", 1046},
    {"romanian", 1048},
    {"russian", 1049},
    {"serbian", 1050},
    {"slovak", 1051},
    {"spanish", 1034},
    {"spanish-mexican", 2058},
    {"spanish-modern", 3082},
    {"swedish", 1053},
    {"thai", 1054},
    {"turkish", 1055},
    {"urdu", 1056},
};
static_assert(std::size(kFreelangLanguages) == 53);

}  // namespace

std::uint32_t FreelangLanguageLocale(std::string_view name) {
    for (const FreelangLanguage& language : kFreelangLanguages) {
        if (name == language.name) return language.locale;
    }
    return 1033;
}

}  // namespace platform
