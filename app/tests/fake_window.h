// A window for the tests of the controller: one fake per kind of update
// (app/window_updates.h), each recording what the controller and its worker
// send it (lists, edit texts, titles, messages); questions are answered from
// a script, and the fake panes stand in for the main pane of the editing
// commands. Nothing in them waits: an update is recorded when it arrives, on
// whichever thread sends it.
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

// The message boxes shown and the questions asked, answered from a script.
class MessageLog {
public:
    void Record(const Message& message) {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({message.text, message.caption, message.style});
    }
    // Records a question and answers it from the script.
    int Answered(const Message& question) {
        Record(question);
        std::lock_guard<std::mutex> lock(mutex_);
        if (answers_.empty()) return (question.style & kMbButtonMask) == kMbYesNo ? kIdNo : kIdOk;
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    // The answer to the next question (message box); without one a yes/no
    // question is answered no, any other OK.
    void Answer(int id) {
        std::lock_guard<std::mutex> lock(mutex_);
        answers_.push_back(id);
    }
    std::vector<ShownMessage> Messages() {
        std::lock_guard<std::mutex> lock(mutex_);
        return messages_;
    }

private:
    std::mutex mutex_;
    std::vector<ShownMessage> messages_;
    std::deque<int> answers_;
};

// The dictionary panes, and the main pane as the editing commands see it.
class FakePanes : public PaneUpdates, public EditingView {
public:
    using Key = std::pair<int, int>;  // slot, side

    explicit FakePanes(MessageLog* log) : log_(log) {}
    // The controller whose slots a preview reads.
    void Attach(const SearchController* controller) { controller_ = controller; }

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
    void TranslationShown(SlotId slot, ListSide from) override {
        std::lock_guard<std::mutex> lock(mutex_);
        translations_shown_.push_back(KeyOf(slot, from));
    }
    void EnableSlotControls(SlotId slot, bool enabled) override {
        std::lock_guard<std::mutex> lock(mutex_);
        enabled_[static_cast<int>(slot)] = enabled;
    }
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
    int Ask(const Message& question) override { return log_->Answered(question); }
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
    // Whether a slot's lists were last enabled (unset: never changed).
    std::optional<bool> enabled(SlotId slot) {
        std::lock_guard<std::mutex> lock(mutex_);
        return enabled_[static_cast<int>(slot)];
    }
    // The lists whose selected word's translations were shown, in order.
    std::vector<Key> translations_shown() {
        std::lock_guard<std::mutex> lock(mutex_);
        return translations_shown_;
    }
    std::vector<std::string> List(SlotId slot, ListSide side) {
        std::lock_guard<std::mutex> lock(mutex_);
        return lists_[KeyOf(slot, side)];
    }
    // Runs `change` (once) the next time an editing command waits for the
    // engine, as a request the worker ends meanwhile would.
    void WhileWaiting(std::function<void()> change) { while_waiting_ = std::move(change); }

    static Key KeyOf(SlotId slot, ListSide side) {
        return {static_cast<int>(slot), static_cast<int>(side)};
    }

private:
    // Reads every word of `words` now, as a paint would.
    void Copy(const Key& key, const WordList& words) {
        lists_[key].assign(words.items(), words.items() + words.count());
    }

    MessageLog* const log_;
    const SearchController* controller_ = nullptr;
    std::function<void()> while_waiting_;
    std::mutex mutex_;
    std::map<Key, std::vector<std::string>> lists_;
    std::map<Key, WordList> shown_;
    std::map<Key, int> selection_;
    std::map<Key, int> emptied_;
    std::map<Key, int> emptied_at_load_;
    std::optional<bool> previewed_[2];
    std::optional<bool> enabled_[2];
    std::vector<Key> translations_shown_;
    std::map<Key, std::string> edits_;
};

// The status strip, the titles, the progress and the message boxes; the
// answers go back as the window's would: a request of their own.
class FakeStatus : public StatusUpdates {
public:
    explicit FakeStatus(MessageLog* log) : log_(log) {}
    // The controller to which the answers go.
    void Attach(SearchController* controller) { controller_ = controller; }

    void SetTitles(WindowTitles titles) override {
        std::lock_guard<std::mutex> lock(mutex_);
        titles_ = std::move(titles);
    }
    void SetStatus(std::string text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        text_ = std::move(text);
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
    void Beep() override { ++beeps_; }
    void ShowMessage(Message message) override { log_->Record(message); }
    void Ask(int ticket, Message question) override {
        const int answer = log_->Answered(question);
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
            path = save_file_answer_;
        }
        if (controller_ != nullptr) controller_->dictionaries().Answer(ticket, 0, path);
    }

