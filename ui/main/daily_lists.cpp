#include "ui/main/daily_lists.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/message_table.h"
#include "platform/file_writer.h"
#include "ui/main/dictionary_pane.h"
#include "ui/widgets/ui_text.h"
#include "ui/widgets/w_control.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_list_box.h"
#include "ui/wordlists/favourite_star.h"
#include "ui/wordlists/word_list_window.h"
#include "wordlists/card_export.h"
#include "wordlists/data_files.h"

using wordbay::ListSide;
using wordbay::TextId;

namespace {

// Changes reach the files together, this long after the first of them: a
// kill loses at most the look-ups of that moment.
constexpr int kFlushDelayMs = 500;
// The translations a favourite keeps.
constexpr int kMostTranslations = 100;

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

// Why a file could not be read or written, in the user's words.
QString journalReason(const wordlists::JournalStatus& status) {
    if (status.error != 0) return QString::fromLocal8Bit(std::strerror(status.error));
    return {};
}

}  // namespace

DailyLists::DailyLists(QWidget* window, const MessageBoxButtonTable* buttonTexts,
                       const std::string& dataDir, int historySize, Hooks hooks)
    : QObject(window)
    , m_window(window)
    , m_buttonTexts(buttonTexts)
    , m_hooks(std::move(hooks))
    , m_history(dataDir + "/" + wordlists::kHistoryFileName, historySize)
    , m_favourites(dataDir + "/" + wordlists::kFavouritesFileName)
    , m_countTimer(new QTimer(this))
    , m_flushTimer(new QTimer(this))
    , m_historyAction(new QAction(this))
    , m_favouritesAction(new QAction(this)) {
    m_clock.start();
    m_history.Open();
    m_favourites.Open();
    m_countTimer->setSingleShot(true);
    connect(m_countTimer, &QTimer::timeout, this, [this] {
        counted(m_counter.Due(now()));
        scheduleCount();
    });
    m_flushTimer->setSingleShot(true);
    m_flushTimer->setInterval(kFlushDelayMs);
    connect(m_flushTimer, &QTimer::timeout, this, &DailyLists::flush);

    m_historyAction->setObjectName(QStringLiteral("menuHistory"));
    m_favouritesAction->setObjectName(QStringLiteral("menuFavourites"));
    connect(m_historyAction, &QAction::triggered, this, [this] { showWindow(m_historyWindow); });
    connect(m_favouritesAction, &QAction::triggered, this,
            [this] { showWindow(m_favouritesWindow); });
    // The keys act wherever the main window has the keyboard.
    const std::pair<QKeySequence, QAction*> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_H), m_historyAction},
        {QKeySequence(Qt::CTRL | Qt::Key_B), m_favouritesAction}};
    for (const auto& [key, action] : keys) {
        auto* shortcut = new QShortcut(key, window);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, action, &QAction::trigger);
    }

    m_historyWindow = new WordListWindow(WordListWindow::Kind::kHistory, window);
    m_favouritesWindow = new WordListWindow(WordListWindow::Kind::kFavourites, window);
    connectWindow(m_historyWindow, true);
    connectWindow(m_favouritesWindow, false);
    connect(m_favouritesWindow, &WordListWindow::exportRequested, this,
            &DailyLists::exportFavourites);
    fillHistory();
    fillFavourites();
    retranslate();
}

void DailyLists::connectWindow(WordListWindow* w, bool history) {
    connect(w, &WordListWindow::lookUpRequested, this, [this, history](int row) {
        const wordlists::WordKey& key =
            history ? m_history.entries().at(row).key : m_favourites.entries().at(row).key;
        if (m_hooks.lookUp) m_hooks.lookUp(fromUtf8(key.word), key.direction);
    });
    connect(w, &WordListWindow::removeRequested, this, [this, history](int row) {
        if (history) {
            m_history.Remove(m_history.entries().at(row).key);
            fillHistory();
        } else {
            m_favourites.Remove(m_favourites.entries().at(row).key);
            fillFavourites();
            showStars();
        }
        scheduleFlush();
    });
    connect(w, &WordListWindow::clearRequested, this, [this, history, w] {
        const TextId question =
            history ? TextId::MSG_CLEAR_HISTORY_QUESTION : TextId::MSG_CLEAR_FAVOURITES_QUESTION;
        if (messageBox(w, uiText(question), w->windowTitle(), kMbYesNo | kMbIconQuestion,
                       m_buttonTexts) != kIdYes)
            return;
        if (history) {
            m_history.Clear();
            fillHistory();
        } else {
            m_favourites.Clear();
            fillFavourites();
            showStars();
        }
        scheduleFlush();
    });
}

