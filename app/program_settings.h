// The program settings file "wordbay.ini" in the program folder: options,
// the interface language, the open dictionaries, the hot keys and the places
// of the windows.
//
// The main window reads the file once while it is created (everything but the
// popup and tooltip places, which those windows read when they are created)
// and writes it when it closes; the popup and tooltip windows write their own
// places when they are destroyed. Options changed while the program runs thus
// reach the file only at a regular close.
#pragma once

#include <string>

#include "app/settings_file.h"

namespace wordbay {

// What the window-place rules clamp against, in screen pixels: the usable
// area of the screen and the largest size a window may be given. The caller
// fills all four from the screen the program runs on.
struct ScreenMetrics {
    int full_width = 0;
    int full_height = 0;
    int max_track_width = 0;
    int max_track_height = 0;
};

// Every setting of the program settings file; each member names its section
// and key. The constructor sets the defaults of the key table in
// program_settings.cpp, the one place that names each key and its default.
struct ProgramSettings {
    ProgramSettings();

    // [options]
    bool show_text{};              // "showtext": text translation window shown at start
    bool use_speech{};             // "usespeech", overridden by [speech] "acitvate"
    bool fast_translation{};       // "brzo": text translation runs fast (1) or step by step
    bool wrap_original{};          // "ww1"
    bool wrap_translated{};        // "ww2"
    bool panes_side_by_side{};     // "jedandodrugoga"
    bool translate_from_cursor{};  // "fromcursor"
    int search_depth{};            // "deepsearch", 1..10
    bool minimize_to_tray{};       // "minimizetotray"
    bool show_splash{};            // "showsplash"
    bool ignore_accents{};         // "ignoreacc"
    bool use_regex{};              // "useregex", always off after reading
    bool use_wildcards{};          // "usewildcards", always off after reading
    bool use_clipboard{};          // "useclipboard"
    bool case_sensitive{};         // "casesensitive"
    bool auto_translate{};         // "autotranslate"
    bool main_on_top{};            // "uvijeknavrhu"
    bool popup_to_cursor{};        // "movepopuptocursor"
    bool tooltip_to_cursor{};      // "movetooltiptocursor"
    bool popup_on_top{};           // "popupuvijeknavrhu"
    bool tooltip_on_top{};         // "tooltipuvijeknavrhu"
    int history_size{};            // "historysize": words the history keeps, 0 = none

    // [dictionary]
    std::string language{};   // "language": language file name; empty = internal English
    std::string current{};    // "current": file name of the main dictionary
    bool dual{};              // "dual"
    std::string dual_name{};  // "dualname": written only while dual mode is on
    bool link{};              // "link"
    bool multiple{};          // "multiple"
    bool convert_v2{};        // "convertv2"

    // [hotkey]
    bool use_hot_keys{};   // "usehotkeys"
    int hot_key_target{};  // "hotkeyactivate": 0 main window, 1 popup, 2 tooltip
    int key1{};            // "key1", "key2", "key3": rows of HotKeyTable
    int key2{};
    int key3{};

    // [size]: the main window
    int x{};           // "x"
    int y{};           // "y"
    int width{};       // "cx"
    int height{};      // "cy"
    bool maximized{};  // "maximized"

    // [sizetext]: the text translation window, by its edges
    int text_left{};    // "x"
    int text_top{};     // "y"
    int text_right{};   // "w"
    int text_bottom{};  // "h"
};

// The most words the history may keep ("historysize").
int HistorySizeLimit();

// Reads the program settings file: defaults first, each key found over them,
// then the "acitvate" override and the clamps (search depth 1..10, the main
// and text window places against `screen`); regular expressions and wildcards
// are switched off whatever the file says.
ProgramSettings ReadProgramSettings(const SettingsFile& file, const ScreenMetrics& screen);

// Writes every key at close, in the fixed order: [dictionary], [sizetext],
// [options], [hotkey], [size]. "dualname" is written only in dual mode, and
// the main window's "x", "y", "cx", "cy" only when it is neither maximised
// (`settings.maximized`) nor `minimized`, so those keep the last normal place.
void WriteProgramSettings(const SettingsFile& file, const ProgramSettings& settings,
                          bool minimized);

// The place of the popup window ([sizep]) or of the tooltip window ([sizet]).
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;        // "cx"
    int height = 0;       // "cy"
    bool stored = false;  // "x" or "y" was in the file: the window was placed before
};

// Reads and clamps the popup place: defaults 0, 0, 170 by 210.
WindowPlace ReadPopupPlace(const SettingsFile& file, const ScreenMetrics& screen);
// Reads and clamps the tooltip place: defaults 0, 0, 100 by 100.
WindowPlace ReadTooltipPlace(const SettingsFile& file, const ScreenMetrics& screen);
void WritePopupPlace(const SettingsFile& file, const WindowPlace& place);
void WriteTooltipPlace(const SettingsFile& file, const WindowPlace& place);

}  // namespace wordbay
