// DictionarySlot: one of the two places where a dictionary can be open (the
// main and the dual dictionary): its engine handle, its description, file,
// direction, settings and the arrays that its two word lists show.
//
// Threads: the worker thread owns the slot while it runs a job; the
// user-interface thread may at any time stop the slot's engine loop
// (EndLoop), ask whether it is loaded and read or change its direction. Every
// other field is read by the user-interface thread only while no job runs or
// while a job waits in a MainView call.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/dictionary_settings.h"
#include "app/main_view.h"
#include "engine/lexbase.h"

namespace wordbay {

// An array of text pointers, all null at first. A large one is taken from
// the system's zeroed memory as it stands: its pages cost nothing until a
// result is written into them, so a dictionary of a million words does not
// pay for clearing arrays that a search fills only at the front.
class PointerArray {
public:
    PointerArray() = default;
    // `entries` null pointers; throws std::bad_alloc.
    explicit PointerArray(std::size_t entries);
    PointerArray(PointerArray&& other) noexcept { swap(other); }
    PointerArray& operator=(PointerArray&& other) noexcept {
        swap(other);
        return *this;
    }
    PointerArray(const PointerArray&) = delete;
    PointerArray& operator=(const PointerArray&) = delete;

    const char** data() const { return entries_.get(); }
    std::size_t size() const { return size_; }
    void swap(PointerArray& other) noexcept {
        entries_.swap(other.entries_);
        std::swap(size_, other.size_);
    }

private:
    struct Free {
        void operator()(const char** entries) const;
    };
    std::unique_ptr<const char*[], Free> entries_;
    std::size_t size_ = 0;
};

// The result arrays of one word list. A list paints straight from the array
// it was last handed, so the worker fills the other one and then hands that
// over (ShowList) and swaps: it never writes into the array on screen.
class ResultBuffers {
public:
    // The array to fill next and its room.
    const char** back() { return buffers_[1 - front_].data(); }
    int capacity() const { return static_cast<int>(buffers_[1 - front_].size()); }
    // Gives the back array at least `entries` entries (contents not kept).
    void Reserve(std::size_t entries);
    // Makes every array hold `entries` entries. Only while the list shows
    // nothing from these arrays.
    void Resize(std::size_t entries);
    // Hands the filled back array to the list and makes it the front one.
    void Show(MainView* view, SlotId slot, ListSide side, int count);
    // Makes the filled back array the front one and answers it.
    const char* const* Flip();
    // The array the list shows.
    const char* const* front() const { return buffers_[front_].data(); }
    // The same for edits in place (user-interface thread, no job running):
    // the list must be shown or redrawn afterwards.
    const char** front_entries() { return buffers_[front_].data(); }
    int front_capacity() const { return static_cast<int>(buffers_[front_].size()); }
    // Gives both arrays at least `entries` entries, keeping what the front
    // array holds. The front array may move: the list must show nothing from
    // it meanwhile. Throws std::bad_alloc, leaving both arrays as they were.
    void Grow(std::size_t entries);

private:
    std::array<PointerArray, 2> buffers_;
    int front_ = 0;
};

// The texts of a dictionary's description in UTF-8, before they are encoded
// in the code pages of its lists.
struct DescriptionTexts {
    std::string name, author, description, primary_list_name, secondary_list_name;
};

class DictionarySlot {
public:
    DictionarySlot(SlotId id);
    ~DictionarySlot();
    DictionarySlot(const DictionarySlot&) = delete;
    DictionarySlot& operator=(const DictionarySlot&) = delete;

    SlotId id() const { return id_; }
    bool dual() const { return id_ == SlotId::kDual; }

    // Whether the slot holds a loaded dictionary (any thread).
    bool loaded() const { return loaded_.load(); }

    // Stops a listing running on the slot's handle (any thread). Does nothing
    // while the loop is protected.
    void EndLoop();
    // Protects a running merge from EndLoop: a new search must not cut an
    // update short (worker side).
    void ProtectLoop(bool on) { loop_protected_.store(on); }

    // ---- Worker side --------------------------------------------------------

