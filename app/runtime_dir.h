// The folder for this user's sockets: one that no other local user can put
// anything into, so that nobody else can take the program's single-instance
// socket first or listen in its place.
#pragma once

#include <string>

namespace wordbay {

// $XDG_RUNTIME_DIR when it is a folder of this user that only this user may
// enter (0700); otherwise "<temp>/wordbay-<uid>" under $TMPDIR or /tmp,
// created 0700 when missing and taken only when it is a real folder (not a
// link) of this user with no access for others. When someone else holds that
// name, the next of "wordbay-<uid>-1" to "-15" that passes; empty when none
// does.
std::string PrivateRuntimeDir();

// Whether `path` is a folder (not a link) owned by this user that nobody
// else may read, write or enter.
bool IsPrivateDir(const std::string& path);

}  // namespace wordbay
