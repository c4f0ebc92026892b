// The settings file of one dictionary, "<dictionary path>.ini" beside the
// dictionary: its translation direction, the fonts and colours of the main
// window, popup and tooltip views of it, and its speech voices. The view keys
// live in a section named after the dictionary's file name; the speech keys in
// the sections "espeak", "sapi4" and "sapi5".
//
// The file is read each time the dictionary becomes the main or the dual
// dictionary, and written after it is saved, before another dictionary
// replaces it, and when the main window is destroyed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/settings_file.h"

namespace wordbay {

enum class ListSide { kPrimary = 0, kSecondary = 1 };

// The face every font starts from (spelled so, as the files store it).
inline constexpr char kDefaultFontFace[] = "Ms Sans Serif";
// The longest face name the file keeps.
inline constexpr std::size_t kMaxFontFaceChars = 31;

// One font of a view: six keys "<prefix>_fontname", "_fontsize", "_fontweight",
// "_fontitalic", "_fontunderline", "_fontstrikeout" and the text colour
// "_fontcolor". The character set is not stored: it is that of the list the
// font shows.
struct FontSetting {
    std::string face = kDefaultFontFace;
    int size = 8;      // points
    int weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    std::uint32_t color = 0;    // 0x00BBGGRR
    std::uint32_t charset = 0;  // Windows character set of the list
};

// The fonts, colours and switches of the three views, by the key prefix or key
// that stores them.
enum class ViewFont {
    kEdit1,                    // "edit1", primary
    kEdit2,                    // "edit2", secondary
    kListBox1,                 // "listbox1", primary
    kListBox2,                 // "listbox2", secondary
    kPopupEditPrimary,         // "popup_edit_primary"
    kPopupEditSecondary,       // "popup_edit_secondary"
    kPopupListBoxPrimary,      // "popup_listbox_primary"
    kPopupListBoxSecondary,    // "popup_listbox_secondary"
    kTooltipEditPrimary,       // "tooltip_edit_primary"
    kTooltipEditSecondary,     // "tooltip_edit_secondary"
    kTooltipListBoxPrimary,    // "tooltip_listbox_primary"
    kTooltipListBoxSecondary,  // "tooltip_listbox_secondary"
    kCount
};

enum class ViewColor {
    kEdit1Background,                  // "edit1_bgcolor"
    kEdit2Background,                  // "edit2_bgcolor"
    kListBox1Background,               // "listbox1_bgcolor1"
    kListBox1OddRow,                   // "listbox1_bgcolor2"
    kListBox1SelectedBackground,       // "listbox1_selbgcolor"
    kListBox1SelectedText,             // "listbox1_seltxtcolor"
    kListBox2Background,               // "listbox2_bgcolor1"
    kListBox2OddRow,                   // "listbox2_bgcolor2"
    kListBox2SelectedBackground,       // "listbox2_selbgcolor"
    kListBox2SelectedText,             // "listbox2_seltxtcolor"
    kPopupEditBackgroundPrimary,       // "popup_edit_bgcolor1"
    kPopupEditBackgroundSecondary,     // "popup_edit_bgcolor2"
    kPopupListBox1Background,          // "popup_listbox1_bgcolor1"
    kPopupListBox1OddRow,              // "popup_listbox1_bgcolor2"
    kPopupListBox1SelectedBackground,  // "popup_listbox1_selbgcolor"
    kPopupListBox1SelectedText,        // "popup_listbox1_seltxtcolor"
    kPopupListBox2Background,          // "popup_listbox2_bgcolor1"
    kPopupListBox2OddRow,              // "popup_listbox2_bgcolor2"
    kPopupListBox2SelectedBackground,  // "popup_listbox2_selbgcolor"
    kPopupListBox2SelectedText,        // "popup_listbox2_seltxtcolor"
    kTooltipBackground1Primary,        // "tooltip_bgcolor1_primary"
    kTooltipBackground2Primary,        // "tooltip_bgcolor2_primary"
    kTooltipBackground1Secondary,      // "tooltip_bgcolor1_secondary"
    kTooltipBackground2Secondary,      // "tooltip_bgcolor2_secondary"
    kTooltipInactiveTextPrimary,       // "tooltip_inactivetextcolor_primary"
    kTooltipInactiveTextSecondary,     // "tooltip_inactivetextcolor_secondary"
    kCount
};

enum class ViewFlag {
    kMainUseSystemColors,     // "main_use_system_colors"
    kPopupUseSystemColors,    // "popup_use_system_colors"
    kTooltipUsePattern,       // "tooltip_use_pattern"
    kTooltipUseSystemColors,  // "tooltip_use_system_colors"
    kCount
};

enum class ViewGroup { kMainWindow, kPopup, kTooltip };

// The tooltip background patterns are numbered 0..kMaxTooltipPattern.
inline constexpr int kMaxTooltipPattern = 34;

struct ViewSettings {
    std::array<FontSetting, static_cast<int>(ViewFont::kCount)> fonts;
    std::array<std::uint32_t, static_cast<int>(ViewColor::kCount)> colors{};
    std::array<bool, static_cast<int>(ViewFlag::kCount)> flags{};
    int tooltip_pattern_index = 0;  // "tooltip_pattern_index"

