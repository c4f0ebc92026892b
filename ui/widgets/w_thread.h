// WThread: a worker thread of the program. start() runs run(argument) on a
// new thread and then finished(result) on the same thread; a thread that is
// still running refuses a new start. Stopping is cooperative: stop() raises
// the stop flag that run() looks at (stopRequested()), calls wake() so that a
// run() waiting for work notices it, and joins. Destruction stops the same
// way, but cannot call the derived class any more: a class whose run() uses
// its own members calls stop() in its destructor.
//
// start(), stop() and the destructor are called from one controlling thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

class WThread {
public:
    WThread();
    virtual ~WThread();
    WThread(const WThread&) = delete;
    WThread& operator=(const WThread&) = delete;

    // Starts the thread with `argument`. False while a thread runs, and when
    // called from the thread itself.
    bool start(std::intptr_t argument = 0);
    // Raises the stop flag, wakes run() and waits until the thread has ended.
    // Returns at once when no thread was started.
    void stop();
    // Raises the stop flag and calls wake() without waiting.
    void requestStop();

    bool isRunning() const { return m_running.load(); }
    bool stopRequested() const { return m_stop.load(); }

protected:
    // The thread's work; its result goes to finished().
    virtual int run(std::intptr_t argument) = 0;
    virtual void finished(int result);
    // Called by stop() and requestStop() on the controlling thread: wakes a
    // run() that waits (signal its event).
    virtual void wake();

private:
    void join();

    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stop{false};
};
