/*
** keysnare: the global hot key.
**
** The library watches the keyboard of the whole X11 display and tells one
** window when the user has held a configured combination of two or three keys
** together and then released all of them. The combination, the target window,
** the message number and the armed flag live in a 24-byte block of shared
** memory, one per user, that every process loading the library maps: the
** first process creates it zeroed, later ones open it as they find it, and it
** goes away when the last process unloads the library.
**
** Keys are Windows virtual-key codes (0x11 CONTROL, 0x10 SHIFT, 0x12 ALT,
** 0x41-0x5A letters, ...); the library maps them to X keysyms. The left and
** right keys of CONTROL, SHIFT and ALT both count as the key.
**
** The message reaches the target window as an X11 ClientMessage of type
** "WM_HOTKEY_TRIGGER" (format 32) with data.l[0] the message number and
** data.l[1] the window that was active when the combination was released
** (0 when the window manager names none).
**
** Functions may be called from any thread. Nothing the library does grabs or
** swallows a key.
*/
#ifndef KEYSNARE_H
#define KEYSNARE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/*
** KillKeysnare: stops watching the keyboard in this process (the listener that
** SetKeysnare started). The shared block keeps its contents. Returns 1, also
** when nothing was watching.
*/
int32_t KillKeysnare(void);

/*
** SendKeys: plays "count" key events from "keys" into the X server, as if
** typed. Each entry holds the virtual-key code in bits 0-7 and a press in
** bit 15 (clear: a release); bit 14 (system key) and the other bits are
** ignored. Virtual keys that the keyboard mapping cannot produce are skipped.
** Before playing, SendKeys waits until ALT, SHIFT and CONTROL are all released.
** It returns when the list has been played.
**   1   the whole list was played, or "count" is 0 (nothing is done)
**   0   another SendKeys of this process is waiting or playing (it goes on
**       undisturbed); "keys" is null or "count" negative; there is no X
**       display or it lacks the XTest extension; WEP interrupted the playback
**       (keys that the list pressed and had not released are then released)
** "keys" must stay valid until SendKeys returns.
*/
int32_t SendKeys(const uint32_t* keys, int32_t count);

/*
** SetKeysnare: makes "target_window" (an X11 window id) the receiver of the
** hot-key message "message", clears the armed flag, and starts watching the
** keyboard in this process with XInput2 raw key events.
**   1   the listener runs (a listener already running goes on and uses the
**       new target and message)
**   0   the shared block is missing, or there is no X display or it lacks
**       XInput 2.0; target and message are stored all the same when the
**       block exists
** The listener runs on its own thread until KillKeysnare or the library is
** unloaded.
*/
int32_t SetKeysnare(uint32_t target_window, uint32_t message);

/*
** SetKeySchortcut: sets the combination: "first_key" and "second_key" are
** required, "third_key" is 0 for a two-key combination. The change takes effect
** at the next key event of any listener and leaves the armed flag alone.
**   1   the keys were stored
**   0   the shared block is missing; nothing changes
*/
int32_t SetKeySchortcut(uint32_t first_key, uint32_t second_key, uint32_t third_key);

/*
** WEP: interrupts a SendKeys of this process that is waiting or playing; that
** SendKeys then returns 0. "ignored" is not used. Returns 1.
*/
int32_t WEP(int32_t ignored);

#ifdef __cplusplus
}
#endif

#endif /* KEYSNARE_H */
