// A MainView for the tests: records what the jobs show, keeps edit texts and
// selections, answers message boxes and file dialogs from a script, and lets
// the tests wait until the worker is idle.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/dictionary_slot.h"
#include "app/main_view.h"
#include "app/message_box_style.h"

namespace wordbay::testing {

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned style;
};

class FakeFonts : public FontCatalog {
public:
    bool HasFace(std::string_view, std::uint32_t) const override { return true; }
    std::string FirstFace(std::uint32_t) const override { return "Sans"; }
};

class FakeMainView : public MainView {
public:
    using Key = std::pair<int, int>;  // slot, side

    void ShowList(SlotId slot, ListSide side, const char* const* items, int count) override {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<std::string>& list = lists_[KeyOf(slot, side)];
        list.assign(items, items + count);  // reads every pointer now
        arrays_[KeyOf(slot, side)] = items;
        selection_[KeyOf(slot, side)] = -1;
        if (count <= 0) ++emptied_[KeyOf(slot, side)];
        ++show_calls_;
    }
    void SelectListEntry(SlotId slot, ListSide side, int index) override {
        std::lock_guard<std::mutex> lock(mutex_);
        selection_[KeyOf(slot, side)] = index;
    }
    std::optional<std::string> SelectedWord(SlotId slot, ListSide side) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const int index = selection_[KeyOf(slot, side)];
        const std::vector<std::string>& list = lists_[KeyOf(slot, side)];
        if (index < 0 || index >= static_cast<int>(list.size())) return std::nullopt;
        return list[index];
    }
    int SelectedIndex(SlotId slot, ListSide side) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const int index = selection_[KeyOf(slot, side)];
        return index < static_cast<int>(lists_[KeyOf(slot, side)].size()) ? index : -1;
    }
    // Reads the array the list was last handed again, as a repaint would.
    void RedrawList(SlotId slot, ListSide side) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const Key key = KeyOf(slot, side);
        std::vector<std::string>& list = lists_[key];
        for (std::size_t i = 0; i < list.size(); ++i) list[i] = arrays_[key][i];
    }
    std::string EditText(SlotId slot, ListSide side) override {
        std::lock_guard<std::mutex> lock(mutex_);
        return edits_[KeyOf(slot, side)];
    }
    void SetEditText(SlotId slot, ListSide side, std::string_view text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        edits_[KeyOf(slot, side)] = std::string(text);
    }
    void FocusEdit(SlotId, ListSide) override {}
    void SearchWhenReady(SlotId slot, ListSide side) override {
        std::lock_guard<std::mutex> lock(mutex_);
        searched_when_ready_ = KeyOf(slot, side);
    }
    void FocusList(SlotId, ListSide) override {}
    void EnableSlotControls(SlotId, bool) override {}
    void EnableMenus(bool) override {}
    void RefreshView(SlotId, const DictionarySlot&) override {}
    void PreviewView(SlotId slot, const DictionarySlot& shown) override {
        std::lock_guard<std::mutex> lock(mutex_);
        previewed_[static_cast<int>(slot)] = shown.primary_to_secondary();
    }
    void SetTitles(const WindowTitles& titles) override {
        std::lock_guard<std::mutex> lock(mutex_);
        titles_ = titles;
    }
    void SetStatus(std::string text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        status_ = std::move(text);
    }
    void BeginProgress(DB_HANDLE) override {
        progress_nice_ = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
        ++progress_begun_;
        const std::chrono::milliseconds delay = progress_delay_.load();
        if (delay.count() > 0) std::this_thread::sleep_for(delay);
    }
    void EndProgress() override {}
    void Beep() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++beeps_;
    }
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({text, caption, style});
        if (answers_.empty()) return (style & kMbButtonMask) == kMbYesNo ? kIdNo : kIdOk;
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    std::string ChooseSaveFile(const std::string&, const std::string&, const std::string&,
                               const std::string&) override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++save_dialogs_;
        return save_file_answer_;
    }
    void OpenDictionaryChooser() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++choosers_;
    }
    void OpenImportDialog() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++import_dialogs_;
    }
    void SetEditModeOff() override {}
    void SetDualModeState(bool on) override {
        std::lock_guard<std::mutex> lock(mutex_);
        dual_state_ = on;
    }
    void ActivateMainWindow() override { ++activations_; }
    bool WindowsReady() override { return true; }
    void CloseMainWindow() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++closes_;
    }
    void HotKeyShowText(std::string_view text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        hot_key_text_ = std::string(text);
    }
    void HotKeyShowList(const char* const* items, int count) override {
        std::lock_guard<std::mutex> lock(mutex_);
        hot_key_list_.assign(items, items + count);
    }
    void HotKeyClear() override {
        std::lock_guard<std::mutex> lock(mutex_);
        hot_key_text_.clear();
        hot_key_list_.clear();
    }
    void ShowWordForms(const WordFormsNote& note) override {
        std::lock_guard<std::mutex> lock(mutex_);
        word_forms_ = note;
    }
    // What the last word-form look-up said.
    WordFormsNote word_forms() {
        std::lock_guard<std::mutex> lock(mutex_);
        return word_forms_;
    }

    // ---- For the tests ------------------------------------------------------

    // How often a list was emptied.
    int emptied(SlotId slot, ListSide side) {
        std::lock_guard<std::mutex> lock(mutex_);
        return emptied_[KeyOf(slot, side)];
    }
    // The direction of the dictionary the slot previewed while it loaded.
    std::optional<bool> previewed(SlotId slot) {
        std::lock_guard<std::mutex> lock(mutex_);
        return previewed_[static_cast<int>(slot)];
    }
    std::vector<std::string> List(SlotId slot, ListSide side) {
        std::lock_guard<std::mutex> lock(mutex_);
        return lists_[KeyOf(slot, side)];
    }
    std::vector<ShownMessage> Messages() {
        std::lock_guard<std::mutex> lock(mutex_);
        return messages_;
    }
    void Answer(int id) {
        std::lock_guard<std::mutex> lock(mutex_);
        answers_.push_back(id);
    }
    std::string status() {
        std::lock_guard<std::mutex> lock(mutex_);
        return status_;
    }
    WindowTitles titles() {
        std::lock_guard<std::mutex> lock(mutex_);
        return titles_;
    }
    int choosers() {
        std::lock_guard<std::mutex> lock(mutex_);
        return choosers_;
    }
    int import_dialogs() {
        std::lock_guard<std::mutex> lock(mutex_);
        return import_dialogs_;
    }
    int beeps() {
        std::lock_guard<std::mutex> lock(mutex_);
        return beeps_;
    }
    bool dual_state() {
        std::lock_guard<std::mutex> lock(mutex_);
        return dual_state_;
    }
    std::string hot_key_text() {
        std::lock_guard<std::mutex> lock(mutex_);
        return hot_key_text_;
    }
    // Whether the edit box was the last left to be searched once its
    // dictionary is ready.
    bool searched_when_ready(SlotId slot, ListSide side) {
        std::lock_guard<std::mutex> lock(mutex_);
        return searched_when_ready_ == KeyOf(slot, side);
    }
    std::vector<std::string> hot_key_list() {
        std::lock_guard<std::mutex> lock(mutex_);
        return hot_key_list_;
    }
    int closes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return closes_;
    }
    void set_save_file_answer(std::string path) {
        std::lock_guard<std::mutex> lock(mutex_);
        save_file_answer_ = std::move(path);
    }
    int progress_begun() const { return progress_begun_.load(); }
    // How often the main window was called to the front.
    int activations() const { return activations_.load(); }
    // The nice value of the thread that began the last progress.
    int progress_nice() const { return progress_nice_.load(); }
    void set_progress_delay(std::chrono::milliseconds delay) { progress_delay_ = delay; }

private:
    static Key KeyOf(SlotId slot, ListSide side) {
        return {static_cast<int>(slot), static_cast<int>(side)};
    }

    std::mutex mutex_;
    std::map<Key, std::vector<std::string>> lists_;
    std::map<Key, const char* const*> arrays_;
    std::map<Key, int> selection_;
    std::map<Key, int> emptied_;
    std::optional<bool> previewed_[2];
    std::map<Key, std::string> edits_;
    std::vector<ShownMessage> messages_;
    std::deque<int> answers_;
    std::string status_;
    std::string hot_key_text_;
    WordFormsNote word_forms_;
    Key searched_when_ready_{-1, -1};
    std::vector<std::string> hot_key_list_;
    WindowTitles titles_;
    std::string save_file_answer_;
    int show_calls_ = 0;
    int save_dialogs_ = 0;
    int beeps_ = 0;
    int choosers_ = 0;
    int import_dialogs_ = 0;
    int closes_ = 0;
    bool dual_state_ = false;
    std::atomic<int> progress_begun_{0};
    std::atomic<int> activations_{0};
    std::atomic<int> progress_nice_{0};
    std::atomic<std::chrono::milliseconds> progress_delay_{std::chrono::milliseconds(0)};
};

}  // namespace wordbay::testing
