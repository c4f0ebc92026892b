// What the main window's tests do as a user would: choose a menu item by the
// text the interface language gives it, press one of a window's keys, click
// a button of the button bar. Each goes through the real action, key or
// button, so an item wired to the wrong command fails the test.
#pragma once

#include <QKeySequence>

#include "app/message_table.h"

class MainForm;
class QWidget;

// Chooses the enabled item of the main menu whose text is `text`; false when
// the menu has no such item or it is disabled.
bool chooseMenuItem(MainForm* form, wordbay::TextId text);
// Presses `key`, one of the keys `window` answers; false when it has none.
bool pressKey(QWidget* window, const QKeySequence& key);
// Clicks the enabled button of the button bar for command `id` and lets its
// command arrive; false when the bar has no such button or it is disabled.
bool clickButton(MainForm* form, int id);
