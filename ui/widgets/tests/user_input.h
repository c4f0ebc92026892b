// What the windows' tests do as a user would, for every suite of the
// program's windows: choose an item of a window's menu bar by its text,
// press one of a window's keys, click a button. Each goes through the real
// action, shortcut or button, so an item wired to the wrong command fails
// the test that uses it.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QtTest>

namespace user_input {

// A menu text without the key name after its tab.
inline QString menuText(const QString& text) { return text.section(QLatin1Char('\t'), 0, 0); }

// Chooses the enabled item of `window`'s menu bar whose text is `text`;
// false when there is none or it is disabled.
inline bool chooseMenuItem(QWidget* window, const QString& text) {
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        for (QAction* menu : bar->actions()) {
            if (menu->menu() == nullptr) continue;
            for (QAction* item : menu->menu()->actions()) {
                if (item->isSeparator() || menuText(item->text()) != menuText(text)) continue;
                if (!item->isEnabled()) return false;
                item->trigger();
                return true;
            }
        }
    }
    return false;
}

// Presses `key`, one of the keys `window` itself answers (not those of the
// windows it owns); false when it has none.
inline bool pressKey(QWidget* window, const QKeySequence& key) {
    for (QShortcut* shortcut : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
        if (shortcut->key() != key || !shortcut->isEnabled()) continue;
        emit shortcut->activated();
        return true;
    }
    return false;
}

// Clicks `button` when it is there and enabled, and lets a command it
// posts arrive.
inline bool clickButton(QAbstractButton* button) {
    if (button == nullptr || !button->isEnabled()) return false;
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(button, QEvent::MetaCall);
    return true;
}

// The button of `window` whose text is `text`.
inline bool clickButton(QWidget* window, const QString& text) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text() == text) return clickButton(button);
    }
    return false;
}

}  // namespace user_input
