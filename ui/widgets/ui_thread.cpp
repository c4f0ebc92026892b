#include "ui/widgets/ui_thread.h"

#include <mutex>

namespace {

std::mutex& handOverLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

void postToUiThread(QObject* context, std::function<void()> work) {
    // The event queue's own lock is taken inside; the thread of the windows
    // takes this one only while it holds no other, so the two never cross.
    std::lock_guard<std::mutex> queued(handOverLock());
    QMetaObject::invokeMethod(
        context,
        [work = std::move(work)] {
            { std::lock_guard<std::mutex> taken(handOverLock()); }
            work();
        },
        Qt::QueuedConnection);
}
