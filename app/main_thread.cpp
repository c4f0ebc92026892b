#include "app/main_thread.h"

#include <utility>

namespace wordbay {

MainThread::MainThread(std::function<void(int)> run_job) : run_job_(std::move(run_job)) {}

MainThread::~MainThread() { Stop(); }

void MainThread::Start(int first_job) {
    if (started_) return;
    running_.store(true);
    started_ = true;
    thread_ = std::thread([this] { Loop(); });
    SetJob(first_job);
}

void MainThread::SetJob(int job) {
    job_.store(job);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = true;
    }
    signal_.notify_one();
}

bool MainThread::job_pending() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return signalled_;
}

void MainThread::RequestStop() {
    running_.store(false);
    SetJob(0);
}

void MainThread::Join() {
    if (thread_.joinable()) thread_.join();
}

void MainThread::Stop() {
    if (!started_) return;
    RequestStop();
    Join();
}

void MainThread::Loop() {
    while (running_.load()) {
        int job = 0;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            signal_.wait(lock, [this] { return signalled_; });
            signalled_ = false;  // auto-reset
            job = job_.load();
            // Marked busy before the event reads clear, so that an observer
            // checking job_pending() and then busy() never sees both false
            // while work remains.
            busy_.store(job != 0 && running_.load());
        }
        if (!busy_.load()) continue;
        run_job_(job);
        busy_.store(false);
    }
    finished_.store(true);
}

}  // namespace wordbay
