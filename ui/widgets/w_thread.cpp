#include "ui/widgets/w_thread.h"

#include <system_error>

WThread::WThread() = default;

WThread::~WThread() {
    m_stop.store(true);
    join();
}

bool WThread::start(std::intptr_t argument) {
    if (m_running.load()) return false;
    if (m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id()) return false;
    join();  // the previous thread, which has ended its work
    m_stop.store(false);
    // Raised here, not on the new thread, so that a second start() right
    // after this one is refused.
    m_running.store(true);
    try {
        m_thread = std::thread([this, argument] {
            const int result = run(argument);
            m_running.store(false);
            finished(result);
        });
    } catch (const std::system_error&) {
        m_running.store(false);
        return false;
    }
    return true;
}

void WThread::stop() {
    requestStop();
    join();
}

void WThread::requestStop() {
    m_stop.store(true);
    wake();
}

void WThread::finished(int) {}

void WThread::wake() {}

void WThread::join() {
    if (!m_thread.joinable()) return;
    if (m_thread.get_id() == std::this_thread::get_id()) {
        // The thread is stopping itself from run() or finished(): it cannot
        // wait for itself, so it runs to its end unattended.
        m_thread.detach();
        return;
    }
    m_thread.join();
}
