// MainThread: the one worker thread that runs the numbered jobs of the main
// window (searches, loads, saves, imports).
//
// The user-interface thread stores a job number and signals an auto-reset
// event. There is no queue: a number stored while a job runs replaces any
// number stored before it, and the worker runs the newest one when the
// current job ends. Job 0 does nothing; it wakes the worker to end.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace wordbay {

class MainThread {
public:
    // `run_job` runs one job by number on the worker thread.
    explicit MainThread(std::function<void(int)> run_job);
    // Stops the worker (as Stop) if it still runs.
    ~MainThread();
    MainThread(const MainThread&) = delete;
    MainThread& operator=(const MainThread&) = delete;

    // Sets the running flag, starts the thread and sets `first_job`.
    void Start(int first_job);

    // Stores the job number, then signals the event.
    void SetJob(int job);
    // The last job number stored; -1 before the first.
    int job() const { return job_.load(); }

    // False once a stop was requested (jobs that wait poll it).
    bool running() const { return running_.load(); }
    // True while a job other than 0 runs.
    bool busy() const { return busy_.load(); }
    // True when a job number was stored that the worker has not yet taken.
    bool job_pending() const;

    // Clears the running flag and wakes the worker with job 0, without
    // waiting: a running job is never cut off and the worker ends after it.
    void RequestStop();
    // Whether the worker has ended (or never started).
    bool finished() const { return !started_ || finished_.load(); }
    // Waits for the worker to end. The job it may be running can be waiting
    // for the user-interface thread (a MainView call): callers on that thread
    // keep their event loop running until finished() before they join.
    void Join();
    // RequestStop, then Join.
    void Stop();

private:
    void Loop();

    std::function<void(int)> run_job_;
    std::atomic<bool> running_{false};
    std::atomic<bool> busy_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> job_{-1};
    bool started_ = false;  // user-interface thread only

    mutable std::mutex mutex_;
    std::condition_variable signal_;
    bool signalled_ = false;  // the auto-reset event, guarded by mutex_

    std::thread thread_;
};

}  // namespace wordbay
