// ButtonBar: the two rows of image buttons under the menu. Each button carries
// the command id of the menu item it stands for and reports to the main
// window; a toggle button shows the state of its option. The tips come from
// the interface language and are set again when it changes.
#pragma once

#include <QHash>
#include <QWidget>

class WImageButton;
class WTipManager;

class ButtonBar : public QWidget {
    Q_OBJECT

public:
    ButtonBar(QWidget* parent, WTipManager* tips);
    ~ButtonBar() override;

    // The button of command `id`, or null.
    WImageButton* button(int id) const { return m_buttons.value(id); }
    // Sets the toggled state of toggle button `id` (nothing for other ids).
    void setToggled(int id, bool on);
    void setButtonEnabled(int id, bool on);
    // Sets every tip from the current interface language.
    void retranslate();

private:
    WTipManager* m_tips;
    QHash<int, WImageButton*> m_buttons;
};
