// DlgFontBoje1: the fonts and colours of the popup and tooltip windows for
// the current translation direction. Like DlgFontBoje, it forwards every
// button and box to the main window and then repaints its swatches.
//
// Popup: edit box font 7403, background 7404; list font 7406, background
// 7407, odd row 7408, selected row 7409, selected text 7410; reset 7432;
// system colours box 7433. Tooltip: word font 7413, translation font 7414,
// active background 7415, inactive background 7416, inactive text 7417; use
// pattern box 7418; pattern choice 7419 (code 9, parameter = the pattern's
// index); reset 7434 (the page then unticks 7418 and shows pattern 0);
// system colours box 7435. Swatches: 7420 popup edit font colour, 7421 popup
// list font colour, 7422 popup edit background, 7423-7426 popup list colours,
// 7427 tooltip word colour, 7428 tooltip translation colour, 7429 active
// background, 7430 inactive background, 7431 inactive text colour.
#pragma once

#include <QStringList>

#include "app/dictionary_settings.h"
#include "ui/settings/settings_page.h"

// The settings the popup and tooltip show in one translation direction: the
// primary set (the "_primary" keys and the popup's "1" colours) in the
// primary-to-secondary direction, the secondary set in the other.
struct PopupViewKeys {
    wordbay::ViewFont popupEditFont;
    wordbay::ViewColor popupEditBackground;
    wordbay::ViewFont popupListFont;
    wordbay::ViewColor popupListColors[4];  // background, odd row, selected row, selected text
    wordbay::ViewFont tooltipWordFont;
    wordbay::ViewFont tooltipTranslationFont;
    wordbay::ViewColor tooltipActiveBackground;
    wordbay::ViewColor tooltipInactiveBackground;
    wordbay::ViewColor tooltipInactiveText;
};
PopupViewKeys popupViewKeys(bool primaryToSecondary);

// The names of the tooltip background patterns, by index.
const QStringList& tooltipPatternNames();

class DlgFontBoje1 : public SettingsPage {
    Q_OBJECT

public:
    DlgFontBoje1(const SettingsContext& context, SettingsTarget* target, QWidget* parent = nullptr);
    ~DlgFontBoje1() override;

protected:
    void afterViewChange(int viewId) override;

private:
    void createPopupPart(QWidget* parent);
    void createTooltipPart(QWidget* parent);

    PopupViewKeys m_keys;
};
