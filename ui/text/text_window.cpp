#include "ui/text/text_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTextCursor>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "app/message_table.h"
#include "platform/code_page.h"
#include "platform/file_reader.h"
#include "ui/text/text_run.h"
#include "ui/widgets/code_page_text.h"
#include "ui/widgets/w_edit.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_message_box.h"
#include "ui/widgets/w_progress_bar.h"

using wordbay::TextAction;
using wordbay::TextId;
using wordbay::UiText;
namespace cmd = text_command;

namespace {

QString Text(TextId id) { return QString::fromUtf8(UiText(id)); }

// A menu text without the key name after its tab.
QString MenuText(TextId id) { return Text(id).section(QLatin1Char('\t'), 0, 0); }

// A menu text as the title of a menu of its own: without the dots that
// announce a dialog.
QString MenuTitle(TextId id) {
    QString text = MenuText(id);
    if (text.endsWith(QStringLiteral("..."))) text.chop(3);
    return text;
}

constexpr int kMinDepth = 1;
constexpr int kMaxDepth = 10;
static_assert(text_command::kDepthLast - text_command::kDepthFirst == kMaxDepth - kMinDepth,
              "one depth item for every depth");

// The largest text file the window opens: far more than a text box shows
// without stalling.
constexpr std::size_t kMaxTextFileBytes = 64u << 20;

// Why a text file could not be read, in the system's words.
QString readFailureText(platform::ReadOutcome outcome) {
    int error = EIO;
    switch (outcome) {
        case platform::ReadOutcome::kMissing:
            error = ENOENT;
            break;
        case platform::ReadOutcome::kNotRegular:
            error = EINVAL;
            break;
        case platform::ReadOutcome::kTooLarge:
            error = EFBIG;
            break;
        case platform::ReadOutcome::kRead:
        case platform::ReadOutcome::kFailed:
            break;
    }
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

Main1Form::Main1Form(wordbay::ProgramSettings* settings, QWidget* parent)
    : WForm(parent, Qt::Window), m_settings(settings) {
    setObjectName(QStringLiteral("TQ_TALLIS1"));
    setWindowTitle(QStringLiteral("Text translation"));
    resize(526, 400);
}

Main1Form::~Main1Form() { destroyWindow(); }

void Main1Form::setDictionaryProvider(std::function<TextDictionaries()> provider) {
    m_provider = std::move(provider);
}

int Main1Form::onCreate() {
    buildControls();
    buildMenus();
    connectCommands();
    applyOptions();
    relabel();
    setRunning(false);
    return 0;
}

void Main1Form::onDestroy() {
    stopTranslation();
    if (m_worker) m_worker->stop();
}

bool Main1Form::onClose() {
    // Closing only hides the window, and ends a run.
    hide();
    stopTranslation();
    return true;
}

void Main1Form::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    m_toolBar = new QToolBar(this);
    layout->addWidget(m_toolBar);

    m_splitter = new QSplitter(this);
    m_source = new QPlainTextEdit(m_splitter);
    m_source->setObjectName(QStringLiteral("sourcePane"));
    m_target = new QPlainTextEdit(m_splitter);
    m_target->setObjectName(QStringLiteral("targetPane"));
    layout->addWidget(m_splitter, 1);

    auto* stepRow = new QHBoxLayout;
    m_phrase = new WEdit(this, 0);
    m_phrase->setObjectName(QStringLiteral("phraseBox"));
    connect(m_phrase, &QLineEdit::textChanged, this, &Main1Form::phraseChanged);
    stepRow->addWidget(m_phrase, 2);
    m_insertTranslation = new QPushButton(this);
    m_skip = new QPushButton(this);
    m_insertOriginal = new QPushButton(this);
    for (auto [button, id] :
         {std::pair{m_insertTranslation, cmd::kInsertTranslation},
          std::pair{m_skip, cmd::kSkipWord}, std::pair{m_insertOriginal, cmd::kInsertOriginal}}) {
        button->setObjectName(QStringLiteral("button%1").arg(id));
        stepRow->addWidget(button);
    }
    m_depth = new QSlider(Qt::Horizontal, this);
    m_depth->setRange(kMinDepth, kMaxDepth);
    m_depth->setPageStep(1);
    connect(m_depth, &QSlider::valueChanged, this, [this](int value) { setDepth(value); });
    stepRow->addWidget(m_depth, 1);
    layout->addLayout(stepRow);

    m_list = new WListBox(this, 0);
    m_list->setObjectName(QStringLiteral("translationsList"));
    connect(m_list, &WListBox::rowChosen, this, &Main1Form::translationChosen);
    m_list->setMaximumHeight(120);
    m_list->setContextMenuPolicy(Qt::PreventContextMenu);
    layout->addWidget(m_list);

    auto* status = new QStatusBar(this);
    m_fromCursorCell = new QLabel(QStringLiteral("FROM CURSOR"), status);
    m_accentsCell = new QLabel(QStringLiteral("IGNORE ACCENTS"), status);
    m_caseCell = new QLabel(QStringLiteral("CASE SENSITIVE"), status);
    m_depthCell = new QLabel(status);
    m_progress = new WProgressBar(status, 0);
    m_progress->setMinimumWidth(120);
    m_progress->hide();
    for (QWidget* cell : {static_cast<QWidget*>(m_fromCursorCell),
                          static_cast<QWidget*>(m_accentsCell), static_cast<QWidget*>(m_caseCell),
                          static_cast<QWidget*>(m_depthCell), static_cast<QWidget*>(m_progress)}) {
        status->addWidget(cell);
    }
    layout->addWidget(status);
}

void Main1Form::buildMenus() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    m_runMenu = bar->addMenu(QString());
    for (int id : {cmd::kOpen, cmd::kSaveOriginal, cmd::kSaveTranslated}) {
        m_runMenu->addAction(addCommand(id));
    }
    m_runMenu->addSeparator();
    m_runMenu->addAction(addCommand(cmd::kStart));
    m_runMenu->addAction(addCommand(cmd::kStop));
    m_runMenu->addSeparator();
    auto* modes = new QActionGroup(this);
    for (int id : {cmd::kFast, cmd::kStep}) {
        QAction* action = addCommand(id);
        action->setCheckable(true);
        modes->addAction(action);
        m_runMenu->addAction(action);
    }
    for (int id : {cmd::kFromCursor, cmd::kWrapOriginal, cmd::kWrapTranslated}) {
        QAction* action = addCommand(id);
        action->setCheckable(true);
        m_runMenu->addAction(action);
    }
    m_depthMenu = m_runMenu->addMenu(QString());
    auto* depths = new QActionGroup(this);
    for (int depth = kMinDepth; depth <= kMaxDepth; ++depth) {
        QAction* action = addCommand(cmd::kDepthFirst + depth - kMinDepth, QString::number(depth));
        action->setCheckable(true);
        depths->addAction(action);
        m_depthMenu->addAction(action);
    }
    m_viewMenu = bar->addMenu(QString());
    m_viewMenu->addAction(addCommand(cmd::kTileHorizontally));
    m_viewMenu->addAction(addCommand(cmd::kTileVertically));

