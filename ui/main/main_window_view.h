// MainWindowView: the main window as the worker sees it, its MainView. Each
// call runs on the user-interface thread while the worker waits, so that
// answers (a message box button, an edit box's text) are there at return;
// called on that thread itself, it runs at once. The view drives the two
// dictionary panes and the status strip itself and keeps the words typed
// while a pane was busy; what concerns the window as a whole goes to the
// window's hooks.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/main_view.h"
#include "ui/widgets/w_message_box.h"

class DictionaryPane;
class QTimer;
class StatusStrip;
class WForm;

namespace wordbay {
class SearchController;
}  // namespace wordbay

class MainWindowView : public wordbay::MainView {
public:
    // The controls the view drives. `window` owns the message boxes (whose
    // buttons `buttonTexts` names) and the file dialogs, takes the titles and
    // the commands the worker asks for.
    struct Controls {
        WForm* window = nullptr;
        DictionaryPane* panes[2] = {};
        StatusStrip* status = nullptr;
        const MessageBoxButtonTable* buttonTexts = nullptr;
    };
    // What the view asks of the window beyond those controls.
    struct Hooks {
        // A dictionary was shown in its pane: the other windows' looks and,
        // once it is loaded, the speech follow it.
        std::function<void(wordbay::SlotId, const wordbay::DictionarySlot&, bool loaded)>
            dictionaryShown;
        std::function<void(const wordbay::WindowTitles&)> titlesChanged;
        std::function<void(bool enabled)> menusEnabled;
        std::function<void()> editModeOff;
        std::function<void()> dualModeChanged;
        std::function<void()> bringToFront;
        // The text, popup and tooltip windows exist.
        std::function<bool()> otherWindowsReady;
        std::function<void(std::string_view word)> hotKeyText;
        std::function<void(const char* const* items, int count)> hotKeyList;
        std::function<void()> hotKeyClear;
        std::function<void(const wordbay::WordFormsNote&)> wordForms;
        // The translations of a word are on screen (MainView::TranslationShown).
        std::function<void(wordbay::SlotId, wordbay::ListSide from)> translationShown;
    };

    MainWindowView(const Controls& controls, Hooks hooks);
    ~MainWindowView() override;
    MainWindowView(const MainWindowView&) = delete;
    MainWindowView& operator=(const MainWindowView&) = delete;

    // The controller whose worker calls the view; set once, before it starts.
    void attach(wordbay::SearchController* controller) { m_controller = controller; }

    // A word typed into pane `slot` while its dictionary was not ready: false
    // when the pane can search it now; otherwise it is kept and searched as
    // soon as the pane is enabled again and the worker is free.
    bool keepTypedWhileBusy(wordbay::SlotId slot, wordbay::ListSide side);

    void ShowList(wordbay::SlotId slot, wordbay::ListSide side, const char* const* items,
                  int count) override;
    void SelectListEntry(wordbay::SlotId slot, wordbay::ListSide side, int index) override;
    std::optional<std::string> SelectedWord(wordbay::SlotId slot, wordbay::ListSide side) override;
    int SelectedIndex(wordbay::SlotId slot, wordbay::ListSide side) override;
    void RedrawList(wordbay::SlotId slot, wordbay::ListSide side) override;
    std::string EditText(wordbay::SlotId slot, wordbay::ListSide side) override;
    void SetEditText(wordbay::SlotId slot, wordbay::ListSide side, std::string_view text) override;
    void FocusEdit(wordbay::SlotId slot, wordbay::ListSide side) override;
    void FocusList(wordbay::SlotId slot, wordbay::ListSide side) override;
    void EnableSlotControls(wordbay::SlotId slot, bool enabled) override;
    void EnableMenus(bool enabled) override;
    void RefreshView(wordbay::SlotId id, const wordbay::DictionarySlot& slot) override;
    void SetSlotCodePages(wordbay::SlotId id, std::uint32_t primary,
                          std::uint32_t secondary) override;
    void PreviewView(wordbay::SlotId id, const wordbay::DictionarySlot& slot) override;
    void SearchWhenReady(wordbay::SlotId slot, wordbay::ListSide side) override;
    void TranslationShown(wordbay::SlotId slot, wordbay::ListSide from) override;
    void SetTitles(const wordbay::WindowTitles& titles) override;
    void SetStatus(std::string text) override;
    void BeginProgress(DB_HANDLE handle) override;
    void EndProgress() override;
    void Beep() override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    std::string ChooseSaveFile(const std::string& title, const std::string& filter_name,
                               const std::string& extension,
                               const std::string& start_path) override;
    void OpenDictionaryChooser() override;
    void OpenImportDialog() override;
    void SetEditModeOff() override;
    void SetDualModeState(bool on) override;
    void ActivateMainWindow() override;
    bool WindowsReady() override;
    void CloseMainWindow() override;
    void HotKeyShowText(std::string_view text) override;
    void HotKeyShowList(const char* const* items, int count) override;
    void HotKeyClear() override;
    void ShowWordForms(const wordbay::WordFormsNote& note) override;

private:
    template <typename F>
    auto onUiThread(F&& f);
    DictionaryPane* pane(wordbay::SlotId slot) const;
    void searchTypedWhileBusy();
    // Shows the dictionary of `slot` in its pane: RefreshView, PreviewView.
    void showDictionary(wordbay::SlotId id, const wordbay::DictionarySlot& slot, bool loaded);

    Controls m_controls;
    Hooks m_hooks;
    wordbay::SearchController* m_controller = nullptr;
    // Per pane: disabled by a job, and the side typed into meanwhile (-1:
    // none), searched once the worker is free.
    bool m_slotBusy[2] = {false, false};
    int m_typedWhileBusy[2] = {-1, -1};
    QTimer* m_typedTimer = nullptr;
    QTimer* m_progressTimer = nullptr;
    DB_HANDLE m_progressHandle = nullptr;
};
