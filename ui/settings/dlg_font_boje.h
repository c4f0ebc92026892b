// DlgFontBoje: the fonts and colours of the current dictionary's main-window
// controls, one group per list. Every button and box is forwarded to the main
// window, which asks for the font or colour and stores it; the page then
// repaints its swatches so that they show the new values.
//
// Buttons (primary list, secondary list): edit box font 7202/7211, edit box
// background 7203/7212, list font 7205/7213, list background 7206/7214, odd
// row 7207/7215, selected row 7208/7216, selected text 7209/7217; reset 7218;
// system colours box 7219. Swatches: edit font colours 7222/7229, list font
// colours 7223/7230, edit backgrounds 7224/7231, list colours 7225-7228 and
// 7232-7235.
#pragma once

#include "ui/settings/settings_page.h"

class DlgFontBoje : public SettingsPage {
    Q_OBJECT

public:
    DlgFontBoje(const SettingsContext& context, SettingsTarget* target, QWidget* parent = nullptr);
    ~DlgFontBoje() override;

protected:
    void afterViewChange(int viewId) override;

private:
    void createControls();
};