    for (int id : {cmd::kOpen, cmd::kSaveOriginal, cmd::kSaveTranslated, cmd::kStart, cmd::kStop,
                   cmd::kFast, cmd::kStep, cmd::kFromCursor}) {
        m_toolBar->addAction(commandAction(id));
    }
    addAccelerator(QKeySequence(Qt::Key_F12), cmd::kStart);
    // The main window's copy and paste keys, for the three edit boxes.
    addAccelerator(QKeySequence(Qt::CTRL | Qt::Key_C), cmd::kCopy);
    addAccelerator(QKeySequence(Qt::CTRL | Qt::Key_D), cmd::kPaste);
}

void Main1Form::relabel() {
    if (m_runMenu == nullptr) return;
    m_runMenu->setTitle(MenuTitle(TextId::MENU_TRANSLATE_TEXT));
    m_depthMenu->setTitle(MenuText(TextId::MENU_SEARCHING_DEPTH));
    m_viewMenu->setTitle(MenuText(TextId::MENU_VIEW));
    const std::pair<int, TextId> labels[] = {
        {cmd::kOpen, TextId::MENU_OPEN_TEXT_TO_TRANSLATE},
        {cmd::kSaveOriginal, TextId::MENU_SAVE_TEXT_TO_TRANSLATE},
        {cmd::kSaveTranslated, TextId::MENU_SAVE_TRANSLATED_TEXT},
        {cmd::kStart, TextId::MENU_START_TRANSLATION},
        {cmd::kStop, TextId::MENU_STOP_TRANSLATION},
        {cmd::kFast, TextId::MENU_FAST_TRANSLATION},
        {cmd::kStep, TextId::MENU_STEP_TRANSLATION},
        {cmd::kFromCursor, TextId::MENU_TRANSLATE_FROM_CURSOR},
        {cmd::kWrapOriginal, TextId::MENU_WORDWRAP_ORIGINAL_TEXT},
        {cmd::kWrapTranslated, TextId::MENU_WORDWRAP_TRANSLATED_TEXT},
        {cmd::kTileHorizontally, TextId::MENU_TILE_HORIZONTALLY},
        {cmd::kTileVertically, TextId::MENU_TILE_VERTICALLY},
    };
    for (const auto& [id, text] : labels) commandAction(id)->setText(MenuText(text));
    const std::pair<int, TextId> tips[] = {
        {cmd::kOpen, TextId::TOOLTIP_OPEN_ORIGINAL_TEXT},
        {cmd::kSaveOriginal, TextId::TOOLTIP_SAVE_ORIGINAL_TEXT},
        {cmd::kSaveTranslated, TextId::TOOLTIP_SAVE_TRANSLATED_TEXT},
        {cmd::kStart, TextId::TOOLTIP_START_TRANSLATION},
        {cmd::kStop, TextId::TOOLTIP_STOP_TRANSLATION},
        {cmd::kFast, TextId::TOOLTIP_FAST_TRANSLATION},
        {cmd::kStep, TextId::TOOLTIP_STEP_TRANSLATION},
        {cmd::kFromCursor, TextId::TOOLTIP_TRANSLATE_FROM_CURSOR},
    };
    for (const auto& [id, text] : tips) commandAction(id)->setToolTip(Text(text));
    m_insertTranslation->setText(Text(TextId::MSG_INSERT_TRANSLATION));
    m_skip->setText(Text(TextId::MSG_SKIP_WORD));
    m_insertOriginal->setText(Text(TextId::MSG_INSERT_ORIGINAL));
    m_depth->setToolTip(Text(TextId::TOOLTIP_SEARCHING_DEPTH));
    setDepth(m_settings->search_depth);
}

