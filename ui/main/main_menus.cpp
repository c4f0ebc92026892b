#include "ui/main/main_menus.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>

#include "app/message_table.h"
#include "ui/main/button_bar.h"
#include "ui/main/command_ids.h"
#include "ui/main/search_edit.h"
#include "ui/widgets/image_strip.h"
#include "ui/widgets/ui_text.h"
#include "ui/widgets/w_form.h"
#include "ui/widgets/w_list_box.h"

using wordbay::TextId;

namespace {

constexpr int kSeparator = -1;

struct MenuItem {
    int id;
    TextId text;
    bool checkable;
};

// The four menus, in order, with their items (kSeparator between groups).
constexpr MenuItem kDictionaryMenu[] = {
    {cmd::kCreateNew, TextId::MENU_CREATE_NEW, false},
    {cmd::kImport, TextId::MENU_IMPORT, false},
    {cmd::kUpdate, TextId::MENU_UPDATE, false},
    {cmd::kChange, TextId::MENU_CHANGE, false},
    {cmd::kSave, TextId::MENU_SAVE, false},
    {cmd::kSaveAs, TextId::MENU_SAVE_AS, false},
    {cmd::kExport, TextId::MENU_EXPORT, false},
    {cmd::kDictionaryInfo, TextId::MENU_DICTIONARY_INFO, false},
    {kSeparator, TextId::COMMENT_NEW_LINE, false},
    {cmd::kExit, TextId::MENU_EXIT, false},
};
constexpr MenuItem kFunctionsMenu[] = {
    {cmd::kCharmap, TextId::MENU_CHARMAP, false},
    {kSeparator, TextId::COMMENT_NEW_LINE, false},
    {cmd::kDualMode, TextId::MENU_DUAL_MODE, true},
    {cmd::kLoadDual, TextId::MENU_LOAD_DUAL, false},
    {cmd::kLink, TextId::MENU_LINK, true},
    {cmd::kMultiple, TextId::MENU_MULTIPLE, true},
    {kSeparator, TextId::COMMENT_NEW_LINE, false},
    {cmd::kEditMode, TextId::MENU_EDIT, true},
    {cmd::kAddWord, TextId::MENU_ADD_WORD, false},
    {cmd::kDeleteWord, TextId::MENU_DELETE_WORD, false},
    {cmd::kChangeWord, TextId::MENU_CHANGE_WORD, false},
    {kSeparator, TextId::COMMENT_NEW_LINE, false},
    {cmd::kTranslateText, TextId::MENU_TRANSLATE_TEXT, false},
    {cmd::kCopy, TextId::MENU_COPY, false},
    {cmd::kPaste, TextId::MENU_PASTE, false},
    {kSeparator, TextId::COMMENT_NEW_LINE, false},
    {cmd::kListPalindrome, TextId::MENU_LIST_PALINDROME, false},
    {cmd::kListIdentical, TextId::MENU_LIST_IDENTICAL, false},
};
constexpr MenuItem kSettingsMenu[] = {
    {cmd::kSettings, TextId::MENU_INTERFACE, false},
    {cmd::kInterfaceLanguage, TextId::MENU_INTERFACE_LANGUAGE, false},
    {kSeparator, TextId::COMMENT_NEW_LINE, false},
    {cmd::kAlwaysOnTop, TextId::MENU_ALWAYS_ON_TOP, true},
    {cmd::kUseHotKeys, TextId::MENU_USE_HOTKEYS, true},
    {cmd::kActivateSpeechMenu, TextId::MENU_ACTIVATE_SPEECH, true},
    {kSeparator, TextId::COMMENT_NEW_LINE, false},
    {cmd::kAnagrams1, TextId::MENU_ANAGRAMS_1, true},
    {cmd::kAnagrams2, TextId::MENU_ANAGRAMS_2, true},
    {cmd::kAnagrams3, TextId::MENU_ANAGRAMS_3, true},
    {cmd::kIgnoreAccents, TextId::MENU_IGNORE_ACCENTS, true},
    {cmd::kUseRegex, TextId::MENU_USE_REGEX, true},
    {cmd::kUseWildcards, TextId::MENU_USE_WILDCARDS, true},
    {cmd::kCaseSensitive, TextId::MENU_CASE_SENSITIVE, true},
    {cmd::kUseClipboard, TextId::MENU_USE_CLIPBOARD, true},
    {kSeparator, TextId::COMMENT_NEW_LINE, false},
    {cmd::kChangeDirection, TextId::MENU_CHANGE_TRANSLATION_DIRECTION, false},
    {cmd::kAutotranslate, TextId::MENU_AUTOTRANSLATE, true},
};
constexpr MenuItem kHelpMenu[] = {
    {cmd::kHelpContents, TextId::MENU_HELP_CONTENTS, false},
    {cmd::kHelpAbout, TextId::MENU_HELP_ABOUT, false},
};

// The context menu of edit boxes and lists, with the images of some items.
struct ContextItem {
    int id;
    TextId text;
    int image;  // -1: none
};
constexpr ContextItem kContextMenu[] = {
    {cmd::kDropWord, TextId::MENU_DROP, -1},
    {cmd::kSpeak, TextId::MENU_SPEAK, kImageSpeak},
    {cmd::kStopSpeaking, TextId::MENU_STOP, kImageStop},
    {cmd::kCut, TextId::MENU_CUT, -1},
    {cmd::kContextCopy, TextId::MENU_COPY, kImageCopy},
    {cmd::kContextPaste, TextId::MENU_PASTE, kImagePaste},
    {cmd::kDelete, TextId::MENU_DELETE, -1},
    {cmd::kUndo, TextId::MENU_UNDO, -1},
    {cmd::kSelectAll, TextId::MENU_SELECTALL, -1},
};

struct Accelerator {
    QKeyCombination key;
    int id;
};
const Accelerator kAccelerators[] = {
    {Qt::Key_F1, cmd::kHelpContents},
    {Qt::Key_F2, cmd::kEditMode},
    {Qt::Key_F3, cmd::kIgnoreAccents},
    {Qt::Key_F4, cmd::kUseRegex},
    {Qt::Key_F5, cmd::kUseWildcards},
    {Qt::Key_F6, cmd::kCaseSensitive},
    {Qt::Key_F7, cmd::kUseClipboard},
    {Qt::Key_F8, cmd::kChangeDirection},
    {Qt::Key_F9, cmd::kAutotranslate},
    {Qt::Key_F11, cmd::kSpeak},
    {Qt::Key_F12, cmd::kStartTranslation},
    {Qt::Key_Escape, cmd::kLeave},
    {Qt::SHIFT | Qt::Key_Escape, cmd::kLeaveToOther},
    {Qt::CTRL | Qt::Key_A, cmd::kSelectAll},
    {Qt::CTRL | Qt::Key_C, cmd::kCopy},
    {Qt::CTRL | Qt::Key_D, cmd::kPaste},
};

struct MenuTable {
    TextId title;
    const MenuItem* items;
    std::size_t count;
};
template <std::size_t N>
constexpr MenuTable table(TextId title, const MenuItem (&items)[N]) {
    return {title, items, N};
}
const MenuTable kMenus[4] = {
    table(TextId::MENU_DICTIONARY, kDictionaryMenu),
    table(TextId::MENU_FUNCTIONS, kFunctionsMenu),
    table(TextId::MENU_SETTINGS, kSettingsMenu),
    table(TextId::MENU_HELP, kHelpMenu),
};

}  // namespace

