#include "app/worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/search_options.h"

namespace wordbay {
namespace {

using namespace std::chrono_literals;

// Records the requests it runs ("s<n>" for searches, "c<n>" for commands);
// command 100 blocks until released.
class RunLog {
public:
    void Search(int n) { Add("s" + std::to_string(n)); }
    void Command(int n) {
        if (n == 100) {
            std::unique_lock<std::mutex> lock(mutex_);
            blocked_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
        }
        Add("c" + std::to_string(n));
    }
    void WaitBlocked() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return blocked_; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    void WaitFor(std::size_t n) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, 5s, [&] { return runs_.size() >= n; });
    }
    std::vector<std::string> runs() {
        std::lock_guard<std::mutex> lock(mutex_);
        return runs_;
    }

private:
    void Add(std::string run) {
        std::lock_guard<std::mutex> lock(mutex_);
        runs_.push_back(std::move(run));
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool blocked_ = false;
    bool released_ = false;
    std::vector<std::string> runs_;
};

using TestWorker = Worker<int, long>;

TestWorker::Handlers HandlersOf(RunLog& log) {
    return {[&log](int& n) { log.Search(n); },
            [&log](long& n) { log.Command(static_cast<int>(n)); }};
}

TEST(WorkerTest, TheNewestSearchWinsAndEveryCommandRunsInTurn) {
    RunLog log;
    TestWorker worker(HandlersOf(log));
    worker.Start();
    worker.Post(100L);
    log.WaitBlocked();
    EXPECT_TRUE(worker.busy());
    worker.Post(1);   // a search, made stale by the next ones
    worker.Post(2L);  // an export, say
    worker.Post(3);
    worker.Post(4L);
    worker.Post(5);  // typing goes on: only the newest search waits
    EXPECT_TRUE(worker.search_waiting());
    log.Release();
    log.WaitFor(4);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(log.runs(), (std::vector<std::string>{"c100", "c2", "c4", "s5"}));
    EXPECT_FALSE(worker.busy());
    EXPECT_EQ(worker.completed(), 4u);
}

TEST(WorkerTest, RequestsRunInTheOrderTheyWereMade) {
    RunLog log;
    TestWorker worker(HandlersOf(log));
    worker.Post(100L);
    worker.Post(1);
    worker.Post(2L);
    worker.Start();
    log.WaitBlocked();
    log.Release();
    log.WaitFor(3);
    EXPECT_EQ(log.runs(), (std::vector<std::string>{"c100", "s1", "c2"}));
}

TEST(WorkerTest, StopRunsTheWaitingCommandsAndDropsTheSearch) {
    RunLog log;
    TestWorker worker(HandlersOf(log));
    worker.Start();
    worker.Post(100L);
    log.WaitBlocked();
    worker.Post(1);
    worker.Post(2L);
    worker.RequestStop();
    worker.Post(3L);  // refused once the stop was asked
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(worker.finished());  // a request is never cut off
    EXPECT_FALSE(worker.running());
    std::thread releaser([&] {
        std::this_thread::sleep_for(30ms);
        log.Release();
    });
    worker.Join();
    releaser.join();
    EXPECT_TRUE(worker.finished());
    EXPECT_EQ(log.runs(), (std::vector<std::string>{"c100", "c2"}));
}

TEST(WorkerTest, UnstartedWorkerStopsAtOnce) {
    TestWorker worker({[](int&) {}, [](long&) {}});
    worker.Stop();
    EXPECT_TRUE(worker.finished());
}

TEST(SearchOptionsTest, ModeFollowsThePatternSwitches) {
    SearchOptions o;
    EXPECT_EQ(o.ListMode(), static_cast<std::uint32_t>(DB_LIST_PREFIX));
    TogglePatternKind(&o, PatternKind::kWildcards);
    EXPECT_EQ(o.ListMode(), static_cast<std::uint32_t>(DB_LIST_WILDCARDS));
    TogglePatternKind(&o, PatternKind::kAnagramOnce);
    EXPECT_FALSE(o.wildcards);
    EXPECT_EQ(o.ListMode(), static_cast<std::uint32_t>(DB_LIST_ANAGRAM_ONCE));
    TogglePatternKind(&o, PatternKind::kRegex);
    EXPECT_EQ(o.anagram_mode, 0);
    EXPECT_EQ(o.ListMode(), static_cast<std::uint32_t>(DB_LIST_REGEX));
    TogglePatternKind(&o, PatternKind::kAnagramExact);
    TogglePatternKind(&o, PatternKind::kAnagramExact);  // the same mode again turns it off
    EXPECT_EQ(o.ListMode(), static_cast<std::uint32_t>(DB_LIST_PREFIX));

    // Should two switches ever be on, anagrams come before regex before wildcards.
    o.wildcards = o.regex = true;
    EXPECT_EQ(o.ListMode(), static_cast<std::uint32_t>(DB_LIST_REGEX));
    o.anagram_mode = 1;
    EXPECT_EQ(o.ListMode(), static_cast<std::uint32_t>(DB_LIST_ANAGRAM_REUSE));
}

}  // namespace
}  // namespace wordbay