    FontSetting& font(ViewFont f) { return fonts[static_cast<int>(f)]; }
    const FontSetting& font(ViewFont f) const { return fonts[static_cast<int>(f)]; }
    std::uint32_t& color(ViewColor c) { return colors[static_cast<int>(c)]; }
    std::uint32_t color(ViewColor c) const { return colors[static_cast<int>(c)]; }
    bool& flag(ViewFlag f) { return flags[static_cast<int>(f)]; }
    bool flag(ViewFlag f) const { return flags[static_cast<int>(f)]; }
};

// The speech engines, by the section that stores their keys.
enum class SpeechEngine { kEspeak = 0, kSapi4 = 1, kSapi5 = 2 };

// One engine's settings for one list; rates, volumes and pitches are in the
// units of that engine.
struct SpeechVoice {
    bool use = false;      // "use_primary" / "use_secondary"
    std::string voice_id;  // "voice_id_primary" / "voice_id_secondary"
    int speed = 0;         // "<engine>_speed_primary" / "..._secondary"
    int volume = 0;        // "<engine>_volume_..."
    int pitch = 0;         // "<engine>_pitch_..."
};

struct DictionarySettings {
    DictionarySettings();  // every default of the key tables

    bool primary_to_secondary = true;  // "primary_to_secondary" ("dualprimarytosecondary")
    // A word not in a list is looked up by its base words, and suggestions
    // are offered ("word_forms").
    bool word_forms = true;
    ViewSettings view;
    std::array<std::array<SpeechVoice, 3>, 2> speech;  // [list][engine]

    SpeechVoice& voice(ListSide list, SpeechEngine engine) {
        return speech[static_cast<int>(list)][static_cast<int>(engine)];
    }
    const SpeechVoice& voice(ListSide list, SpeechEngine engine) const {
        return speech[static_cast<int>(list)][static_cast<int>(engine)];
    }
};

// The installed fonts, as the user interface knows them.
class FontCatalog {
public:
    virtual ~FontCatalog() = default;
    // Whether a font of face `face` (compared without regard to case) exists
    // for character set `charset`.
    virtual bool HasFace(std::string_view face, std::uint32_t charset) const = 0;
    // The first installed face for `charset` in the system's enumeration, or
    // "" when there is none.
    virtual std::string FirstFace(std::uint32_t charset) const = 0;
    // The desktop's own default (sans) family when it can show `charset`,
    // else "".
    virtual std::string DesktopFace(std::uint32_t /*charset*/) const { return {}; }
};

// The face to use for a font stored as `stored`: that face when it exists for
// `charset`, else the desktop's default family, else "Tahoma", "Arial",
// "Times New Roman", else the first face of the character set; nothing when
// no face exists for it.
std::optional<std::string> ChooseFontFace(std::string_view stored, std::uint32_t charset,
                                          const FontCatalog& fonts);

// The settings file of the dictionary at `dictionary_path` ("%s.ini"), and the
// section of its view keys: the file name, extension included.
std::string DictionarySettingsPath(std::string_view dictionary_path);
std::string DictionarySettingsSection(std::string_view dictionary_path);

// The character sets of a dictionary's two lists (from its information).
struct ListCharsets {
    std::uint32_t primary = 0;
    std::uint32_t secondary = 0;
};

// Puts every font and colour of `group` back to its default, the fonts with
// the face fall-back for their list's character set. Returns false when some
// default font found no face (that font keeps the default face name).
bool ResetViewGroup(ViewSettings* view, ViewGroup group, const ListCharsets& charsets,
                    const FontCatalog& fonts);

// Reads the settings of a dictionary: all views reset to their defaults, the
// views read, then "primary_to_secondary", the speech sections and, for the
// dual dictionary, "dualprimarytosecondary" over the direction. A stored font
// whose face fall-back finds nothing keeps its default. *font_warning tells
// whether a stored font and a default font both failed, when the user is to
// see MSG_NO_FONT_WARNING.
DictionarySettings ReadDictionarySettings(const SettingsFile& file, std::string_view section,
                                          const ListCharsets& charsets, const FontCatalog& fonts,
                                          bool dual, bool* font_warning);

// Writes every key: the direction ("dualprimarytosecondary" too for the dual
// dictionary), the sections espeak, sapi4 and sapi5, then the main window,
// popup and tooltip views, each font as its seven keys.
void WriteDictionarySettings(const SettingsFile& file, std::string_view section,
                             const DictionarySettings& settings, bool dual);

}  // namespace wordbay