MainMenus::MainMenus(WForm* window, ButtonBar* buttons) : m_window(window), m_buttons(buttons) {}

void MainMenus::createMenus() {
    m_menuBar = new QMenuBar(m_window);
    m_menuBar->setObjectName(QStringLiteral("mainMenu"));
    m_window->layout()->setMenuBar(m_menuBar);
    for (int m = 0; m < 4; ++m) {
        m_menus[m] = m_menuBar->addMenu(QString());
        for (std::size_t i = 0; i < kMenus[m].count; ++i) {
            const MenuItem& item = kMenus[m].items[i];
            if (item.id == kSeparator) {
                m_menus[m]->addSeparator();
                continue;
            }
            QAction* action = m_window->addCommand(item.id);
            action->setCheckable(item.checkable);
            action->setObjectName(QStringLiteral("menu%1").arg(item.id));
            m_menus[m]->addAction(action);
        }
        m_window->watchMenu(m_menus[m]);
    }

    m_contextMenu = new QMenu(m_window);
    m_contextMenu->setObjectName(QStringLiteral("contextMenu"));
    const ImageStrip& strip = ImageStrip::standard();
    for (const ContextItem& item : kContextMenu) {
        QAction* action = m_window->addCommand(item.id);
        if (item.image >= 0) action->setIcon(QIcon(strip.image(item.image)));
        m_contextMenu->addAction(action);
    }
}

void MainMenus::createAccelerators() {
    for (const Accelerator& a : kAccelerators) m_window->addAccelerator(QKeySequence(a.key), a.id);
}

void MainMenus::shareAccelerators(QWidget* window) {
    // The keys act in the popup and the tooltip as in the main window (Esc
    // leaves them; copy, paste, select all and speak work on their controls).
    // Each key there passes on to the main window's key of the same command.
    for (const Accelerator& a : kAccelerators) {
        auto* shortcut = new QShortcut(QKeySequence(a.key), window);
        shortcut->setContext(Qt::WindowShortcut);
        for (QShortcut* own : m_window->accelerators(a.id)) {
            if (own->key() == shortcut->key())
                QObject::connect(shortcut, &QShortcut::activated, own, &QShortcut::activated);
        }
    }
}

