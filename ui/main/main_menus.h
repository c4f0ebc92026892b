// MainMenus: the main window's menu bar, the context menu of the panes' edit
// boxes and lists, and the window's keys. Each item is an action of the
// window for its command id; the check marks and the enabling are shown on
// the items and on the button bar's buttons of the same commands.
#pragma once

#include "app/search_options.h"

class ButtonBar;
class QMenu;
class QMenuBar;
class QPoint;
class QWidget;
class WForm;

class MainMenus {
public:
    // What the check marks and the enabling show.
    struct States {
        wordbay::SearchOptions options;
        bool editMode = false;
        bool mainOnTop = false;
        bool useHotKeys = false;
        bool useSpeech = false;
        int hotKeyTarget = 0;
    };

    // The menus go into `window`'s layout, their commands to `window`;
    // `buttons` shows the same states.
    MainMenus(WForm* window, ButtonBar* buttons);

    void createMenus();
    void createAccelerators();
    // The main window's keys, given to another window of the program.
    void shareAccelerators(QWidget* window);
    // Every menu text from the interface language.
    void retranslate();
    void showStates(const States& states);
    // The menus and the button bar take commands, or not (while a job runs).
    void setEnabled(bool enabled);
    // The context menu of an edit box or list of a pane at `globalPos`;
    // speaking is offered when `speech` is on.
    void showContextMenu(const QPoint& globalPos, QWidget* source, bool speech);
    // The Functions menu, where other parts add their items.
    QMenu* functionsMenu() const { return m_menus[1]; }

private:
    WForm* m_window;
    ButtonBar* m_buttons;
    QMenuBar* m_menuBar = nullptr;
    QMenu* m_menus[4] = {};
    QMenu* m_contextMenu = nullptr;
};
