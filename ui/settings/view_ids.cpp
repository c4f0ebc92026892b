#include "ui/settings/view_ids.h"

#include "ui/settings/popup_looks_page.h"

using wordbay::ViewColor;
using wordbay::ViewFlag;
using wordbay::ViewFont;
using wordbay::ViewGroup;
namespace v = view_command;

std::optional<ViewTarget> viewTarget(int id, bool primaryToSecondary) {
    using K = ViewTarget;
    const PopupViewKeys k = popupViewKeys(primaryToSecondary);
    auto font = [](ViewFont f) { return ViewTarget{K::kFont, f}; };
    auto color = [](ViewColor c) { return ViewTarget{K::kColor, ViewFont::kEdit1, c}; };
    auto flag = [](ViewFlag f) {
        return ViewTarget{K::kFlag, ViewFont::kEdit1, ViewColor::kEdit1Background, f};
    };
    auto reset = [](ViewGroup g) {
        return ViewTarget{K::kReset, ViewFont::kEdit1, ViewColor::kEdit1Background,
                          ViewFlag::kMainUseSystemColors, g};
    };
    if (id >= v::kPopupListColorFirst && id <= v::kPopupListColorLast) {
        return color(k.popupListColors[id - v::kPopupListColorFirst]);
    }
    // clang-format off
    switch (id) {
        case v::kEdit1Font:               return font(ViewFont::kEdit1);
        case v::kEdit2Font:               return font(ViewFont::kEdit2);
        case v::kEdit1Background:         return color(ViewColor::kEdit1Background);
        case v::kEdit2Background:         return color(ViewColor::kEdit2Background);
        case v::kList1Font:               return font(ViewFont::kListBox1);
        case v::kList2Font:               return font(ViewFont::kListBox2);
        case v::kList1Background:         return color(ViewColor::kListBox1Background);
        case v::kList2Background:         return color(ViewColor::kListBox2Background);
        case v::kList1OddRow:             return color(ViewColor::kListBox1OddRow);
        case v::kList2OddRow:             return color(ViewColor::kListBox2OddRow);
        case v::kList1SelectedRow:        return color(ViewColor::kListBox1SelectedBackground);
        case v::kList2SelectedRow:        return color(ViewColor::kListBox2SelectedBackground);
        case v::kList1SelectedText:       return color(ViewColor::kListBox1SelectedText);
        case v::kList2SelectedText:       return color(ViewColor::kListBox2SelectedText);
        case v::kMainReset:               return reset(ViewGroup::kMainWindow);
        case v::kMainSystemColors:        return flag(ViewFlag::kMainUseSystemColors);
        case v::kPopupEditFont:           return font(k.popupEditFont);
        case v::kPopupEditBackground:     return color(k.popupEditBackground);
        case v::kPopupListFont:           return font(k.popupListFont);
        case v::kPopupReset:              return reset(ViewGroup::kPopup);
        case v::kPopupSystemColors:       return flag(ViewFlag::kPopupUseSystemColors);
        case v::kTooltipWordFont:         return font(k.tooltipWordFont);
        case v::kTooltipTranslationFont:  return font(k.tooltipTranslationFont);
        case v::kTooltipActive:           return color(k.tooltipActiveBackground);
        case v::kTooltipInactive:         return color(k.tooltipInactiveBackground);
        case v::kTooltipInactiveText:     return color(k.tooltipInactiveText);
        case v::kTooltipUsePattern:       return flag(ViewFlag::kTooltipUsePattern);
        case v::kTooltipPattern:          return ViewTarget{K::kPattern};
        case v::kTooltipReset:            return reset(ViewGroup::kTooltip);
        case v::kTooltipSystemColors:     return flag(ViewFlag::kTooltipUseSystemColors);
        default:                          return std::nullopt;
    }
    // clang-format on
}