void MainMenus::retranslate() {
    for (int m = 0; m < 4; ++m) {
        m_menus[m]->setTitle(uiText(kMenus[m].title));
        for (std::size_t i = 0; i < kMenus[m].count; ++i) {
            const MenuItem& item = kMenus[m].items[i];
            if (item.id != kSeparator) m_window->commandAction(item.id)->setText(uiText(item.text));
        }
    }
    for (QAction* action : m_contextMenu->actions()) {
        const int id = action->data().toInt();
        for (const ContextItem& item : kContextMenu) {
            if (item.id == id) action->setText(uiText(item.text));
        }
    }
}

void MainMenus::setEnabled(bool enabled) {
    for (QMenu* menu : m_menus) menu->setEnabled(enabled);
    m_buttons->setEnabled(enabled);
}

void MainMenus::showStates(const States& s) {
    const wordbay::SearchOptions& o = s.options;
    const struct {
        int id;
        bool on;
    } checks[] = {
        {cmd::kDualMode, o.dual_mode},
        {cmd::kLink, o.link},
        {cmd::kMultiple, o.link_all},
        {cmd::kEditMode, s.editMode},
        {cmd::kAlwaysOnTop, s.mainOnTop},
        {cmd::kUseHotKeys, s.useHotKeys},
        {cmd::kActivateSpeechMenu, s.useSpeech},
        {cmd::kAnagrams1, o.anagram_mode == 1},
        {cmd::kAnagrams2, o.anagram_mode == 2},
        {cmd::kAnagrams3, o.anagram_mode == 3},
        {cmd::kIgnoreAccents, o.ignore_accents},
        {cmd::kUseRegex, o.regex},
        {cmd::kUseWildcards, o.wildcards},
        {cmd::kCaseSensitive, o.case_sensitive},
        {cmd::kUseClipboard, o.use_clipboard},
        {cmd::kAutotranslate, o.auto_translate},
    };
    for (const auto& c : checks) {
        m_window->commandAction(c.id)->setChecked(c.on);
        m_buttons->setToggled(c.id, c.on);
    }
    m_buttons->setToggled(cmd::kActivateSpeechButton, s.useSpeech);
    using wordbay::HotKeyTarget;
    m_buttons->setToggled(cmd::kHotKeysCallMain, s.hotKeyTarget == HotKeyTarget::kMainWindow);
    m_buttons->setToggled(cmd::kHotKeysCallPopup, s.hotKeyTarget == HotKeyTarget::kPopup);
    m_buttons->setToggled(cmd::kHotKeysCallTooltip, s.hotKeyTarget == HotKeyTarget::kTooltip);

    const struct {
        int id;
        bool on;
    } enabling[] = {
        {cmd::kAddWord, s.editMode},
        {cmd::kDeleteWord, s.editMode},
        {cmd::kChangeWord, s.editMode},
        {cmd::kDualMode, !s.editMode},
        {cmd::kLoadDual, o.dual_mode},
        {cmd::kLink, o.dual_mode},
        {cmd::kMultiple, o.dual_mode && o.link},
    };
    for (const auto& e : enabling) {
        m_window->commandAction(e.id)->setEnabled(e.on);
        m_buttons->setButtonEnabled(e.id, e.on);
    }
}

void MainMenus::showContextMenu(const QPoint& globalPos, QWidget* source, bool speech) {
    auto* edit = qobject_cast<SearchEdit*>(source);
    auto* list = qobject_cast<WListBox*>(source);
    if (edit == nullptr && list == nullptr) return;
    source->setFocus(Qt::MouseFocusReason);
    for (QAction* action : m_contextMenu->actions()) action->setEnabled(false);
    auto enable = [this](int id, bool on) { m_window->commandAction(id)->setEnabled(on); };
    enable(cmd::kSpeak, speech);
    enable(cmd::kStopSpeaking, speech);
    if (edit != nullptr) {
        const bool hasText = !edit->text().isEmpty();
        const bool selection = edit->hasSelectedText();
        const QMimeData* clip = QApplication::clipboard()->mimeData();
        enable(cmd::kContextPaste, clip != nullptr && clip->hasText());
        enable(cmd::kUndo, edit->isUndoAvailable());
        enable(cmd::kCut, hasText && selection);
        enable(cmd::kContextCopy, hasText && selection);
        enable(cmd::kDropWord, hasText && selection);
        enable(cmd::kDelete, hasText);
        enable(cmd::kSelectAll, hasText);
    } else {
        const int row = list->rowAt(list->viewport()->mapFromGlobal(globalPos));
        if (row >= 0 && !list->isSelectAll()) list->setCurSel(row);
        const bool selection = list->curSel() >= 0 || list->isSelectAll();
        enable(cmd::kSelectAll, list->count() > 0);
        enable(cmd::kContextCopy, selection);
        enable(cmd::kDropWord, selection);
    }
    m_contextMenu->exec(globalPos);
    // The menu items are also reached by accelerators, which must work again.
    for (QAction* action : m_contextMenu->actions()) action->setEnabled(true);
}