    // The status line.
    std::string text() {
        std::lock_guard<std::mutex> lock(mutex_);
        return text_;
    }
    WindowTitles titles() {
        std::lock_guard<std::mutex> lock(mutex_);
        return titles_;
    }
    // The tickets of the questions asked, in order.
    std::vector<int> tickets() {
        std::lock_guard<std::mutex> lock(mutex_);
        return tickets_;
    }
    // The file the next save-file dialog answers ("": cancelled).
    void set_save_file_answer(std::string path) {
        std::lock_guard<std::mutex> lock(mutex_);
        save_file_answer_ = std::move(path);
    }
    int beeps() const { return beeps_.load(); }
    int progress_begun() const { return progress_begun_.load(); }
    // The nice value of the thread that began the last progress.
    int progress_nice() const { return progress_nice_.load(); }
    void set_progress_delay(std::chrono::milliseconds delay) { progress_delay_ = delay; }
    // Runs `act` with the count of progresses begun each time one begins
    // (on the worker; set it before the worker starts).
    void set_on_progress(std::function<void(int)> act) { on_progress_ = std::move(act); }

private:
    MessageLog* const log_;
    SearchController* controller_ = nullptr;
    std::mutex mutex_;
    std::string text_;
    WindowTitles titles_;
    std::vector<int> tickets_;
    std::string save_file_answer_;
    std::function<void(int)> on_progress_;
    std::atomic<int> beeps_{0};
    std::atomic<int> progress_begun_{0};
    std::atomic<int> progress_nice_{0};
    std::atomic<std::chrono::milliseconds> progress_delay_{std::chrono::milliseconds(0)};
};

// The window the hot keys call.
class FakeHotKeyWindow : public HotKeyUpdates {
public:
    void HotKeyShowText(std::string text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        text_ = std::move(text);
    }
    void HotKeyShowList(WordList words) override {
        std::lock_guard<std::mutex> lock(mutex_);
        list_.assign(words.items(), words.items() + words.count());
    }
    void HotKeyClear() override {
        std::lock_guard<std::mutex> lock(mutex_);
        text_.clear();
        list_.clear();
    }

    std::string text() {
        std::lock_guard<std::mutex> lock(mutex_);
        return text_;
    }
    std::vector<std::string> list() {
        std::lock_guard<std::mutex> lock(mutex_);
        return list_;
    }

private:
    std::mutex mutex_;
    std::string text_;
    std::vector<std::string> list_;
};

// What the word-form look-up says.
class FakeWordForms : public WordFormUpdates {
public:
    void ShowWordForms(WordFormsNote note) override {
        std::lock_guard<std::mutex> lock(mutex_);
        note_ = std::move(note);
    }
    // What the last word-form look-up said.
    WordFormsNote note() {
        std::lock_guard<std::mutex> lock(mutex_);
        return note_;
    }

private:
    std::mutex mutex_;
    WordFormsNote note_;
};

// The main window as a whole; it reports the updates it applied.
class FakeWindowStates : public WindowStates {
public:
    void Attach(SearchController* controller) { controller_ = controller; }

    void EnableMenus(bool enabled) override { menus_enabled_ = enabled; }
    void OpenDictionaryChooser() override { ++choosers_; }
    void OpenImportDialog() override { ++import_dialogs_; }
    void EditModeOff() override { ++edit_mode_ends_; }
    void DualModeChanged(bool on) override { dual_state_ = on; }
    void ActivateMainWindow() override { ++activations_; }
    void CloseMainWindow() override { ++closes_; }
    void RequestsDone(std::uint64_t count) override {
        if (controller_ != nullptr) controller_->Delivered(count);
    }

    bool menus_enabled() const { return menus_enabled_.load(); }
    int choosers() const { return choosers_.load(); }
    int import_dialogs() const { return import_dialogs_.load(); }
    int edit_mode_ends() const { return edit_mode_ends_.load(); }
    bool dual_state() const { return dual_state_.load(); }
    // How often the main window was called to the front.
    int activations() const { return activations_.load(); }
    int closes() const { return closes_.load(); }

private:
    SearchController* controller_ = nullptr;
    std::atomic<bool> menus_enabled_{true};
    std::atomic<int> choosers_{0};
    std::atomic<int> import_dialogs_{0};
    std::atomic<int> edit_mode_ends_{0};
    std::atomic<bool> dual_state_{false};
    std::atomic<int> activations_{0};
    std::atomic<int> closes_{0};
};

// The whole window: the five fakes and the script of answers they share.
struct FakeWindow {
    // The controller whose questions the window answers and to which it
    // reports the updates it applied.
    void Attach(SearchController* controller) {
        panes.Attach(controller);
        status.Attach(controller);
        window.Attach(controller);
    }
    WindowUpdates updates() { return {&panes, &status, &hot_key, &word_forms, &window}; }
    // The answer to the next question; see MessageLog::Answer.
    void Answer(int id) { log.Answer(id); }
    std::vector<ShownMessage> Messages() { return log.Messages(); }

    MessageLog log;
    FakePanes panes{&log};
    FakeStatus status{&log};
    FakeHotKeyWindow hot_key;
    FakeWordForms word_forms;
    FakeWindowStates window;
};

}  // namespace wordbay::testing
