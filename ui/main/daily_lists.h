// DailyLists: the history and the favourites of the main window. It counts
// the look-ups whose translations the user saw (LookUpCounter), keeps them
// and the starred words in their files (written together, at most half a
// second after a change), owns the History and Favourites windows, their
// menu items and keys, and the stars of the main window and the popup.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "app/dictionary_settings.h"  // ListSide
#include "app/look_up_counter.h"
#include "ui/widgets/w_message_box.h"
#include "wordlists/favourites_store.h"
#include "wordlists/history_store.h"

class DictionaryPane;
class FavouriteStar;
class QAction;
class QMenu;
class QTimer;
class WEdit;
class WordListWindow;

class DailyLists : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        // Looks `word` (UTF-8) up again in the main window, from the primary
        // list (direction 1) or the secondary (2).
        std::function<void(const QString& word, int direction)> lookUp;
    };

    // The files live in `dataDir`; `historySize` words are kept.
    DailyLists(QWidget* window, const MessageBoxButtonTable* buttonTexts,
               const std::string& dataDir, int historySize, Hooks hooks);
    ~DailyLists() override;  // writes what is left

    // The items "History" and "Favourites" (with their keys) go into `menu`.
    void addMenuItems(QMenu* menu);
    // A star for the word on screen, in `parent`.
    FavouriteStar* createStar(QWidget* parent);
    // Clicks in `list` (a result list) count as acts on what it shows.
    void watchList(QWidget* list);

    // The translations of the word selected in `pane`'s list `from` show;
    // `dictionary` is the dictionary's file name.
    void translationShown(const DictionaryPane* pane, wordbay::ListSide from,
                          const std::string& dictionary);
    // The text of a pane's search box `edit` changed: typed text starts a
    // new search (a text the program set does not).
    void searchTyped(const WEdit* edit);
    // Enter in a pane's search box acts on what it shows.
    void entered();
    // A word of a pane's list was chosen: one picked with the mouse is a
    // look-up of its own.
    void wordPicked();
    // The hot key looks a word up.
    void hotKeyLookUp();

    void setHistorySize(int size);
    void retranslate();
    // Says once which file could not be read (after the window shows).
    void reportProblems();
    void flush();

    QAction* historyAction() const { return m_historyAction; }
    QAction* favouritesAction() const { return m_favouritesAction; }
    WordListWindow* historyWindow() const { return m_historyWindow; }
    WordListWindow* favouritesWindow() const { return m_favouritesWindow; }
    const wordlists::HistoryStore& history() const { return m_history; }
    const wordlists::FavouritesStore& favourites() const { return m_favourites; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a click, a removal and clearing in window `w` do.
    void connectWindow(WordListWindow* w, bool history);
    void counted(const std::optional<wordbay::ShownLookUp>& lookUp);
    void scheduleCount();
    void scheduleFlush();
    void showStars();
    void star(bool starred);
    void showWindow(WordListWindow* window);
    void fillHistory();
    void fillFavourites();
    void exportFavourites(bool csv);
    void reportWriteFailure(const wordlists::JournalStatus& status, const std::string& path);
    std::int64_t now() const { return m_clock.elapsed(); }

    QWidget* m_window;
    const MessageBoxButtonTable* m_buttonTexts;
    Hooks m_hooks;
    wordlists::HistoryStore m_history;
    wordlists::FavouritesStore m_favourites;
    wordbay::LookUpCounter m_counter;
    QElapsedTimer m_clock;
    QTimer* m_countTimer;
    QTimer* m_flushTimer;
    QAction* m_historyAction;
    QAction* m_favouritesAction;
    WordListWindow* m_historyWindow = nullptr;
    WordListWindow* m_favouritesWindow = nullptr;
    QList<QPointer<FavouriteStar>> m_stars;
    bool m_writeFailureShown = false;
    bool m_lastInputWasClick = false;
};
