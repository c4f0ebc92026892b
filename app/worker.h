// Worker: the thread that runs the main window's requests, one at a time.
//
// A request carries everything it needs (the text to search, the options, the
// file to write); the worker never asks the window for anything. Requests come
// in two kinds:
//   - searches: only the newest waits. A search made while another one waits
//     takes its place, so typing never queues searches that are stale before
//     they run;
//   - commands (load, save, export, import, update, ...): they wait in a queue
//     that never drops or replaces one.
// Whatever waits runs in the order it was made. A stop lets the running
// request end and the commands that wait run; a waiting search is dropped.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace wordbay {

template <class Search, class Command>
class Worker {
public:
    // What runs a request on the worker thread.
    struct Handlers {
        std::function<void(Search&)> search;
        std::function<void(Command&)> command;
    };

    explicit Worker(Handlers handlers) : handlers_(std::move(handlers)) {}
    // Stops the thread (as Stop) if it still runs.
    ~Worker() { Stop(); }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Starts the thread; requests posted before wait for it.
    void Start() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (started_) return;
        started_ = true;
        thread_ = std::thread([this] { Loop(); });
    }

    // Any thread. Refused (dropped) once a stop was asked.
    void Post(Search search) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) return;
            search_.emplace(std::move(search));
            search_order_ = next_order_++;
        }
        wake_.notify_one();
    }
    void Post(Command command) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) return;
            commands_.push_back({next_order_++, std::move(command)});
        }
        wake_.notify_one();
    }

    // A search waits to run: the one running now is moot.
    bool search_waiting() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return search_.has_value();
    }
    // A search (not a command) runs now.
    bool search_running() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return running_ == Running::kSearch;
    }
    // Something runs or waits to run.
    bool busy() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return running_ != Running::kNothing || search_.has_value() || !commands_.empty();
    }
    // The number of requests run to their end so far.
    std::uint64_t completed() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return completed_;
    }
    // False once a stop was asked (long requests look at it to give up early).
    bool running() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return !stopping_;
    }

    // Asks the thread to end once the commands that wait have run, without
    // waiting for it.
    void RequestStop() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            search_.reset();
        }
        wake_.notify_one();
    }
    // Whether the thread has ended (or never started).
    bool finished() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return !started_ || finished_;
    }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    void Stop() {
        RequestStop();
        Join();
    }

private:
    enum class Running { kNothing, kSearch, kCommand };
    struct Queued {
        std::uint64_t order;
        Command command;
    };

    void Loop() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || search_ || !commands_.empty(); });
            const bool search_first =
                search_ && (commands_.empty() || search_order_ < commands_.front().order);
            if (search_first) {
                Search search = std::move(*search_);
                search_.reset();
                running_ = Running::kSearch;
                lock.unlock();
                handlers_.search(search);
            } else if (!commands_.empty()) {
                Command command = std::move(commands_.front().command);
                commands_.pop_front();
                running_ = Running::kCommand;
                lock.unlock();
                handlers_.command(command);
            } else {
                break;  // stopping, nothing left
            }
            lock.lock();
            running_ = Running::kNothing;
            ++completed_;
        }
        finished_ = true;
    }

    Handlers handlers_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Search> search_;
    std::uint64_t search_order_ = 0;
    std::deque<Queued> commands_;
    std::uint64_t next_order_ = 0;
    std::uint64_t completed_ = 0;
    Running running_ = Running::kNothing;
    bool started_ = false;
    bool stopping_ = false;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace wordbay
