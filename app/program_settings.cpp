#include "app/program_settings.h"

#include <algorithm>

#include "wordlists/history_store.h"

namespace wordbay {
namespace {

// When a key is written at close.
enum class Write {
    kAlways,
    kInDualMode,    // only while dual mode is on
    kNormalWindow,  // only while the main window is neither maximised nor minimised
    kNever,         // read only
};

// One key of the program settings file. Exactly one of the three members is
// set; bools and ints take `default_value`, texts default to empty.
struct ProgramKey {
    const char* section;
    const char* key;
    bool ProgramSettings::*flag;
    int ProgramSettings::*number;
    std::string ProgramSettings::*text;
    int default_value;
    Write write;
};

constexpr ProgramKey Bool(const char* section, const char* key, bool ProgramSettings::*member,
                          int default_value, Write write = Write::kAlways) {
    return {section, key, member, nullptr, nullptr, default_value, write};
}
constexpr ProgramKey Int(const char* section, const char* key, int ProgramSettings::*member,
                         int default_value, Write write = Write::kAlways) {
    return {section, key, nullptr, member, nullptr, default_value, write};
}
constexpr ProgramKey Text(const char* section, const char* key,
                          std::string ProgramSettings::*member, Write write = Write::kAlways) {
    return {section, key, nullptr, nullptr, member, 0, write};
}

using P = ProgramSettings;

// Every key of the file, in the order the close writes them. Reading goes in
// the same order, so "acitvate" overrides "usespeech".
const ProgramKey kProgramKeys[] = {
    Bool("dictionary", "convertv2", &P::convert_v2, 0),
    Text("dictionary", "language", &P::language),
    Text("dictionary", "current", &P::current),
    Bool("dictionary", "dual", &P::dual, 0),
    Bool("dictionary", "link", &P::link, 0),
    Bool("dictionary", "multiple", &P::multiple, 0),
    Text("dictionary", "dualname", &P::dual_name, Write::kInDualMode),

    Int("sizetext", "x", &P::text_left, 0),
    Int("sizetext", "y", &P::text_top, 0),
    Int("sizetext", "w", &P::text_right, 526),
    Int("sizetext", "h", &P::text_bottom, 400),

    Bool("options", "showtext", &P::show_text, 0),
    Bool("options", "showsplash", &P::show_splash, 1),
    Bool("options", "ww1", &P::wrap_original, 0),
    Bool("options", "ww2", &P::wrap_translated, 0),
    Bool("options", "fromcursor", &P::translate_from_cursor, 0),
    Bool("options", "brzo", &P::fast_translation, 1),
    Bool("options", "jedandodrugoga", &P::panes_side_by_side, 1),
    Int("options", "deepsearch", &P::search_depth, 5),
    Bool("options", "minimizetotray", &P::minimize_to_tray, 1),
    Bool("options", "ignoreacc", &P::ignore_accents, 1),
    Bool("options", "useregex", &P::use_regex, 0),
    Bool("options", "usewildcards", &P::use_wildcards, 0),
    Bool("options", "useclipboard", &P::use_clipboard, 0),
    Bool("options", "casesensitive", &P::case_sensitive, 0),
    Bool("options", "autotranslate", &P::auto_translate, 0),
    Bool("options", "uvijeknavrhu", &P::main_on_top, 0),
    Bool("options", "movepopuptocursor", &P::popup_to_cursor, 0),
    Bool("options", "movetooltiptocursor", &P::tooltip_to_cursor, 0),
    Bool("options", "popupuvijeknavrhu", &P::popup_on_top, 0),
    Bool("options", "tooltipuvijeknavrhu", &P::tooltip_on_top, 0),
    Bool("options", "usespeech", &P::use_speech, 0),
    Int("options", "historysize", &P::history_size, 1000),
    Bool("speech", "acitvate", &P::use_speech, 0, Write::kNever),

    Bool("hotkey", "usehotkeys", &P::use_hot_keys, 1),
    Int("hotkey", "hotkeyactivate", &P::hot_key_target, 1),
    Int("hotkey", "key1", &P::key1, 1),
    Int("hotkey", "key2", &P::key2, 3),
    Int("hotkey", "key3", &P::key3, 0),

    Int("size", "x", &P::x, 0, Write::kNormalWindow),
    Int("size", "y", &P::y, 0, Write::kNormalWindow),
    Int("size", "cx", &P::width, 592, Write::kNormalWindow),
    Int("size", "cy", &P::height, 350, Write::kNormalWindow),
    Bool("size", "maximized", &P::maximized, 0),
};

// The keys of the popup ([sizep]) and tooltip ([sizet]) places.
struct PlaceKey {
    const char* key;
    int WindowPlace::*member;
    int popup_default;
    int tooltip_default;
};

const PlaceKey kPlaceKeys[] = {
    {"x", &WindowPlace::x, 0, 0},
    {"y", &WindowPlace::y, 0, 0},
    {"cx", &WindowPlace::width, 170, 100},
    {"cy", &WindowPlace::height, 210, 100},
};

constexpr char kPopupSection[] = "sizep";
constexpr char kTooltipSection[] = "sizet";

int AtLeast(int value, int low) { return value < low ? low : value; }
int AtMost(int value, int high) { return value > high ? high : value; }

void ClampMainWindow(ProgramSettings* s, const ScreenMetrics& screen) {
    s->width = AtMost(AtLeast(s->width, 592), screen.max_track_width);
    s->height = AtMost(AtLeast(s->height, 250), screen.max_track_height);
    s->x = AtMost(AtLeast(s->x, 0), screen.full_width - s->width / 2);
    s->y = AtMost(AtLeast(s->y, 0), screen.full_height - s->height / 2);
}

void ClampHistorySize(ProgramSettings* s) {
    s->history_size = AtMost(AtLeast(s->history_size, 0), wordlists::HistoryStore::kMostEntries);
}

void ClampTextWindow(ProgramSettings* s, const ScreenMetrics& screen) {
    const auto corner = [](int v, int limit) { return v < 0 || v > limit ? 0 : v; };
    const auto edge = [](int v, int limit) { return v < 0 || v > limit ? limit : v; };
    s->text_left = corner(s->text_left, screen.max_track_width);
    s->text_top = corner(s->text_top, screen.max_track_height);
    s->text_right = AtLeast(edge(s->text_right, screen.max_track_width), 526);
    s->text_bottom = AtLeast(edge(s->text_bottom, screen.max_track_height), 400);
}

WindowPlace ReadPlace(const SettingsFile& file, const char* section, bool popup) {
    WindowPlace place;
    for (const PlaceKey& k : kPlaceKeys) {
        place.*k.member = popup ? k.popup_default : k.tooltip_default;
        const bool read = file.ReadInt(section, k.key, &(place.*k.member));
        if (read && (k.member == &WindowPlace::x || k.member == &WindowPlace::y)) {
            place.stored = true;
        }
    }
    return place;
}

void WritePlace(const SettingsFile& file, const char* section, const WindowPlace& place) {
    for (const PlaceKey& k : kPlaceKeys) file.WriteInt(section, k.key, place.*k.member);
}

}  // namespace

ProgramSettings::ProgramSettings() {
    for (const ProgramKey& k : kProgramKeys) {
        if (k.write == Write::kNever) continue;  // an override has no default of its own
        if (k.flag) this->*k.flag = k.default_value != 0;
        if (k.number) this->*k.number = k.default_value;
        if (k.text) (this->*k.text).clear();
    }
}

int HistorySizeLimit() { return wordlists::HistoryStore::kMostEntries; }

ProgramSettings ReadProgramSettings(const SettingsFile& file, const ScreenMetrics& screen) {
    ProgramSettings s;
    for (const ProgramKey& k : kProgramKeys) {
        if (k.flag) file.ReadBool(k.section, k.key, &(s.*k.flag));
        if (k.number) file.ReadInt(k.section, k.key, &(s.*k.number));
        if (k.text) file.ReadString(k.section, k.key, &(s.*k.text));
    }
    s.search_depth = std::clamp(s.search_depth, 1, 10);
    // Both search modes always start off; a close writes the modes in use then.
    s.use_regex = false;
    s.use_wildcards = false;
    ClampMainWindow(&s, screen);
    ClampTextWindow(&s, screen);
    ClampHistorySize(&s);
    return s;
}

void WriteProgramSettings(const SettingsFile& file, const ProgramSettings& s, bool minimized) {
    for (const ProgramKey& k : kProgramKeys) {
        switch (k.write) {
            case Write::kAlways:
                break;
            case Write::kInDualMode:
                if (!s.dual) continue;
                break;
            case Write::kNormalWindow:
                if (s.maximized || minimized) continue;
                break;
            case Write::kNever:
                continue;
        }
        if (k.flag) file.WriteBool(k.section, k.key, s.*k.flag);
        if (k.number) file.WriteInt(k.section, k.key, s.*k.number);
        if (k.text) file.WriteString(k.section, k.key, s.*k.text);
    }
}

WindowPlace ReadPopupPlace(const SettingsFile& file, const ScreenMetrics& screen) {
    WindowPlace p = ReadPlace(file, kPopupSection, true);
    p.width = AtMost(AtLeast(p.width, 155), screen.max_track_width - 150);
    p.height = AtMost(AtLeast(p.height, 120), screen.max_track_height - 150);
    p.x = AtMost(AtLeast(p.x, 0), screen.full_width - p.width);
    p.y = AtMost(AtLeast(p.y, 0), screen.full_height - p.height);
    return p;
}

WindowPlace ReadTooltipPlace(const SettingsFile& file, const ScreenMetrics& screen) {
    WindowPlace p = ReadPlace(file, kTooltipSection, false);
    p.width = AtMost(AtLeast(p.width, 60), screen.max_track_width);
    p.height = AtMost(AtLeast(p.height, 60), screen.max_track_height);
    p.x = AtMost(AtLeast(p.x, 0), screen.full_width - 150);
    p.y = AtMost(AtLeast(p.y, 0), screen.full_height - 70);
    return p;
}

void WritePopupPlace(const SettingsFile& file, const WindowPlace& place) {
    WritePlace(file, kPopupSection, place);
}

void WriteTooltipPlace(const SettingsFile& file, const WindowPlace& place) {
    WritePlace(file, kTooltipSection, place);
}

}  // namespace wordbay
