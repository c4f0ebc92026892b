#include "ui/widgets/ui_thread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace {

// Only the thread checker's build takes the lock: elsewhere Qt's queue alone
// orders a hand-over, and the lock would only make the window wait now and
// then for a worker still sending.
#if defined(__SANITIZE_THREAD__)
constexpr bool kShowHandOvers = true;
#else
constexpr bool kShowHandOvers = false;
#endif

// Recursive: a queued call may be made while a queued signal is sent.
std::recursive_mutex& handOverLock() {
    static std::recursive_mutex lock;
    return lock;
}

// The receiving side: taken before a queued call runs. The thread taking it
// holds no other lock of ours at that point, so the two sides never cross.
void awaitHandOver() {
    if (kShowHandOvers) {
        std::lock_guard<std::recursive_mutex> taken(handOverLock());
    }
}

class QueuedCallMarker : public QObject {
public:
    explicit QueuedCallMarker(QObject* owner) : QObject(owner) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MetaCall) {
            awaitHandOver();
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void postToUiThread(QObject* context, std::function<void()> work) {
    // The event queue's own lock is taken inside this one.
    std::unique_lock<std::recursive_mutex> queued(handOverLock(), std::defer_lock);
    if (kShowHandOvers) queued.lock();
    QMetaObject::invokeMethod(
        context,
        [work = std::move(work)] {
            awaitHandOver();
            work();
        },
        Qt::QueuedConnection);
}

QueuedSignalScope::QueuedSignalScope(const QObject* sender)
    : m_handOver(handOverLock(), std::defer_lock) {
    if (kShowHandOvers && QThread::currentThread() != sender->thread()) {
        m_handOver.lock();
    }
}

void markQueuedCallsOn(QObject* owner) {
    if (!kShowHandOvers) return;
    QCoreApplication::instance()->installEventFilter(new QueuedCallMarker(owner));
}
