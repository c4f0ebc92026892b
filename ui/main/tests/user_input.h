// The main window's tests as a user: the shared helpers of the windows'
// suites, with the main window's menu items by their interface texts and its
// buttons by their commands.
#pragma once

#include "app/message_table.h"
#include "ui/widgets/tests/user_input.h"

class MainForm;

using user_input::pressKey;

// Chooses the enabled item of the main menu whose text is `text`.
bool chooseMenuItem(MainForm* form, wordbay::TextId text);
// Clicks the enabled button of the button bar for command `id`.
bool clickButton(MainForm* form, int id);