DailyLists::~DailyLists() { flush(); }

void DailyLists::addMenuItems(QMenu* menu) {
    menu->addSeparator();
    menu->addAction(m_historyAction);
    menu->addAction(m_favouritesAction);
}

FavouriteStar* DailyLists::createStar(QWidget* parent) {
    auto* star = new FavouriteStar(parent);
    connect(star, &FavouriteStar::starRequested, this, &DailyLists::star);
    m_stars.append(star);
    showStars();
    return star;
}

void DailyLists::watchList(QWidget* list) {
    list->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(list))
        area->viewport()->installEventFilter(this);
}

bool DailyLists::eventFilter(QObject* watched, QEvent* event) {
    // Picking a word with the mouse acts on it; moving through the list with
    // the keys reads on the way, as typing does.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
        m_lastInputWasClick = true;
    } else if (event->type() == QEvent::KeyPress) {
        m_lastInputWasClick = false;
    }
    return QObject::eventFilter(watched, event);
}

void DailyLists::translationShown(const DictionaryPane* pane, ListSide from,
                                  const std::string& dictionary) {
    const WListBox* words = pane->list(from);
    const WListBox* translations =
        pane->list(from == ListSide::kPrimary ? ListSide::kSecondary : ListSide::kPrimary);
    const int row = words->curSel();
    if (row < 0) return;
    wordbay::ShownLookUp shown;
    shown.word = words->itemText(row).toStdString();
    shown.dictionary = dictionary;
    shown.direction = from == ListSide::kPrimary ? 1 : 2;
    for (int i = 0; i < translations->count() && i < kMostTranslations; ++i)
        shown.translations.push_back(translations->itemText(i).toStdString());
    counted(m_counter.Shown(shown, now()));
    scheduleCount();
    showStars();
}

void DailyLists::searchTyped(const WEdit* edit) {
    if (edit->isSetByProgram()) return;
    m_counter.NewSearch();
    scheduleCount();
    showStars();
}

void DailyLists::entered() { counted(m_counter.Acted(now())); }

void DailyLists::wordPicked() {
    // A click picks a word: a look-up of its own, counted at once. The keys
    // that move through the list read on the way: each word shown counts
    // after its second.
    if (!m_lastInputWasClick) return;
    m_counter.NewSearch();
    counted(m_counter.Acted(now()));
}

void DailyLists::hotKeyLookUp() {
    m_counter.NewSearch();
    counted(m_counter.Acted(now()));
}

void DailyLists::scheduleCount() {
    const std::int64_t deadline = m_counter.deadline();
    if (deadline < 0) {
        m_countTimer->stop();
        return;
    }
    m_countTimer->start(static_cast<int>(std::max<std::int64_t>(0, deadline - now())));
}

void DailyLists::counted(const std::optional<wordbay::ShownLookUp>& lookUp) {
    if (!lookUp || m_history.limit() == 0) return;
    m_history.Add({lookUp->word, lookUp->dictionary, lookUp->direction},
                  QDateTime::currentSecsSinceEpoch());
    if (m_historyWindow->isVisible()) fillHistory();
    scheduleFlush();
}

void DailyLists::scheduleFlush() {
    if (!m_flushTimer->isActive()) m_flushTimer->start();
}

void DailyLists::flush() {
    m_flushTimer->stop();
    const std::pair<bool, const wordlists::JournalStatus*> outcomes[] = {
        {!m_history.HasPending() || m_history.Flush(), &m_history.status()},
        {!m_favourites.HasPending() || m_favourites.Flush(), &m_favourites.status()}};
    const std::string paths[] = {m_history.path(), m_favourites.path()};
    for (int i = 0; i < 2; ++i) {
        if (!outcomes[i].first) reportWriteFailure(*outcomes[i].second, paths[i]);
    }
}

void DailyLists::reportWriteFailure(const wordlists::JournalStatus& status,
                                    const std::string& path) {
    // Said once: the words stay in memory, and each later flush tries again.
    if (m_writeFailureShown) return;
    m_writeFailureShown = true;
    reportError(m_window, uiText(TextId::MSG_ERROR), uiText(TextId::MSG_WORD_LIST_NOT_WRITTEN),
                fromUtf8(path), journalReason(status), m_buttonTexts);
}