    DB_HANDLE handle() const { return handle_; }
    // Puts `fresh` (a handle holding a freshly loaded dictionary) in the place
    // of the slot's handle and destroys the old one. The lists must already
    // show nothing of the old dictionary.
    void ReplaceHandle(DB_HANDLE fresh);
    // Closes the dictionary (the lists must show nothing of it).
    void Close();
    // Re-reads the description from the engine; false when that fails.
    bool RefreshInfo();
    void SetInfo(const DICTIONARY_INFO& info);
    // Sizes the result arrays after the description: index size + 40 each.
    // The lists must show nothing from them.
    void SizeResultArrays();
    // The same after an edit, keeping what the lists show (they must show
    // nothing from the arrays meanwhile). Throws std::bad_alloc.
    void GrowResultArrays();

    // The description (worker side), and a copy of it for any thread.
    const DICTIONARY_INFO& info() const { return info_; }
    DICTIONARY_INFO info_snapshot() const;
    const std::string& path() const { return path_; }
    const std::string& file_name() const { return file_name_; }
    void SetPath(const std::string& path);

    DictionarySettings& settings() { return settings_; }
    const DictionarySettings& settings() const { return settings_; }

    ResultBuffers& results(ListSide side) { return results_[static_cast<int>(side)]; }

    // ---- Direction (any thread) -------------------------------------------

    // True when translating from the primary to the secondary list.
    bool primary_to_secondary() const { return direction_.load(); }
    void set_primary_to_secondary(bool on) { direction_.store(on); }
    ListSide source_side() const {
        return primary_to_secondary() ? ListSide::kPrimary : ListSide::kSecondary;
    }
    ListSide target_side() const {
        return primary_to_secondary() ? ListSide::kSecondary : ListSide::kPrimary;
    }

    // ---- Description helpers ------------------------------------------------

    // The list name as stored (8-bit) and converted to UTF-8 with the code
    // page of the list (CodePage).
    std::string ListName(ListSide side) const { return ListName(info_, side); }
    std::string ListNameUtf8(ListSide side) const { return ListNameUtf8(info_, side); }
    std::uint32_t Locale(ListSide side) const { return Locale(info_, side); }
    // The code page of the list's words: UTF-8 (65001) for a UTF-8 list, else
    // the ANSI code page of its locale.
    std::uint32_t CodePage(ListSide side) const { return CodePage(info_, side); }
    std::uint32_t WordCount(ListSide side) const { return WordCount(info_, side); }
    static std::uint32_t CodePage(const DICTIONARY_INFO& info, ListSide side);
    static std::string ListName(const DICTIONARY_INFO& info, ListSide side);
    static std::string ListNameUtf8(const DICTIONARY_INFO& info, ListSide side);
    static std::uint32_t Locale(const DICTIONARY_INFO& info, ListSide side);
    static std::uint32_t WordCount(const DICTIONARY_INFO& info, ListSide side);

    // Reads the settings file of the dictionary (fonts checked against
    // `fonts`); *font_warning as ReadDictionarySettings. Sets the direction.
    void ReadSettings(const FontCatalog& fonts, bool* font_warning);
    // Writes the settings file of the loaded dictionary, with the current
    // direction; nothing when none is loaded.
    void WriteSettings();

private:
    const SlotId id_;
    mutable std::mutex handle_mutex_;  // handle_ against EndLoop
    DB_HANDLE handle_ = nullptr;
    std::atomic<bool> loaded_{false};
    std::atomic<bool> loop_protected_{false};
    std::atomic<bool> direction_{true};
    mutable std::mutex info_mutex_;  // info_ written by the worker against snapshots
    DICTIONARY_INFO info_{};
    std::string path_;
    std::string file_name_;
    DictionarySettings settings_;
    std::array<ResultBuffers, 2> results_;
};

// DB_PRIMARY_LIST / DB_SECONDARY_LIST, and the translation direction from a
// side.
inline int EngineList(ListSide side) {
    return side == ListSide::kPrimary ? DB_PRIMARY_LIST : DB_SECONDARY_LIST;
}
inline int EngineDirection(ListSide from) {
    return from == ListSide::kPrimary ? DB_TRANS_PRIMARY_TO_SECONDARY
                                      : DB_TRANS_SECONDARY_TO_PRIMARY;
}
inline ListSide Other(ListSide side) {
    return side == ListSide::kPrimary ? ListSide::kSecondary : ListSide::kPrimary;
}

}  // namespace wordbay
