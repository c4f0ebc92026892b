// Work handed from another thread (the worker, a text run, a key player) to
// the thread of the windows.
#pragma once

#include <QObject>
#include <functional>

// Runs `work` on `context`'s thread through its event queue, after all the
// caller did before the call; nothing if `context` is gone by then. Qt orders
// the hand-over with locks of its own, which the thread checker cannot see;
// a lock of ours, held while the work is queued and taken before it runs,
// shows it the same order, so that a real race around the hand-over still
// shows.
void postToUiThread(QObject* context, std::function<void()> work);