void Main1Form::applyOptions() {
    commandAction(m_settings->fast_translation ? cmd::kFast : cmd::kStep)->setChecked(true);
    commandAction(cmd::kFromCursor)->setChecked(m_settings->translate_from_cursor);
    m_fromCursorCell->setEnabled(m_settings->translate_from_cursor);
    commandAction(cmd::kWrapOriginal)->setChecked(m_settings->wrap_original);
    commandAction(cmd::kWrapTranslated)->setChecked(m_settings->wrap_translated);
    m_source->setLineWrapMode(m_settings->wrap_original ? QPlainTextEdit::WidgetWidth
                                                        : QPlainTextEdit::NoWrap);
    m_target->setLineWrapMode(m_settings->wrap_translated ? QPlainTextEdit::WidgetWidth
                                                          : QPlainTextEdit::NoWrap);
    m_splitter->setOrientation(m_settings->panes_side_by_side ? Qt::Horizontal : Qt::Vertical);
    setDepth(m_settings->search_depth);
}

void Main1Form::setDepth(int depth) {
    depth = std::clamp(depth, kMinDepth, kMaxDepth);
    m_settings->search_depth = depth;
    if (m_depth == nullptr) return;
    if (m_depth->value() != depth) m_depth->setValue(depth);
    if (QAction* action = commandAction(cmd::kDepthFirst + depth - kMinDepth))
        action->setChecked(true);
    m_depthCell->setText(QStringLiteral("%1: %2 %3")
                             .arg(Text(TextId::MSG_SEARCH))
                             .arg(depth)
                             .arg(Text(depth == 1 ? TextId::MSG_WORD : TextId::MSG_WORDS)));
}

