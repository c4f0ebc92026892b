// Dictionaries: the two dictionary slots, the lock that lets one thread at a
// time call the engine on their handles, and the count of the changes made to
// them.
//
// The worker holds the engine lock for each request it runs; the editing
// commands hold it on the window's thread while they change the main
// dictionary; the text translation holds it around each of its look-ups.
#pragma once

#include <atomic>
#include <mutex>

#include "app/dictionary_slot.h"

namespace wordbay {

class Dictionaries {
public:
    DictionarySlot& slot(SlotId id) { return id == SlotId::kMain ? main_ : dual_; }
    const DictionarySlot& slot(SlotId id) const { return id == SlotId::kMain ? main_ : dual_; }
    DictionarySlot& main() { return main_; }
    const DictionarySlot& main() const { return main_; }
    DictionarySlot& dual() { return dual_; }
    const DictionarySlot& dual() const { return dual_; }

    std::mutex& engine_lock() const { return engine_lock_; }

    // Stops the listings running on both handles.
    void EndLoops() {
        main_.EndLoop();
        dual_.EndLoop();
    }

    // Counts the changes, replacements and closes of the dictionaries: odd
    // while one is under way (the engine lock held), one more when it ended.
    // A reader that took handles or words before must not use them once the
    // count moved; one that reads the count odd waits for another time.
    const std::atomic<unsigned>& changes() const { return changes_; }
    // Marks a change as under way for as long as it lives.
    class Change {
    public:
        explicit Change(Dictionaries& d) : changes_(d.changes_) { ++changes_; }
        ~Change() { ++changes_; }
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;

    private:
        std::atomic<unsigned>& changes_;
    };

private:
    DictionarySlot main_{SlotId::kMain};
    DictionarySlot dual_{SlotId::kDual};
    mutable std::mutex engine_lock_;
    std::atomic<unsigned> changes_{0};
};

}  // namespace wordbay
