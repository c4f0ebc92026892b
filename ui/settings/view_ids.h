// The font and colour controls of the settings pages by their ids, and the
// setting each one changes. The pages forward their commands to the main
// window under these numbers, and the main window asks viewTarget() what
// to change: the ids are data, never renumbered.
#pragma once

#include <optional>

#include "app/dictionary_settings.h"

namespace view_command {

// The page of the main window's controls (MainWindowLooksPage): the primary list's
// group, then the secondary list's.
inline constexpr int kEdit1Font = 7202;
inline constexpr int kEdit1Background = 7203;
inline constexpr int kList1Font = 7205;
inline constexpr int kList1Background = 7206;
inline constexpr int kList1OddRow = 7207;
inline constexpr int kList1SelectedRow = 7208;
inline constexpr int kList1SelectedText = 7209;
inline constexpr int kEdit2Font = 7211;
inline constexpr int kEdit2Background = 7212;
inline constexpr int kList2Font = 7213;
inline constexpr int kList2Background = 7214;
inline constexpr int kList2OddRow = 7215;
inline constexpr int kList2SelectedRow = 7216;
inline constexpr int kList2SelectedText = 7217;
inline constexpr int kMainReset = 7218;
inline constexpr int kMainSystemColors = 7219;
// Every id the page forwards lies in this range.
inline constexpr int kMainFirst = kEdit1Font;
inline constexpr int kMainLast = kMainSystemColors;

// The page of the popup and the tooltip (PopupLooksPage), in the current
// translation direction.
inline constexpr int kPopupEditFont = 7403;
inline constexpr int kPopupEditBackground = 7404;
inline constexpr int kPopupListFont = 7406;
// The popup list's background, odd row, selected row and selected text:
// these four go to the dual dictionary as well.
inline constexpr int kPopupListColorFirst = 7407;
inline constexpr int kPopupListColorLast = 7410;
inline constexpr int kTooltipWordFont = 7413;
inline constexpr int kTooltipTranslationFont = 7414;
inline constexpr int kTooltipActive = 7415;
inline constexpr int kTooltipInactive = 7416;
inline constexpr int kTooltipInactiveText = 7417;
inline constexpr int kTooltipUsePattern = 7418;
inline constexpr int kTooltipPattern = 7419;  // code 9, parameter = the pattern's index
inline constexpr int kPopupReset = 7432;
inline constexpr int kPopupSystemColors = 7433;
inline constexpr int kTooltipReset = 7434;
inline constexpr int kTooltipSystemColors = 7435;
inline constexpr int kPopupFirst = kPopupEditFont;
inline constexpr int kPopupLast = kTooltipSystemColors;

}  // namespace view_command

// What a font or colour control of the settings pages changes.
struct ViewTarget {
    enum Kind { kFont, kColor, kReset, kFlag, kPattern } kind;
    wordbay::ViewFont font = wordbay::ViewFont::kEdit1;
    wordbay::ViewColor color = wordbay::ViewColor::kEdit1Background;
    wordbay::ViewFlag flag = wordbay::ViewFlag::kMainUseSystemColors;
    wordbay::ViewGroup group = wordbay::ViewGroup::kMainWindow;
};

// What control `id` changes when the dictionary translates primary to
// secondary (`primaryToSecondary`) or back; none for any other id.
std::optional<ViewTarget> viewTarget(int id, bool primaryToSecondary);
