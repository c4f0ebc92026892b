// Locale services: what the rest of the system knows about a language, keyed
// by a Windows locale identifier (LCID), supplied by ICU.
//
// An LCID names an ICU locale and an ANSI code page. 0, 1024 (user default)
// and 2048 (system default) stand for the user's locale from the environment
// (LC_ALL, LC_COLLATE, LANG), falling back to en-US and 1252. An LCID that ICU
// does not know behaves as 1033 (English, United States).
//
// Every function here is safe to call from any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr std::uint32_t kLcidEnglishUs = 1033;

// The LCID that stands for `lcid` once the defaults are resolved: the user's
// own for 0, 1024 and 2048, 1033 for one ICU does not know, else `lcid`.
std::uint32_t ResolveLcid(std::uint32_t lcid);

// ICU locale name for `lcid` ("hr_HR", "en_US").
std::string IcuLocaleName(std::uint32_t lcid);

// The ANSI code page of the language of `lcid` (1250 ... 1258, 874, 932,
// 936, 949, 950; 1252 for every other language).
std::uint32_t CodePageOf(std::uint32_t lcid);

// LCID of a language that has none of its own (a locale known by its name
// only), and the font character set value that marks a list kept in UTF-8.
inline constexpr std::uint32_t kLcidCustomUnspecified = 0x1000;
inline constexpr std::uint32_t kUtf8Charset = 65001;

// False for a language whose script no 8-bit ANSI code page holds (Hindi,
// Georgian, Armenian, Tamil, ...) and for kLcidCustomUnspecified.
bool HasAnsiCodePage(std::uint32_t lcid);

// The code page a list's words are stored in: UTF-8 (65001) for a list whose
// charset is kUtf8Charset, else the ANSI code page of its locale.
std::uint32_t ListCodePage(std::uint32_t lcid, std::uint32_t charset);

// The charset a new or emptied list of locale `lcid` takes when `charset` is
// asked for: kUtf8Charset where the language has no 8-bit code page or only
// a double-byte one, else `charset`.
std::uint32_t CharsetForNewList(std::uint32_t lcid, std::uint32_t charset);

struct LocaleEntry {
    std::uint32_t lcid;
    std::string name;         // English display name, "Croatian (Croatia)"
    std::uint32_t code_page;  // ANSI code page
};

// The locales ICU knows that have an LCID, sorted by name, one per LCID.
// Built once; the reference stays valid for the life of the process.
const std::vector<LocaleEntry>& InstalledLocales();

// The locale of a language name of Freelang's dict.ini ("croatian" -> 1050,
// names in lower case); English (1033) for a name it does not know.
std::uint32_t FreelangLanguageLocale(std::string_view name);

}  // namespace platform
