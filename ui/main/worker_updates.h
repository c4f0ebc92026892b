// What the controller and its worker send to the window, as Qt signals: one
// object per kind of update (app/window_updates.h), to which the parts of the
// window of that kind connect. Every update is a signal of its own. Sent from
// the worker thread, a signal reaches its receivers queued, in the order
// sent, on the window's thread; sent from that thread itself (the few updates
// the window's own requests make at once), it is applied at once. The objects
// all live on the window's thread, whose one event queue keeps the order of
// the updates across them. Each signal sent from the worker is marked as
// handed over (ui/widgets/ui_thread.h), for the thread checker.
#pragma once

#include <QObject>
#include <cstdint>
#include <string>

#include "app/window_updates.h"
#include "ui/widgets/ui_thread.h"

Q_DECLARE_METATYPE(wordbay::SlotId)
Q_DECLARE_METATYPE(wordbay::ListSide)
Q_DECLARE_METATYPE(wordbay::WordList)
Q_DECLARE_METATYPE(wordbay::WindowTitles)
Q_DECLARE_METATYPE(wordbay::Message)
Q_DECLARE_METATYPE(wordbay::SaveFileChoice)
Q_DECLARE_METATYPE(wordbay::WordFormsNote)
Q_DECLARE_METATYPE(std::string)

// The edit boxes and lists of the dictionary panes.
class PaneSignals : public QObject, public wordbay::PaneUpdates {
    Q_OBJECT

public:
    explicit PaneSignals(QObject* parent = nullptr);

    void ShowList(wordbay::SlotId slot, wordbay::ListSide side, wordbay::WordList words) override {
        emitHandedOver(this, &PaneSignals::listShown, slot, side, std::move(words));
    }
    void SelectListEntry(wordbay::SlotId slot, wordbay::ListSide side, int index,
                         unsigned epoch) override {
        emitHandedOver(this, &PaneSignals::listEntrySelected, slot, side, index, epoch);
    }
    void SetEditText(wordbay::SlotId slot, wordbay::ListSide side, std::string text) override {
        emitHandedOver(this, &PaneSignals::editTextSet, slot, side, std::move(text));
    }
    void TranslationShown(wordbay::SlotId slot, wordbay::ListSide from) override {
        emitHandedOver(this, &PaneSignals::translationShown, slot, from);
    }
    void EnableSlotControls(wordbay::SlotId slot, bool enabled) override {
        emitHandedOver(this, &PaneSignals::slotControlsEnabled, slot, enabled);
    }
    void ShowDictionary(wordbay::SlotId slot, bool loaded) override {
        emitHandedOver(this, &PaneSignals::dictionaryShown, slot, loaded);
    }
    void SetCodePages(wordbay::SlotId slot, std::uint32_t primary,
                      std::uint32_t secondary) override {
        emitHandedOver(this, &PaneSignals::codePagesSet, slot, primary, secondary);
    }
    void FocusEdit(wordbay::SlotId slot, wordbay::ListSide side) override {
        emitHandedOver(this, &PaneSignals::editFocused, slot, side);
    }

signals:
    void listShown(wordbay::SlotId slot, wordbay::ListSide side, wordbay::WordList words);
    void listEntrySelected(wordbay::SlotId slot, wordbay::ListSide side, int index, unsigned epoch);
    void editTextSet(wordbay::SlotId slot, wordbay::ListSide side, std::string text);
    void translationShown(wordbay::SlotId slot, wordbay::ListSide from);
    void slotControlsEnabled(wordbay::SlotId slot, bool enabled);
    void dictionaryShown(wordbay::SlotId slot, bool loaded);
    void codePagesSet(wordbay::SlotId slot, std::uint32_t primary, std::uint32_t secondary);
    void editFocused(wordbay::SlotId slot, wordbay::ListSide side);
};

// The status strip, the titles, the progress and the message boxes.
class StatusSignals : public QObject, public wordbay::StatusUpdates {
    Q_OBJECT

public:
    explicit StatusSignals(QObject* parent = nullptr);

