// The test hooks of the program: options that only the test build of the
// program (wordbay-test) takes, for the tests and the documentation's
// pictures that drive the real program from outside.
//
//   --report-translation WORD FILE  the first start: types WORD once the
//       dictionaries are open and writes the window title and what the list
//       of translations shows to FILE, then closes the window
//   --report-hot-key FILE  writes what the popup or the tooltip shows to
//       FILE and closes the window; with --keep-running the window stays and
//       FILE is written again whenever what they show changes
//   --report-typed FILE  writes the search box's text and the words its list
//       shows once typing has settled, then closes the window
//   --screenshot FILE  saves a picture of the window to FILE (after --type)
//       and closes it
//   --type WORD  types WORD into the search box once the dictionaries are open
//   --command ID  gives the menu command ID (after --type), as if chosen
//
// The shipped program knows none of them: it refuses them as unknown options.
#pragma once

#include "ui/main/startup.h"

// The hooks, for runWordbay().
StartupAdditions startupTestHooks();