void Main1Form::setSwitches(bool case_sensitive, bool ignore_accents) {
    m_caseCell->setEnabled(case_sensitive);
    m_accentsCell->setEnabled(ignore_accents);
}

void Main1Form::resetWordList() {
    m_list->resetContent();
    m_shown.clear();
}

bool Main1Form::isTranslating() const { return m_running; }

QPlainTextEdit* Main1Form::focusedPane() const {
    if (m_target->hasFocus()) return m_target;
    if (m_source->hasFocus()) return m_source;
    return nullptr;
}

void Main1Form::phraseChanged() {
    if (m_ownPhraseChange || m_phrase->isSetByProgram()) {
        m_ownPhraseChange = false;
        m_phrase->clearSetByProgram();
    } else {
        lookUpEditedPhrase();
    }
}

// Choosing a translation inserts it; the source pane gets the focus back.
void Main1Form::translationChosen() {
    if (m_waiting && m_list->curSel() >= 0) {
        act(TextAction::kInsertTranslation);
        m_source->setFocus();
    }
}

void Main1Form::addToggle(int id, bool wordbay::ProgramSettings::*option) {
    onCommand(id, this, [this, option] {
        m_settings->*option = !(m_settings->*option);
        applyOptions();
    });
}

// Each menu item, key and button of the window to what it does.
void Main1Form::connectCommands() {
    onCommand(cmd::kStart, this, [this] { startTranslation(); });
    onCommand(cmd::kStop, this, [this] { stopTranslation(); });
    onCommand(cmd::kOpen, this, [this] { openText(); });
    onCommand(cmd::kSaveOriginal, this, [this] { saveText(false); });
    onCommand(cmd::kSaveTranslated, this, [this] { saveText(true); });
    for (const int id : {cmd::kFast, cmd::kStep}) {
        onCommand(id, this, [this, id] {
            m_settings->fast_translation = id == cmd::kFast;
            applyOptions();
        });
    }
    addToggle(cmd::kFromCursor, &wordbay::ProgramSettings::translate_from_cursor);
    addToggle(cmd::kWrapOriginal, &wordbay::ProgramSettings::wrap_original);
    addToggle(cmd::kWrapTranslated, &wordbay::ProgramSettings::wrap_translated);
    for (const int id : {cmd::kTileHorizontally, cmd::kTileVertically}) {
        onCommand(id, this, [this, id] {
            m_settings->panes_side_by_side = id == cmd::kTileVertically;
            applyOptions();
        });
    }
    for (int id = cmd::kDepthFirst; id <= cmd::kDepthLast; ++id)
        onCommand(id, this, [this, id] { setDepth(id - cmd::kDepthFirst + kMinDepth); });

    // The step run's choices.
    connect(m_insertTranslation, &QPushButton::clicked, this, [this] {
        if (m_list->count() > 0) act(TextAction::kInsertTranslation);
    });
    connect(m_skip, &QPushButton::clicked, this, [this] { act(TextAction::kSkip); });
    connect(m_insertOriginal, &QPushButton::clicked, this,
            [this] { act(TextAction::kInsertOriginal); });

    // Copy and paste work on whichever of the three edit boxes has the focus.
    onCommand(cmd::kCopy, this, [this] {
        if (QPlainTextEdit* pane = focusedPane())
            pane->copy();
        else if (m_phrase->hasFocus())
            m_phrase->copy();
    });
    onCommand(cmd::kPaste, this, [this] {
        if (QPlainTextEdit* pane = focusedPane())
            pane->paste();
        else if (m_phrase->hasFocus())
            m_phrase->paste();
    });
}

