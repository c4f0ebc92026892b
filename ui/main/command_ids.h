// The command ids of the main window: the keys of its menu, key and button
// tables, by which the window connects each item to what it does, and of the
// interface-language file's menu texts. The settings pages' controls and a
// later start's requests use some of them too: they are data, never
// renumbered.
#pragma once

#include "ui/settings/config_ids.h"
#include "ui/settings/view_ids.h"

namespace cmd {

// Dictionary menu.
inline constexpr int kCreateNew = 1009;
inline constexpr int kImport = 1007;
inline constexpr int kUpdate = 338;
inline constexpr int kChange = 1010;
inline constexpr int kSave = 1004;
inline constexpr int kSaveAs = 1005;
inline constexpr int kExport = 1006;
inline constexpr int kDictionaryInfo = 1011;
inline constexpr int kExit = 300;

// Functions menu.
inline constexpr int kCharmap = 1022;
inline constexpr int kDualMode = 341;
inline constexpr int kLoadDual = 342;
inline constexpr int kLink = 344;
inline constexpr int kMultiple = 343;
inline constexpr int kEditMode = 312;
inline constexpr int kAddWord = 354;
inline constexpr int kDeleteWord = 355;
inline constexpr int kChangeWord = 336;
inline constexpr int kTranslateText = 463;
inline constexpr int kCopy = 443;
inline constexpr int kPaste = 444;
inline constexpr int kListPalindrome = 440;
inline constexpr int kListIdentical = 442;

// Settings menu.
inline constexpr int kSettings = 327;
inline constexpr int kInterfaceLanguage = 1012;
inline constexpr int kAlwaysOnTop = config_command::kMainOnTop;
inline constexpr int kUseHotKeys = config_command::kUseHotKeys;
inline constexpr int kActivateSpeechMenu = 458;
inline constexpr int kActivateSpeechButton = 459;
inline constexpr int kAnagrams1 = 333;
inline constexpr int kAnagrams2 = 334;
inline constexpr int kAnagrams3 = 335;
inline constexpr int kIgnoreAccents = 332;
inline constexpr int kUseRegex = 445;
inline constexpr int kUseWildcards = 303;
inline constexpr int kCaseSensitive = 307;
inline constexpr int kUseClipboard = 304;
inline constexpr int kChangeDirection = 314;
inline constexpr int kAutotranslate = 309;

// Help menu, tray menu.
inline constexpr int kHelpContents = 301;
inline constexpr int kHelpAbout = 302;
inline constexpr int kRestoreFromTray = 455;

// Context menu of the edit boxes and lists.
inline constexpr int kSpeak = 1013;
inline constexpr int kStopSpeaking = 1020;
inline constexpr int kUndo = 1014;
inline constexpr int kCut = 1015;
inline constexpr int kContextCopy = 1016;
inline constexpr int kContextPaste = 1017;
inline constexpr int kSelectAll = 1018;
inline constexpr int kDelete = 1019;
inline constexpr int kDropWord = 1021;

// Keys and buttons without a menu item.
inline constexpr int kLeave = 308;             // Esc
inline constexpr int kLeaveToOther = 310;      // Shift+Esc
inline constexpr int kStartTranslation = 462;  // F12, for the text window
inline constexpr int kMainDirection = 356;
inline constexpr int kDualDirection = 345;
// The interface page of the settings (ui/settings/config_ids.h): a key of
// the hot key was chosen, the window it calls, the other windows' options.
inline constexpr int kHotKeyChoice1 = config_command::kKey1;
inline constexpr int kHotKeyChoice2 = config_command::kKey2;
inline constexpr int kHotKeyChoice3 = config_command::kKey3;
inline constexpr int kHotKeysCallMain = config_command::kCallMain;
inline constexpr int kHotKeysCallPopup = config_command::kCallPopup;
inline constexpr int kHotKeysCallTooltip = config_command::kCallTooltip;
inline constexpr int kMinimizeToTray = config_command::kMinimizeToTray;
inline constexpr int kPopupOnTop = config_command::kPopupOnTop;
inline constexpr int kTooltipOnTop = config_command::kTooltipOnTop;
inline constexpr int kSnapPopup = config_command::kSnapPopup;
inline constexpr int kSnapTooltip = config_command::kSnapTooltip;
// Sent by a second start of the program.
inline constexpr int kActivateInstance = 130;
// Sent by "wordbay --translate-selection": act as on the hot key.
inline constexpr int kTranslateSelection = 131;

// The font and colour buttons of the settings pages (ui/settings/view_ids.h):
// the main window's page, and the page of the popup and the tooltip (the
// popup's four list colours among them go to the dual dictionary as well).
inline constexpr int kMainViewFirst = view_command::kMainFirst;
inline constexpr int kMainViewLast = view_command::kMainLast;
inline constexpr int kPopupViewFirst = view_command::kPopupFirst;
inline constexpr int kPopupViewLast = view_command::kPopupLast;
inline constexpr int kPopupListColorFirst = view_command::kPopupListColorFirst;
inline constexpr int kPopupListColorLast = view_command::kPopupListColorLast;

// Controls of the two dictionary panes.
inline constexpr int kMainPrimaryList = 350;
inline constexpr int kMainSecondaryList = 351;
inline constexpr int kMainPrimaryEdit = 352;
inline constexpr int kMainSecondaryEdit = 353;
inline constexpr int kDualPrimaryList = 346;
inline constexpr int kDualSecondaryList = 347;
inline constexpr int kDualPrimaryEdit = 348;
inline constexpr int kDualSecondaryEdit = 349;
inline constexpr int kPrimaryLabel = 10000;
inline constexpr int kSecondaryLabel = 10001;

// How often the status strip shows the engine's progress.
inline constexpr int kProgressPeriodMs = 200;

}  // namespace cmd
