#include "app/main_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "app/search_options.h"

namespace wordbay {
namespace {

using namespace std::chrono_literals;

// Records the jobs it runs; job 100 blocks until released.
class JobLog {
public:
    void Run(int job) {
        if (job == 100) {
            std::unique_lock<std::mutex> lock(mutex_);
            blocked_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
        }
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(job);
        changed_.notify_all();
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
    void WaitForJobs(std::size_t n) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, 5s, [&] { return jobs_.size() >= n; });
    }
    std::vector<int> jobs() {
        std::lock_guard<std::mutex> lock(mutex_);
        return jobs_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool blocked_ = false;
    bool released_ = false;
    std::vector<int> jobs_;
};

TEST(MainThreadTest, TheNewestJobWinsWhileAnotherRuns) {
    JobLog log;
    MainThread worker([&](int job) { log.Run(job); });
    EXPECT_EQ(worker.job(), -1);
    worker.Start(100);
    log.WaitBlocked();
    EXPECT_TRUE(worker.busy());
    worker.SetJob(2);
    worker.SetJob(3);
    worker.SetJob(9);
    EXPECT_TRUE(worker.job_pending());
    log.Release();
    log.WaitForJobs(2);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(log.jobs(), (std::vector<int>{100, 9}));
    worker.Stop();
    EXPECT_TRUE(worker.finished());
}

TEST(MainThreadTest, StopWaitsForTheRunningJob) {
    JobLog log;
    MainThread worker([&](int job) { log.Run(job); });
    worker.Start(100);
    log.WaitBlocked();
    worker.RequestStop();
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(worker.finished());  // the job is never cut off
    std::thread releaser([&] {
        std::this_thread::sleep_for(30ms);
        log.Release();
    });
    worker.Join();
    releaser.join();
    EXPECT_TRUE(worker.finished());
    EXPECT_EQ(log.jobs(), (std::vector<int>{100}));
}

TEST(MainThreadTest, UnstartedWorkerStopsAtOnce) {
    MainThread worker([](int) {});
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