void Main1Form::setRunning(bool running) {
    commandAction(cmd::kStart)->setEnabled(!running);
    commandAction(cmd::kStop)->setEnabled(running);
    for (int id : {cmd::kFast, cmd::kStep, cmd::kOpen, cmd::kSaveOriginal, cmd::kSaveTranslated}) {
        commandAction(id)->setEnabled(!running);
    }
    m_skip->setEnabled(running);
    m_insertOriginal->setEnabled(running);
    m_insertTranslation->setEnabled(running && m_list->count() > 0);
    m_source->setReadOnly(running);
    m_progress->setVisible(running);
    m_depthCell->setVisible(!running);
    if (!running) {
        m_skip->setEnabled(false);
        m_insertOriginal->setEnabled(false);
        m_insertTranslation->setEnabled(false);
    }
}

void Main1Form::startTranslation() {
    if (isTranslating() || !m_provider) return;
    TextDictionaries dictionaries = m_provider();
    if (!dictionaries.ready) return;
    if (m_worker) m_worker->stop();  // the previous run has ended; reap its thread

    const QString text = m_source->toPlainText();
    QTextCursor cursor = m_source->textCursor();
    m_selectionStart = cursor.selectionStart();
    m_selectionEnd = cursor.selectionEnd();
    int from = 0;
    int to = static_cast<int>(text.size());
    if (cursor.hasSelection()) {
        from = m_selectionStart;
        to = m_selectionEnd;
    } else if (m_settings->translate_from_cursor) {
        from = cursor.position();
    } else {
        cursor.setPosition(0);
        m_source->setTextCursor(cursor);
    }
    m_target->clear();
    m_source->setFocus();
    if (text.isEmpty()) return;

    m_run = std::move(dictionaries);
    m_worker = std::make_unique<ThreadTrazi1>(this, text, from, to);
    m_phrase->clear();
    resetWordList();
    setRunning(true);
    m_progress->setPosition(0);
    m_running = m_worker->start();
    if (!m_running) setRunning(false);
}

void Main1Form::stopTranslation() {
    m_waiting = false;
    m_translator.Stop();
}

void Main1Form::act(TextAction action) {
    if (!m_waiting) return;
    std::string chosen;
    if (action == TextAction::kInsertTranslation) {
        const int row = std::max(m_list->curSel(), 0);
        if (row >= m_list->count()) return;
        const char* word = m_shown.at(static_cast<std::size_t>(row));
        chosen = word != nullptr ? word : "";
    }
    m_waiting = false;
    m_translator.Act(action, std::move(chosen));
}

void Main1Form::lookUpEditedPhrase() {
    // Only while the worker waits: then the engine is free for this thread.
    if (!m_waiting) return;
    wordbay::TextLookup lookup(m_run.lookup);
    const std::string phrase = encodeText(m_run.source_code_page, m_phrase->text());
    std::vector<const char*> items;
    if (!phrase.empty() && lookup.Main(phrase)) {
        if (lookup.link()) lookup.Link();
        items.assign(lookup.results(), lookup.results() + lookup.count());
    }
    m_list->resetContent();
    m_shown = std::move(items);
    m_list->setItems(m_shown.data());
    m_list->setCount(static_cast<int>(m_shown.size()));
    if (!m_shown.empty()) m_list->setCurSel(0);
    m_insertTranslation->setEnabled(!m_shown.empty());
}

