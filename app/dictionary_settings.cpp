#include "app/dictionary_settings.h"

namespace wordbay {
namespace {

enum class ViewKind { kFont, kColor, kFlag, kPatternIndex };

// One key (or, for a font, one key prefix) of the view settings.
struct ViewKey {
    ViewGroup group;
    const char* key;
    ViewKind kind;
    int index;                    // into fonts, colors or flags
    ListSide side;                // fonts only: the list whose character set they take
    std::uint32_t default_value;  // colours, flags and the pattern index
};

constexpr ViewKey Font(ViewGroup group, const char* prefix, ViewFont font, ListSide side) {
    return {group, prefix, ViewKind::kFont, static_cast<int>(font), side, 0};
}
constexpr ViewKey Color(ViewGroup group, const char* key, ViewColor color,
                        std::uint32_t default_value) {
    return {group,        key, ViewKind::kColor, static_cast<int>(color), ListSide::kPrimary,
            default_value};
}
constexpr ViewKey Flag(ViewGroup group, const char* key, ViewFlag flag, bool default_value) {
    return {group,
            key,
            ViewKind::kFlag,
            static_cast<int>(flag),
            ListSide::kPrimary,
            default_value ? 1u : 0u};
}

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kLightGrey = 0xF5F5F5;
constexpr std::uint32_t kBlue = 0xFF0000;  // 0x00BBGGRR

constexpr ViewGroup M = ViewGroup::kMainWindow;
constexpr ViewGroup P = ViewGroup::kPopup;
constexpr ViewGroup T = ViewGroup::kTooltip;
constexpr ListSide kP = ListSide::kPrimary;
constexpr ListSide kS = ListSide::kSecondary;

// Every view key, in the order they are written.
constexpr ViewKey kViewKeys[] = {
    Font(M, "edit1", ViewFont::kEdit1, kP),
    Color(M, "edit1_bgcolor", ViewColor::kEdit1Background, kWhite),
    Font(M, "edit2", ViewFont::kEdit2, kS),
    Color(M, "edit2_bgcolor", ViewColor::kEdit2Background, kWhite),
    Font(M, "listbox1", ViewFont::kListBox1, kP),
    Color(M, "listbox1_bgcolor1", ViewColor::kListBox1Background, kWhite),
    Color(M, "listbox1_bgcolor2", ViewColor::kListBox1OddRow, kLightGrey),
    Color(M, "listbox1_selbgcolor", ViewColor::kListBox1SelectedBackground, kBlue),
    Color(M, "listbox1_seltxtcolor", ViewColor::kListBox1SelectedText, kWhite),
    Font(M, "listbox2", ViewFont::kListBox2, kS),
    Color(M, "listbox2_bgcolor1", ViewColor::kListBox2Background, kWhite),
    Color(M, "listbox2_bgcolor2", ViewColor::kListBox2OddRow, kLightGrey),
    Color(M, "listbox2_selbgcolor", ViewColor::kListBox2SelectedBackground, kBlue),
    Color(M, "listbox2_seltxtcolor", ViewColor::kListBox2SelectedText, kWhite),
    Flag(M, "main_use_system_colors", ViewFlag::kMainUseSystemColors, true),

    Font(P, "popup_edit_primary", ViewFont::kPopupEditPrimary, kP),
    Color(P, "popup_edit_bgcolor1", ViewColor::kPopupEditBackgroundPrimary, kWhite),
    Font(P, "popup_edit_secondary", ViewFont::kPopupEditSecondary, kS),
    Color(P, "popup_edit_bgcolor2", ViewColor::kPopupEditBackgroundSecondary, kWhite),
    Font(P, "popup_listbox_primary", ViewFont::kPopupListBoxPrimary, kP),
    Color(P, "popup_listbox1_bgcolor1", ViewColor::kPopupListBox1Background, kWhite),
    Color(P, "popup_listbox1_bgcolor2", ViewColor::kPopupListBox1OddRow, kLightGrey),
    Color(P, "popup_listbox1_selbgcolor", ViewColor::kPopupListBox1SelectedBackground, kBlue),
    Color(P, "popup_listbox1_seltxtcolor", ViewColor::kPopupListBox1SelectedText, kWhite),
    Font(P, "popup_listbox_secondary", ViewFont::kPopupListBoxSecondary, kS),
    Color(P, "popup_listbox2_bgcolor1", ViewColor::kPopupListBox2Background, kWhite),
    Color(P, "popup_listbox2_bgcolor2", ViewColor::kPopupListBox2OddRow, kLightGrey),
    Color(P, "popup_listbox2_selbgcolor", ViewColor::kPopupListBox2SelectedBackground, kBlue),
    Color(P, "popup_listbox2_seltxtcolor", ViewColor::kPopupListBox2SelectedText, kWhite),
    Flag(P, "popup_use_system_colors", ViewFlag::kPopupUseSystemColors, true),

    Font(T, "tooltip_edit_primary", ViewFont::kTooltipEditPrimary, kP),
    Font(T, "tooltip_edit_secondary", ViewFont::kTooltipEditSecondary, kS),
    Font(T, "tooltip_listbox_primary", ViewFont::kTooltipListBoxPrimary, kP),
    Font(T, "tooltip_listbox_secondary", ViewFont::kTooltipListBoxSecondary, kS),
    Color(T, "tooltip_bgcolor1_primary", ViewColor::kTooltipBackground1Primary, kWhite),
    Color(T, "tooltip_bgcolor2_primary", ViewColor::kTooltipBackground2Primary, kWhite),
    Color(T, "tooltip_bgcolor1_secondary", ViewColor::kTooltipBackground1Secondary, kWhite),
    Color(T, "tooltip_bgcolor2_secondary", ViewColor::kTooltipBackground2Secondary, kWhite),
    Color(T, "tooltip_inactivetextcolor_primary", ViewColor::kTooltipInactiveTextPrimary, 0),
    Color(T, "tooltip_inactivetextcolor_secondary", ViewColor::kTooltipInactiveTextSecondary, 0),
    Flag(T, "tooltip_use_pattern", ViewFlag::kTooltipUsePattern, false),
    {T, "tooltip_pattern_index", ViewKind::kPatternIndex, 0, kP, 0},
    Flag(T, "tooltip_use_system_colors", ViewFlag::kTooltipUseSystemColors, true),
};

enum class VoiceField { kUse, kVoiceId, kSpeed, kVolume, kPitch };

// One key of the speech sections.
struct SpeechKey {
    const char* section;
    const char* key;
    SpeechEngine engine;
    ListSide side;
    VoiceField field;
    int default_value;  // voice ids default to empty
};

constexpr SpeechEngine kE = SpeechEngine::kEspeak;
constexpr SpeechEngine k4 = SpeechEngine::kSapi4;
constexpr SpeechEngine k5 = SpeechEngine::kSapi5;
using F = VoiceField;

// Every speech key, in the order they are written.
constexpr SpeechKey kSpeechKeys[] = {
    {"espeak", "use_primary", kE, kP, F::kUse, 1},
    {"espeak", "use_secondary", kE, kS, F::kUse, 1},
    {"espeak", "voice_id_primary", kE, kP, F::kVoiceId, 0},
    {"espeak", "voice_id_secondary", kE, kS, F::kVoiceId, 0},
    {"espeak", "espeak_speed_primary", kE, kP, F::kSpeed, 170},
    {"espeak", "espeak_volume_primary", kE, kP, F::kVolume, 100},
    {"espeak", "espeak_pitch_primary", kE, kP, F::kPitch, 50},
    {"espeak", "espeak_speed_secondary", kE, kS, F::kSpeed, 170},
    {"espeak", "espeak_volume_secondary", kE, kS, F::kVolume, 100},
    {"espeak", "espeak_pitch_secondary", kE, kS, F::kPitch, 50},

    {"sapi4", "use_primary", k4, kP, F::kUse, 0},
    {"sapi4", "use_secondary", k4, kS, F::kUse, 0},
    {"sapi4", "voice_id_primary", k4, kP, F::kVoiceId, 0},
    {"sapi4", "voice_id_secondary", k4, kS, F::kVoiceId, 0},
    {"sapi4", "sapi4_speed_primary", k4, kP, F::kSpeed, 170},
    {"sapi4", "sapi4_volume_primary", k4, kP, F::kVolume, 100},
    {"sapi4", "sapi4_pitch_primary", k4, kP, F::kPitch, 150},
    {"sapi4", "sapi4_speed_secondary", k4, kS, F::kSpeed, 180},
    {"sapi4", "sapi4_volume_secondary", k4, kS, F::kVolume, 100},
    {"sapi4", "sapi4_pitch_secondary", k4, kS, F::kPitch, 150},

    {"sapi5", "use_primary", k5, kP, F::kUse, 0},
    {"sapi5", "use_secondary", k5, kS, F::kUse, 0},
    {"sapi5", "voice_id_primary", k5, kP, F::kVoiceId, 0},
    {"sapi5", "voice_id_secondary", k5, kS, F::kVoiceId, 0},
    {"sapi5", "sapi5_speed_primary", k5, kP, F::kSpeed, 10},
    {"sapi5", "sapi5_volume_primary", k5, kP, F::kVolume, 100},
    {"sapi5", "sapi5_pitch_primary", k5, kP, F::kPitch, 0},
    {"sapi5", "sapi5_speed_secondary", k5, kS, F::kSpeed, 10},
    {"sapi5", "sapi5_volume_secondary", k5, kS, F::kVolume, 100},
    {"sapi5", "sapi5_pitch_secondary", k5, kS, F::kPitch, 0},
};

constexpr char kDirectionKey[] = "primary_to_secondary";
constexpr char kWordFormsKey[] = "word_forms";
constexpr char kDualDirectionKey[] = "dualprimarytosecondary";

std::uint32_t CharsetOf(const ListCharsets& charsets, ListSide side) {
    return side == ListSide::kPrimary ? charsets.primary : charsets.secondary;
}

// A font key: the prefix and a suffix such as "_fontname".
std::string FontKey(const char* prefix, const char* suffix) {
    std::string key = prefix;
    key += suffix;
    return key;
}

// Sets the default font with the face fall-back; false when it found no face.
bool DefaultFont(FontSetting* font, std::uint32_t charset, const FontCatalog& fonts) {
    *font = FontSetting{};
    font->charset = charset;
    const std::optional<std::string> face = ChooseFontFace(font->face, charset, fonts);
    if (face) font->face = *face;
    return face.has_value();
}

// Reads one font over the defaults; false, leaving *font alone, when the
// fall-back finds no face for it.
bool ReadFont(const SettingsFile& file, std::string_view section, const char* prefix,
              std::uint32_t charset, const FontCatalog& fonts, FontSetting* font) {
    FontSetting read;
    read.charset = charset;
    file.ReadString(section, FontKey(prefix, "_fontname"), &read.face, kMaxFontFaceChars);
    file.ReadInt(section, FontKey(prefix, "_fontsize"), &read.size);
    file.ReadInt(section, FontKey(prefix, "_fontweight"), &read.weight);
    file.ReadBool(section, FontKey(prefix, "_fontitalic"), &read.italic);
    file.ReadBool(section, FontKey(prefix, "_fontunderline"), &read.underline);
    file.ReadBool(section, FontKey(prefix, "_fontstrikeout"), &read.strikeout);
    file.ReadColor(section, FontKey(prefix, "_fontcolor"), &read.color);
    const std::optional<std::string> face = ChooseFontFace(read.face, charset, fonts);
    if (!face) return false;
    read.face = *face;
    *font = std::move(read);
    return true;
}

void WriteFont(const SettingsFile& file, std::string_view section, const char* prefix,
               const FontSetting& font) {
    file.WriteString(section, FontKey(prefix, "_fontname"), font.face);
    file.WriteInt(section, FontKey(prefix, "_fontsize"), font.size);
    file.WriteInt(section, FontKey(prefix, "_fontweight"), font.weight);
    file.WriteBool(section, FontKey(prefix, "_fontitalic"), font.italic);
    file.WriteBool(section, FontKey(prefix, "_fontunderline"), font.underline);
    file.WriteBool(section, FontKey(prefix, "_fontstrikeout"), font.strikeout);
    file.WriteColor(section, FontKey(prefix, "_fontcolor"), font.color);
}

void SetVoiceDefault(SpeechVoice* voice, const SpeechKey& k) {
    switch (k.field) {
        case F::kUse:
            voice->use = k.default_value != 0;
            break;
        case F::kVoiceId:
            voice->voice_id.clear();
            break;
        case F::kSpeed:
            voice->speed = k.default_value;
            break;
        case F::kVolume:
            voice->volume = k.default_value;
            break;
        case F::kPitch:
            voice->pitch = k.default_value;
            break;
    }
}

}  // namespace

DictionarySettings::DictionarySettings() {
    for (const ViewKey& k : kViewKeys) {
        switch (k.kind) {
            case ViewKind::kFont:
                view.fonts[k.index] = FontSetting{};
                break;
            case ViewKind::kColor:
                view.colors[k.index] = k.default_value;
                break;
            case ViewKind::kFlag:
                view.flags[k.index] = k.default_value != 0;
                break;
            case ViewKind::kPatternIndex:
                view.tooltip_pattern_index = static_cast<int>(k.default_value);
                break;
        }
    }
    for (const SpeechKey& k : kSpeechKeys) SetVoiceDefault(&voice(k.side, k.engine), k);
}

std::optional<std::string> ChooseFontFace(std::string_view stored, std::uint32_t charset,
                                          const FontCatalog& fonts) {
    if (!stored.empty() && fonts.HasFace(stored, charset)) return std::string(stored);
    // The desktop's sans family matches the rest of the desktop; the first
    // face in the enumeration may well be a serif or a decorative one.
    std::string desktop = fonts.DesktopFace(charset);
    if (!desktop.empty()) return desktop;
    for (const std::string_view face : {std::string_view("Tahoma"), std::string_view("Arial"),
                                        std::string_view("Times New Roman")}) {
        if (!face.empty() && fonts.HasFace(face, charset)) return std::string(face);
    }
    std::string first = fonts.FirstFace(charset);
    if (first.empty()) return std::nullopt;
    return first;
}

std::string DictionarySettingsPath(std::string_view dictionary_path) {
    std::string path(dictionary_path);
    path += ".ini";
    return path;
}

std::string DictionarySettingsSection(std::string_view dictionary_path) {
    const std::size_t slash = dictionary_path.rfind('/');
    return std::string(slash == std::string_view::npos ? dictionary_path
                                                       : dictionary_path.substr(slash + 1));
}

bool ResetViewGroup(ViewSettings* view, ViewGroup group, const ListCharsets& charsets,
                    const FontCatalog& fonts) {
    bool all_found = true;
    for (const ViewKey& k : kViewKeys) {
        if (k.group != group) continue;
        switch (k.kind) {
            case ViewKind::kFont:
                all_found &= DefaultFont(&view->fonts[k.index], CharsetOf(charsets, k.side), fonts);
                break;
            case ViewKind::kColor:
                view->colors[k.index] = k.default_value;
                break;
            case ViewKind::kFlag:
                view->flags[k.index] = k.default_value != 0;
                break;
            case ViewKind::kPatternIndex:
                view->tooltip_pattern_index = static_cast<int>(k.default_value);
                break;
        }
    }
    return all_found;
}

DictionarySettings ReadDictionarySettings(const SettingsFile& file, std::string_view section,
                                          const ListCharsets& charsets, const FontCatalog& fonts,
                                          bool dual, bool* font_warning) {
    DictionarySettings s;
    bool default_failed = false;
    for (const ViewGroup group : {ViewGroup::kMainWindow, ViewGroup::kPopup, ViewGroup::kTooltip}) {
        default_failed |= !ResetViewGroup(&s.view, group, charsets, fonts);
    }
    bool stored_failed = false;
    for (const ViewKey& k : kViewKeys) {
        switch (k.kind) {
            case ViewKind::kFont:
                stored_failed |= !ReadFont(file, section, k.key, CharsetOf(charsets, k.side), fonts,
                                           &s.view.fonts[k.index]);
                break;
            case ViewKind::kColor:
                file.ReadColor(section, k.key, &s.view.colors[k.index]);
                break;
            case ViewKind::kFlag: {
                bool value = s.view.flags[k.index];
                file.ReadBool(section, k.key, &value);
                s.view.flags[k.index] = value;
                break;
            }
            case ViewKind::kPatternIndex: {
                int& index = s.view.tooltip_pattern_index;
                file.ReadInt(section, k.key, &index);
                if (index < 0 || index > kMaxTooltipPattern) index = 0;
                break;
            }
        }
    }
    *font_warning = stored_failed && default_failed;

    file.ReadBool(section, kDirectionKey, &s.primary_to_secondary);
    file.ReadBool(section, kWordFormsKey, &s.word_forms);
    for (const SpeechKey& k : kSpeechKeys) {
        SpeechVoice& voice = s.voice(k.side, k.engine);
        switch (k.field) {
            case F::kUse:
                file.ReadBool(k.section, k.key, &voice.use);
                break;
            case F::kVoiceId:
                file.ReadString(k.section, k.key, &voice.voice_id);
                break;
            case F::kSpeed:
                file.ReadInt(k.section, k.key, &voice.speed);
                break;
            case F::kVolume:
                file.ReadInt(k.section, k.key, &voice.volume);
                break;
            case F::kPitch:
                file.ReadInt(k.section, k.key, &voice.pitch);
                break;
        }
    }
    if (dual) file.ReadBool(section, kDualDirectionKey, &s.primary_to_secondary);
    return s;
}

void WriteDictionarySettings(const SettingsFile& file, std::string_view section,
                             const DictionarySettings& s, bool dual) {
    file.WriteBool(section, kDirectionKey, s.primary_to_secondary);
    if (dual) file.WriteBool(section, kDualDirectionKey, s.primary_to_secondary);
    for (const SpeechKey& k : kSpeechKeys) {
        const SpeechVoice& voice = s.voice(k.side, k.engine);
        switch (k.field) {
            case F::kUse:
                file.WriteBool(k.section, k.key, voice.use);
                break;
            case F::kVoiceId:
                file.WriteString(k.section, k.key, voice.voice_id);
                break;
            case F::kSpeed:
                file.WriteInt(k.section, k.key, voice.speed);
                break;
            case F::kVolume:
                file.WriteInt(k.section, k.key, voice.volume);
                break;
            case F::kPitch:
                file.WriteInt(k.section, k.key, voice.pitch);
                break;
        }
    }
    for (const ViewKey& k : kViewKeys) {
        switch (k.kind) {
            case ViewKind::kFont:
                WriteFont(file, section, k.key, s.view.fonts[k.index]);
                break;
            case ViewKind::kColor:
                file.WriteColor(section, k.key, s.view.colors[k.index]);
                break;
            case ViewKind::kFlag:
                file.WriteBool(section, k.key, s.view.flags[k.index]);
                break;
            case ViewKind::kPatternIndex:
                file.WriteInt(section, k.key, s.view.tooltip_pattern_index);
                break;
        }
    }
    // Keys added later follow the older ones, which keep their order.
    file.WriteBool(section, kWordFormsKey, s.word_forms);
}

}  // namespace wordbay
