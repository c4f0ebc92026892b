// DictionarySlot: one of the two places where a dictionary can be open (the
// main and the dual dictionary): its engine handle, its description, file,
// direction, settings and the arrays its two word lists are written into.
//
// Threads: the worker owns the engine side (the handle, the result arrays)
// and calls it with the engine lock held. Any thread may stop the slot's
// engine loop (EndLoop), ask whether it is loaded, read its description,
// file, direction and settings (each read is a copy taken under a lock of the
// slot's own), and change its direction and settings.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "app/dictionary_settings.h"
#include "app/engine_handle.h"
#include "app/file_record.h"
#include "app/word_list.h"
#include "engine/lexbase.h"

namespace wordbay {

// The two places where a dictionary can be open.
enum class SlotId { kMain = 0, kDual = 1 };

// The texts of a dictionary's description in UTF-8, before they are encoded
// in the code pages of its lists.
struct DescriptionTexts {
    std::string name, author, description, primary_list_name, secondary_list_name;
};

class DictionarySlot {
public:
    // Makes the slot's empty handle; handle() is null when the engine gave none.
    explicit DictionarySlot(SlotId id);
    ~DictionarySlot();
    DictionarySlot(const DictionarySlot&) = delete;
    DictionarySlot& operator=(const DictionarySlot&) = delete;

    SlotId id() const { return id_; }
    bool dual() const { return id_ == SlotId::kDual; }

    // ---- Any thread -----------------------------------------------------------

    bool loaded() const { return loaded_.load(); }
    // Stops a listing running on the slot's handle. Does nothing while the
    // loop is protected.
    void EndLoop();
    // Protects a running merge from EndLoop: a search must not cut an update
    // short.
    void ProtectLoop(bool on) { loop_protected_.store(on); }

    DICTIONARY_INFO info_snapshot() const;
    std::string path() const;
    std::string file_name() const;
    DictionarySettings settings() const;
    // Runs `change` on the settings with their lock held.
    void ChangeSettings(const std::function<void(DictionarySettings&)>& change);

    // True when translating from the primary to the secondary list.
    bool primary_to_secondary() const { return direction_.load(); }
    void set_primary_to_secondary(bool on) { direction_.store(on); }
    ListSide source_side() const {
        return primary_to_secondary() ? ListSide::kPrimary : ListSide::kSecondary;
    }
    ListSide target_side() const {
        return primary_to_secondary() ? ListSide::kSecondary : ListSide::kPrimary;
    }

    // The list name as stored (8-bit) and converted to UTF-8 with the code
    // page of the list (CodePage).
    std::string ListNameUtf8(ListSide side) const { return ListNameUtf8(info_snapshot(), side); }
    std::uint32_t Locale(ListSide side) const { return Locale(info_snapshot(), side); }
    // The code page of the list's words: UTF-8 (65001) for a UTF-8 list, else
    // the ANSI code page of its locale.
    std::uint32_t CodePage(ListSide side) const { return CodePage(info_snapshot(), side); }
    std::uint32_t WordCount(ListSide side) const { return WordCount(info_snapshot(), side); }
    static std::uint32_t CodePage(const DICTIONARY_INFO& info, ListSide side);
    static std::string ListName(const DICTIONARY_INFO& info, ListSide side);
    static std::string ListNameUtf8(const DICTIONARY_INFO& info, ListSide side);
    static std::uint32_t Locale(const DICTIONARY_INFO& info, ListSide side);
    static std::uint32_t WordCount(const DICTIONARY_INFO& info, ListSide side);

    // ---- Worker side, with the engine lock held ---------------------------------

    DB_HANDLE handle() const;
    // Puts `fresh` (a handle holding a freshly loaded dictionary) in the place
    // of the slot's handle. The old one lives on while lists show its words.
    void ReplaceHandle(std::shared_ptr<EngineHandle> fresh);
    // Closes the dictionary: the slot gets an empty handle of its own (the
    // old one lives on while lists show its words).
    void Close();
    // Re-reads the description from the engine; false when that fails.
    bool RefreshInfo();
    void SetInfo(const DICTIONARY_INFO& info);
    void SetPath(const std::string& path);

    // What the slot remembers of its file (see FileRecord).
    FileRecord& file() { return file_; }
    const FileRecord& file() const { return file_; }

    // The room a result of `side` needs: its index size (four entries a word)
    // and 40 more.
    std::size_t ResultRoom(ListSide side) const;
    // An array for a result of `side` of at least `entries` entries that no
    // list shows now. Throws std::bad_alloc.
    std::shared_ptr<PointerArray> ResultArray(ListSide side, std::size_t entries);
    // The words the engine just wrote into `array` (`count` of them).
    WordList Words(std::shared_ptr<const PointerArray> array, int count, unsigned epoch) const;

    // Reads the settings file of the dictionary (fonts checked against
    // `fonts`); *font_warning as ReadDictionarySettings. Sets the direction.
    void ReadSettings(const FontCatalog& fonts, bool* font_warning);
    // Writes the settings file of the loaded dictionary, with the current
    // direction; nothing when none is loaded.
    void WriteSettings();

private:
    const SlotId id_;
    mutable std::mutex handle_mutex_;  // handle_ against EndLoop and readers
    std::shared_ptr<EngineHandle> handle_;
    std::atomic<bool> loaded_{false};
    std::atomic<bool> loop_protected_{false};
    std::atomic<bool> direction_{true};
    mutable std::mutex mutex_;  // info_, path_, file_name_, settings_
    DICTIONARY_INFO info_{};
    std::string path_;
    std::string file_name_;
    DictionarySettings settings_;
    ResultArrays results_[2];
    FileRecord file_;
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