    void SetTitles(wordbay::WindowTitles titles) override {
        emitHandedOver(this, &StatusSignals::titlesSet, std::move(titles));
    }
    void SetStatus(std::string text) override {
        emitHandedOver(this, &StatusSignals::statusSet, std::move(text));
    }
    void BeginProgress() override { emitHandedOver(this, &StatusSignals::progressBegun); }
    void EndProgress() override { emitHandedOver(this, &StatusSignals::progressEnded); }
    void Beep() override { emitHandedOver(this, &StatusSignals::beeped); }
    void ShowMessage(wordbay::Message message) override {
        emitHandedOver(this, &StatusSignals::messageShown, std::move(message));
    }
    void Ask(int ticket, wordbay::Message question) override {
        emitHandedOver(this, &StatusSignals::questionAsked, ticket, std::move(question));
    }
    void ChooseSaveFile(int ticket, wordbay::SaveFileChoice choice) override {
        emitHandedOver(this, &StatusSignals::saveFileAsked, ticket, std::move(choice));
    }

signals:
    void titlesSet(wordbay::WindowTitles titles);
    void statusSet(std::string text);
    void progressBegun();
    void progressEnded();
    void beeped();
    void messageShown(wordbay::Message message);
    void questionAsked(int ticket, wordbay::Message question);
    void saveFileAsked(int ticket, wordbay::SaveFileChoice choice);
};

// The window the hot keys call (popup or tooltip).
class HotKeySignals : public QObject, public wordbay::HotKeyUpdates {
    Q_OBJECT

public:
    explicit HotKeySignals(QObject* parent = nullptr);

    void HotKeyShowText(std::string text) override {
        emitHandedOver(this, &HotKeySignals::hotKeyTextShown, std::move(text));
    }
    void HotKeyShowList(wordbay::WordList words) override {
        emitHandedOver(this, &HotKeySignals::hotKeyListShown, std::move(words));
    }
    void HotKeyClear() override { emitHandedOver(this, &HotKeySignals::hotKeyCleared); }

signals:
    void hotKeyTextShown(std::string text);
    void hotKeyListShown(wordbay::WordList words);
    void hotKeyCleared();
};

// What the word-form look-up says.
class WordFormSignals : public QObject, public wordbay::WordFormUpdates {
    Q_OBJECT

public:
    explicit WordFormSignals(QObject* parent = nullptr);

    void ShowWordForms(wordbay::WordFormsNote note) override {
        emitHandedOver(this, &WordFormSignals::wordFormsShown, std::move(note));
    }

signals:
    void wordFormsShown(wordbay::WordFormsNote note);
};

// The main window as a whole.
class WindowStateSignals : public QObject, public wordbay::WindowStates {
    Q_OBJECT

public:
    explicit WindowStateSignals(QObject* parent = nullptr);

    void EnableMenus(bool enabled) override {
        emitHandedOver(this, &WindowStateSignals::menusEnabled, enabled);
    }
    void OpenDictionaryChooser() override {
        emitHandedOver(this, &WindowStateSignals::chooserOpened);
    }
    void OpenImportDialog() override {
        emitHandedOver(this, &WindowStateSignals::importDialogOpened);
    }
    void EditModeOff() override { emitHandedOver(this, &WindowStateSignals::editModeEnded); }
    void DualModeChanged(bool on) override {
        emitHandedOver(this, &WindowStateSignals::dualModeChanged, on);
    }
    void ActivateMainWindow() override {
        emitHandedOver(this, &WindowStateSignals::mainWindowActivated);
    }
    void CloseMainWindow() override {
        emitHandedOver(this, &WindowStateSignals::mainWindowClosing);
    }
    void RequestsDone(std::uint64_t count) override {
        emitHandedOver(this, &WindowStateSignals::requestsDone, count);
    }

signals:
    void menusEnabled(bool enabled);
    void chooserOpened();
    void importDialogOpened();
    void editModeEnded();
    void dualModeChanged(bool on);
    void mainWindowActivated();
    void mainWindowClosing();
    void requestsDone(std::uint64_t count);
};

// The five, children of one parent on the window's thread, and the
// controller's view of them.
class WorkerUpdates {
public:
    explicit WorkerUpdates(QObject* parent);

    PaneSignals* const panes;
    StatusSignals* const status;
    HotKeySignals* const hotKey;
    WordFormSignals* const wordForms;
    WindowStateSignals* const window;

    wordbay::WindowUpdates receivers() const { return {panes, status, hotKey, wordForms, window}; }
};