void Main1Form::appendTarget(const QString& text) {
    if (text.isEmpty()) return;
    QTextCursor cursor(m_target->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    m_target->verticalScrollBar()->setValue(m_target->verticalScrollBar()->maximum());
}

void Main1Form::showPosition(int start) {
    QTextCursor cursor = m_source->textCursor();
    cursor.setPosition(
        std::min(start, static_cast<int>(m_source->document()->characterCount()) - 1));
    m_source->setTextCursor(cursor);
    m_source->ensureCursorVisible();
}

void Main1Form::askPhrase(const QString& phrase, int start, int end,
                          std::vector<const char*> items) {
    m_ownPhraseChange = true;
    m_phrase->setProgramText(phrase);
    m_ownPhraseChange = false;
    m_list->resetContent();
    m_shown = std::move(items);
    m_list->setCodePage(m_run.target_code_page);
    m_list->setItems(m_shown.data());
    m_list->setCount(static_cast<int>(m_shown.size()));
    if (!m_shown.empty()) m_list->setCurSel(0);
    m_insertTranslation->setEnabled(!m_shown.empty());
    QTextCursor cursor = m_source->textCursor();
    const int last = static_cast<int>(m_source->document()->characterCount()) - 1;
    cursor.setPosition(std::min(start, last));
    cursor.setPosition(std::min(end, last), QTextCursor::KeepAnchor);
    m_source->setTextCursor(cursor);
    m_source->ensureCursorVisible();
    m_phraseStart = start;
    m_phraseEnd = end;
    m_waiting = true;
}

void Main1Form::showProgress(int percent) { m_progress->setPosition(percent); }

void Main1Form::runFinished() {
    m_running = false;
    m_waiting = false;
    setRunning(false);
    m_phrase->setProgramText(QString());
    resetWordList();
    // Give the source pane its selection back.
    QTextCursor cursor = m_source->textCursor();
    const int last = static_cast<int>(m_source->document()->characterCount()) - 1;
    cursor.setPosition(std::min(m_selectionStart, last));
    cursor.setPosition(std::min(m_selectionEnd, last), QTextCursor::KeepAnchor);
    m_source->setTextCursor(cursor);
    if (m_settings->translate_from_cursor) {
        QTextCursor start(m_target->document());
        m_target->setTextCursor(start);
    }
}

void Main1Form::openText() {
    const QString path =
        QFileDialog::getOpenFileName(this, Text(TextId::MSG_OPEN_ORIGINAL_TEXT), QString(),
                                     QStringLiteral("Text Files (*.txt);;All files (*)"));
    if (path.isEmpty()) return;
    // Only a regular file of a size a text box can hold: a pipe or a device
    // would hold the window until it ends.
    std::string bytes;
    const platform::ReadOutcome outcome =
        platform::ReadRegularFile(QFile::encodeName(path).constData(), kMaxTextFileBytes, &bytes);
    if (outcome != platform::ReadOutcome::kRead) {
        messageBox(this, readFailureText(outcome), Text(TextId::MSG_ERROR), kMbOk | kMbIconStop);
        return;
    }
    const std::string_view view(bytes);
    // UTF-8 first; anything else is taken as text in the source list's code page.
    if (platform::IsValidUtf8(view)) {
        m_source->setPlainText(
            QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
    } else {
        const std::uint32_t page = m_provider ? m_provider().source_code_page : 1252;
        m_source->setPlainText(decodeText(page, view));
    }
}

void Main1Form::saveText(bool translated) {
    const QString path = QFileDialog::getSaveFileName(
        this, Text(translated ? TextId::MSG_SAVE_TRANSLATED_TEXT : TextId::MSG_SAVE_ORIGINAL_TEXT),
        QString(), QStringLiteral("Text Files (*.txt);;All files (*)"));
    if (path.isEmpty()) return;
    QString name = path;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".txt");
    // The old file keeps its place until the new one is whole: a full disk or
    // a failed write leaves it as it was.
    QSaveFile file(name);
    const QByteArray bytes = (translated ? m_target : m_source)->toPlainText().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        messageBox(this, file.errorString(), Text(TextId::MSG_ERROR), kMbOk | kMbIconStop);
    }
}
