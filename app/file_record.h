// FileRecord: what a dictionary slot remembers of its file beside the
// dictionary itself: the file's state when it was loaded or last saved, the
// edits made since, and whether another program saved the file while the
// dictionary was edited.
#pragma once

#include <atomic>
#include <mutex>

#include "app/disk_state.h"
#include "app/edit_journal.h"

namespace wordbay {

class FileRecord {
public:
    // The edits made since the dictionary was loaded or last saved (engine
    // lock held).
    EditJournal& journal() { return journal_; }
    const EditJournal& journal() const { return journal_; }
    // The state of the file when it was loaded or last saved (any thread).
    DiskState disk_state() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return disk_state_;
    }
    void SetDiskState(const DiskState& state) {
        std::lock_guard<std::mutex> lock(mutex_);
        disk_state_ = state;
    }
    // Whether the file was seen saved by another program while the
    // dictionary was being edited, and so not loaded again (any thread).
    bool changed_on_disk() const { return changed_on_disk_.load(); }
    void set_changed_on_disk(bool on) { changed_on_disk_.store(on); }

private:
    EditJournal journal_;
    mutable std::mutex mutex_;  // disk_state_
    DiskState disk_state_;
    std::atomic<bool> changed_on_disk_{false};
};

}  // namespace wordbay
