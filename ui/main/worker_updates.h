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
        const QueuedSignalScope handOver(this);
        emit listShown(slot, side, std::move(words));
    }
    void SelectListEntry(wordbay::SlotId slot, wordbay::ListSide side, int index,
                         unsigned epoch) override {
        const QueuedSignalScope handOver(this);
        emit listEntrySelected(slot, side, index, epoch);
    }
    void SetEditText(wordbay::SlotId slot, wordbay::ListSide side, std::string text) override {
        const QueuedSignalScope handOver(this);
        emit editTextSet(slot, side, std::move(text));
    }
    void TranslationShown(wordbay::SlotId slot, wordbay::ListSide from) override {
        const QueuedSignalScope handOver(this);
        emit translationShown(slot, from);
    }
    void EnableSlotControls(wordbay::SlotId slot, bool enabled) override {
        const QueuedSignalScope handOver(this);
        emit slotControlsEnabled(slot, enabled);
    }
    void ShowDictionary(wordbay::SlotId slot, bool loaded) override {
        const QueuedSignalScope handOver(this);
        emit dictionaryShown(slot, loaded);
    }
    void SetCodePages(wordbay::SlotId slot, std::uint32_t primary,
                      std::uint32_t secondary) override {
        const QueuedSignalScope handOver(this);
        emit codePagesSet(slot, primary, secondary);
    }
    void FocusEdit(wordbay::SlotId slot, wordbay::ListSide side) override {
        const QueuedSignalScope handOver(this);
        emit editFocused(slot, side);
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
        const QueuedSignalScope handOver(this);
        emit titlesSet(std::move(titles));
    }
    void SetStatus(std::string text) override {
        const QueuedSignalScope handOver(this);
        emit statusSet(std::move(text));
    }
    void BeginProgress() override {
        const QueuedSignalScope handOver(this);
        emit progressBegun();
    }
    void EndProgress() override {
        const QueuedSignalScope handOver(this);
        emit progressEnded();
    }
    void Beep() override {
        const QueuedSignalScope handOver(this);
        emit beeped();
    }
    void ShowMessage(wordbay::Message message) override {
        const QueuedSignalScope handOver(this);
        emit messageShown(std::move(message));
    }
    void Ask(int ticket, wordbay::Message question) override {
        const QueuedSignalScope handOver(this);
        emit questionAsked(ticket, std::move(question));
    }
    void ChooseSaveFile(int ticket, wordbay::SaveFileChoice choice) override {
        const QueuedSignalScope handOver(this);
        emit saveFileAsked(ticket, std::move(choice));
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
        const QueuedSignalScope handOver(this);
        emit hotKeyTextShown(std::move(text));
    }
    void HotKeyShowList(wordbay::WordList words) override {
        const QueuedSignalScope handOver(this);
        emit hotKeyListShown(std::move(words));
    }
    void HotKeyClear() override {
        const QueuedSignalScope handOver(this);
        emit hotKeyCleared();
    }

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
        const QueuedSignalScope handOver(this);
        emit wordFormsShown(std::move(note));
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
        const QueuedSignalScope handOver(this);
        emit menusEnabled(enabled);
    }
    void OpenDictionaryChooser() override {
        const QueuedSignalScope handOver(this);
        emit chooserOpened();
    }
    void OpenImportDialog() override {
        const QueuedSignalScope handOver(this);
        emit importDialogOpened();
    }
    void EditModeOff() override {
        const QueuedSignalScope handOver(this);
        emit editModeEnded();
    }
    void DualModeChanged(bool on) override {
        const QueuedSignalScope handOver(this);
        emit dualModeChanged(on);
    }
    void ActivateMainWindow() override {
        const QueuedSignalScope handOver(this);
        emit mainWindowActivated();
    }
    void CloseMainWindow() override {
        const QueuedSignalScope handOver(this);
        emit mainWindowClosing();
    }
    void RequestsDone(std::uint64_t count) override {
        const QueuedSignalScope handOver(this);
        emit requestsDone(count);
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
