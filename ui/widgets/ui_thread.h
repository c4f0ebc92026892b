// Work handed from another thread (the worker, a text run, a key player) to
// the thread of the windows.
//
// Qt orders every hand-over through an event queue with locks of its own,
// which the thread checker cannot see. A lock of ours, held on the sending
// side while the work or a signal is queued and taken on the receiving side
// before it runs, shows the checker the same order, so that a real race
// around a hand-over still shows and the hand-over itself does not. Only the
// checker's build takes that lock.
#pragma once

#include <QObject>
#include <functional>
#include <mutex>
#include <utility>

// Runs `work` on `context`'s thread through its event queue, after all the
// caller did before the call; nothing if `context` is gone by then.
void postToUiThread(QObject* context, std::function<void()> work);

// Held while a signal of `sender` is emitted: when the emitting thread is not
// the sender's own, the signal reaches receivers on the sender's thread
// queued, and the lock marks it as handed over.
class QueuedSignalScope {
public:
    explicit QueuedSignalScope(const QObject* sender);

private:
    std::unique_lock<std::recursive_mutex> m_handOver;
};

// Emits `signal` of `sender` with `args` inside a QueuedSignalScope.
template <typename Sender, typename... Params, typename... Args>
void emitHandedOver(Sender* sender, void (Sender::*signal)(Params...), Args&&... args) {
    const QueuedSignalScope handOver(sender);
    (sender->*signal)(std::forward<Args>(args)...);
}

// From now until `owner` is gone, every queued call that runs on `owner`'s
// thread (a queued signal, a queued functor) first takes the lock its sender
// held while queueing it.
void markQueuedCallsOn(QObject* owner);
