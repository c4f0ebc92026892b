// The hot-key state machine that runs on every key event of the display.
#ifndef KEYSNARE_HOOK_PROCEDURE_H
#define KEYSNARE_HOOK_PROCEDURE_H

#include "hook/hot_key_block.h"
#include "hook/key_map.h"

namespace keysnare {

// Runs the release test and then the press test on "block" with the keys as "keys" has them
// after the event. Release test: when armed and every configured key is up, disarms and
// returns true, and the caller posts the message. Press test, made every time: when every
// configured key is down, arms. A third key of 0 means none; other keys pressed meanwhile
// change nothing. The block is shared with other processes and read afresh each time.
bool RunHookProcedure(HotKeyBlock& block, const KeyState& keys);

}  // namespace keysnare

#endif  // KEYSNARE_HOOK_PROCEDURE_H
