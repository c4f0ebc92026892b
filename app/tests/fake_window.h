// A window for the tests of the controller: records what the controller and
// its worker send (lists, edit texts, titles, messages), answers questions
// from a script, and stands in for the main pane of the editing commands.
// Nothing in it waits: an update is recorded when it arrives, on whichever
// thread sends it.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/message_box_style.h"
#include "app/search_controller.h"

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

class FakeWindow : public WindowUpdates, public EditingView {
public:
    using Key = std::pair<int, int>;  // slot, side

    // The controller whose questions the window answers and to which it
    // reports the updates it applied.
    void Attach(SearchController* controller) { controller_ = controller; }

    // ---- PaneUpdates ----------------------------------------------------------

    void ShowList(SlotId slot, ListSide side, WordList words) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const Key key = KeyOf(slot, side);
        Copy(key, words);
        shown_[key] = std::move(words);
        selection_[key] = -1;
        if (shown_[key].empty()) ++emptied_[key];
    }
    void SelectListEntry(SlotId slot, ListSide side, int index, unsigned) override {
        std::lock_guard<std::mutex> lock(mutex_);
        selection_[KeyOf(slot, side)] = index;
    }
    void SetEditText(SlotId slot, ListSide side, std::string text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        edits_[KeyOf(slot, side)] = std::move(text);
    }
    void TranslationShown(SlotId, ListSide) override {}
    void EnableSlotControls(SlotId, bool) override {}
    void ShowDictionary(SlotId slot, bool loaded) override {
        if (loaded) {
            std::lock_guard<std::mutex> lock(mutex_);
            for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary})
                emptied_at_load_[KeyOf(slot, side)] = emptied_[KeyOf(slot, side)];
            return;
        }
        if (controller_ == nullptr) return;
        const bool direction = controller_->slot(slot).primary_to_secondary();
        std::lock_guard<std::mutex> lock(mutex_);
        previewed_[static_cast<int>(slot)] = direction;
    }
    void SetCodePages(SlotId, std::uint32_t, std::uint32_t) override {}
    void FocusEdit(SlotId, ListSide) override {}

    // ---- StatusUpdates --------------------------------------------------------

    void SetTitles(WindowTitles titles) override {
        std::lock_guard<std::mutex> lock(mutex_);
        titles_ = std::move(titles);
    }
    void SetStatus(std::string text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        status_ = std::move(text);
    }
    // The delay stands for a long engine call: the sender (the worker) waits.
    void BeginProgress() override {
        progress_nice_ = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
        ++progress_begun_;
        if (on_progress_) on_progress_(progress_begun_.load());
        const std::chrono::milliseconds delay = progress_delay_.load();
        if (delay.count() > 0) std::this_thread::sleep_for(delay);
    }
    void EndProgress() override {}
    void Beep() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++beeps_;
    }
    void ShowMessage(Message message) override {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({message.text, message.caption, message.style});
    }
    // The answers go back as the window's would: a request of their own.
    void Ask(int ticket, Message question) override {
        const int answer = Answered(question);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            tickets_.push_back(ticket);
        }
        if (controller_ != nullptr) controller_->dictionaries().Answer(ticket, answer);
    }
    void ChooseSaveFile(int ticket, SaveFileChoice) override {
        std::string path;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++save_dialogs_;
            path = save_file_answer_;
        }
        if (controller_ != nullptr) controller_->dictionaries().Answer(ticket, 0, path);
    }

    // ---- HotKeyUpdates --------------------------------------------------------

    void HotKeyShowText(std::string text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        hot_key_text_ = std::move(text);
    }
    void HotKeyShowList(WordList words) override {
        std::lock_guard<std::mutex> lock(mutex_);
        hot_key_list_.assign(words.items(), words.items() + words.count());
    }
    void HotKeyClear() override {
        std::lock_guard<std::mutex> lock(mutex_);
        hot_key_text_.clear();
        hot_key_list_.clear();
    }

    // ---- WindowStates ---------------------------------------------------------

    void EnableMenus(bool) override {}
    void OpenDictionaryChooser() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++choosers_;
    }
    void OpenImportDialog() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++import_dialogs_;
    }
    void EditModeOff() override {}
    void DualModeChanged(bool on) override {
        std::lock_guard<std::mutex> lock(mutex_);
        dual_state_ = on;
    }
    void ActivateMainWindow() override { ++activations_; }
    void CloseMainWindow() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++closes_;
    }
    void RequestsDone(std::uint64_t count) override {
        if (controller_ != nullptr) controller_->Delivered(count);
    }
    void ShowWordForms(WordFormsNote note) override {
        std::lock_guard<std::mutex> lock(mutex_);
        word_forms_ = std::move(note);
    }
    // What the last word-form look-up said.
    WordFormsNote word_forms() {
        std::lock_guard<std::mutex> lock(mutex_);
        return word_forms_;
    }

    // ---- EditingView (the main pane, on the test's thread) ---------------------

    std::string EditText(ListSide side) override { return EditText(SlotId::kMain, side); }
    int SelectedIndex(ListSide side) override { return SelectedIndex(SlotId::kMain, side); }
    WordList Shown(ListSide side) override {
        std::lock_guard<std::mutex> lock(mutex_);
        return shown_[KeyOf(SlotId::kMain, side)];
    }
    void Repaint(ListSide side, WordList words) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const Key key = KeyOf(SlotId::kMain, side);
        Copy(key, words);
        shown_[key] = std::move(words);
    }
    int Ask(const Message& question) override { return Answered(question); }
    void KeepPainting() override {
        std::function<void()> waiting;
        waiting.swap(while_waiting_);
        if (waiting) waiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    // ---- For the tests ----------------------------------------------------------

    std::string EditText(SlotId slot, ListSide side) {
        std::lock_guard<std::mutex> lock(mutex_);
        return edits_[KeyOf(slot, side)];
    }
    // The selected row of a list (-1: none).
    int SelectedIndex(SlotId slot, ListSide side) {
        std::lock_guard<std::mutex> lock(mutex_);
        const int index = selection_[KeyOf(slot, side)];
        return index < static_cast<int>(lists_[KeyOf(slot, side)].size()) ? index : -1;
    }
    // How often a list was emptied.
    int emptied(SlotId slot, ListSide side) {
        std::lock_guard<std::mutex> lock(mutex_);
        return emptied_[KeyOf(slot, side)];
    }
    // How often a list was emptied before its dictionary was last shown loaded.
    int emptied_at_load(SlotId slot, ListSide side) {
        std::lock_guard<std::mutex> lock(mutex_);
        return emptied_at_load_[KeyOf(slot, side)];
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
    // The answer to the next question (message box); without one a yes/no
    // question is answered no, any other OK.
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
    std::vector<std::string> hot_key_list() {
        std::lock_guard<std::mutex> lock(mutex_);
        return hot_key_list_;
    }
    // The tickets of the questions asked, in order.
    std::vector<int> tickets() {
        std::lock_guard<std::mutex> lock(mutex_);
        return tickets_;
    }
    int closes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return closes_;
    }
    // The file the next save-file dialog answers ("": cancelled).
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
    // Runs `change` (once) the next time an editing command waits for the
    // engine, as a request the worker ends meanwhile would.
    void WhileWaiting(std::function<void()> change) { while_waiting_ = std::move(change); }
    // Runs `act` with the count of progresses begun each time one begins
    // (on the worker; set it before the worker starts).
    void set_on_progress(std::function<void(int)> act) { on_progress_ = std::move(act); }

private:
    static Key KeyOf(SlotId slot, ListSide side) {
        return {static_cast<int>(slot), static_cast<int>(side)};
    }
    // Reads every word of `words` now, as a paint would.
    void Copy(const Key& key, const WordList& words) {
        lists_[key].assign(words.items(), words.items() + words.count());
    }
    // Records a question and answers it from the script.
    int Answered(const Message& question) {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({question.text, question.caption, question.style});
        if (answers_.empty()) return (question.style & kMbButtonMask) == kMbYesNo ? kIdNo : kIdOk;
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    SearchController* controller_ = nullptr;
    std::function<void()> while_waiting_;
    std::mutex mutex_;
    std::map<Key, std::vector<std::string>> lists_;
    std::map<Key, WordList> shown_;
    std::map<Key, int> selection_;
    std::map<Key, int> emptied_;
    std::map<Key, int> emptied_at_load_;
    std::optional<bool> previewed_[2];
    std::map<Key, std::string> edits_;
    std::vector<ShownMessage> messages_;
    std::vector<int> tickets_;
    std::deque<int> answers_;
    std::string status_;
    std::string hot_key_text_;
    WordFormsNote word_forms_;
    std::vector<std::string> hot_key_list_;
    WindowTitles titles_;
    std::string save_file_answer_;
    std::function<void(int)> on_progress_;
    int beeps_ = 0;
    int save_dialogs_ = 0;
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
