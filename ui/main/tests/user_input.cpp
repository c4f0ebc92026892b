#include "ui/main/tests/user_input.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QtTest>

#include "ui/main/button_bar.h"
#include "ui/main/main_form.h"
#include "ui/widgets/w_image_button.h"

bool chooseMenuItem(MainForm* form, wordbay::TextId text) {
    const QString wanted = QString::fromUtf8(wordbay::UiText(text));
    const auto* bar = form->findChild<QMenuBar*>(QStringLiteral("mainMenu"));
    if (bar == nullptr) return false;
    for (QAction* menu : bar->actions()) {
        if (menu->menu() == nullptr) continue;
        for (QAction* item : menu->menu()->actions()) {
            if (item->isSeparator() || item->text() != wanted) continue;
            if (!item->isEnabled()) return false;
            item->trigger();
            return true;
        }
    }
    return false;
}

bool pressKey(QWidget* window, const QKeySequence& key) {
    // The window's own shortcuts only, not those of the windows it owns.
    for (QShortcut* shortcut : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
        if (shortcut->key() != key || !shortcut->isEnabled()) continue;
        emit shortcut->activated();
        return true;
    }
    return false;
}

bool clickButton(MainForm* form, int id) {
    WImageButton* button = form->buttonBar()->button(id);
    if (button == nullptr || !button->isEnabled()) return false;
    QTest::mouseClick(button, Qt::LeftButton);
    // The button reports its command by a queued call.
    QCoreApplication::sendPostedEvents(button, QEvent::MetaCall);
    return true;
}