void DailyLists::reportProblems() {
    using Problem = wordlists::JournalStatus::Problem;
    for (const auto* store : {&m_history.status(), &m_favourites.status()}) {
        const std::string& path =
            store == &m_history.status() ? m_history.path() : m_favourites.path();
        if (store->detached) {
            reportError(m_window, uiText(TextId::MSG_ERROR), fromUtf8(path),
                        uiText(TextId::MSG_WORD_LIST_NOT_READ), journalReason(*store),
                        m_buttonTexts);
        } else if (store->problem == Problem::kNone && store->dropped > 0) {
            messageBox(m_window,
                       uiText(TextId::MSG_WORD_LIST_DAMAGED) +
                           QStringLiteral(" %1\n\n%2").arg(store->dropped).arg(fromUtf8(path)),
                       uiText(TextId::MSG_WARNING), kMbOk | kMbIconExclamation, m_buttonTexts);
        }
    }
}

void DailyLists::setHistorySize(int size) {
    m_history.SetLimit(size);
    fillHistory();
    scheduleFlush();
}

void DailyLists::retranslate() {
    m_historyAction->setText(uiText(TextId::MENU_HISTORY));
    m_favouritesAction->setText(uiText(TextId::MENU_FAVOURITES));
    m_historyWindow->retranslate();
    m_favouritesWindow->retranslate();
    for (const QPointer<FavouriteStar>& star : m_stars) {
        if (star) star->retranslate();
    }
}

void DailyLists::showWindow(WordListWindow* window) {
    if (window == m_historyWindow) {
        fillHistory();
    } else {
        fillFavourites();
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->filterBox()->setFocus(Qt::ActiveWindowFocusReason);
}

void DailyLists::fillHistory() {
    QList<WordListWindow::Row> rows;
    for (const wordlists::HistoryEntry& e : m_history.entries()) {
        rows.append(
            {fromUtf8(e.key.word), QString::number(e.count), fromUtf8(e.key.dictionary),
             QDateTime::fromSecsSinceEpoch(e.time).toString(QStringLiteral("yyyy-MM-dd hh:mm"))});
    }
    m_historyWindow->setRows(rows);
}

void DailyLists::fillFavourites() {
    QList<WordListWindow::Row> rows;
    for (const wordlists::Favourite& f : m_favourites.entries()) {
        QStringList translations;
        for (const std::string& t : f.translations) translations.append(fromUtf8(t));
        rows.append({fromUtf8(f.key.word), translations.join(QStringLiteral("; ")),
                     fromUtf8(f.key.dictionary), fromUtf8(wordlists::LocalDate(f.time))});
    }
    m_favouritesWindow->setRows(rows);
}

void DailyLists::showStars() {
    const std::optional<wordbay::ShownLookUp>& current = m_counter.current();
    const bool starred =
        current && m_favourites.Contains({current->word, current->dictionary, current->direction});
    for (const QPointer<FavouriteStar>& star : m_stars) {
        if (star) star->showState(starred, current.has_value());
    }
}

void DailyLists::star(bool starred) {
    const std::optional<wordbay::ShownLookUp>& current = m_counter.current();
    if (!current) {
        showStars();
        return;
    }
    const wordlists::WordKey key{current->word, current->dictionary, current->direction};
    if (starred) {
        m_favourites.Add({key, QDateTime::currentSecsSinceEpoch(), current->translations});
        // Starring a word acts on it: the history counts it too.
        counted(m_counter.Acted(now()));
    } else {
        m_favourites.Remove(key);
    }
    fillFavourites();
    showStars();
    scheduleFlush();
}

void DailyLists::exportFavourites(bool csv) {
    const QString filter = csv ? uiText(TextId::MSG_CSV_FILTER) + QStringLiteral(" (*.csv)")
                               : uiText(TextId::MSG_TAB_TEXT_FILTER) + QStringLiteral(" (*.txt)");
    QString path =
        QFileDialog::getSaveFileName(m_favouritesWindow, uiText(TextId::MSG_EXPORT),
                                     QDir::home().filePath(csv ? QStringLiteral("favourites.csv")
                                                               : QStringLiteral("favourites.txt")),
                                     filter);
    if (path.isEmpty()) return;
    const std::string text =
        wordlists::ExportCards(m_favourites.entries(),
                               csv ? wordlists::CardFormat::kCsv : wordlists::CardFormat::kTabText);
    errno = 0;
    if (!platform::WriteWholeFile(path.toStdString().c_str(), text.data(), text.size())) {
        reportError(m_favouritesWindow, uiText(TextId::MSG_ERROR), uiText(TextId::MSG_SAVING_ERROR),
                    path, QString::fromLocal8Bit(std::strerror(errno)), m_buttonTexts);
        return;
    }
    messageBox(m_favouritesWindow, uiText(TextId::MSG_FAVOURITES_EXPORTED) + "\n\n" + path,
               uiText(TextId::MSG_INFORMATION), kMbOk | kMbIconInformation, m_buttonTexts);
}
