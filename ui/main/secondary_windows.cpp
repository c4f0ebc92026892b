#include "ui/main/secondary_windows.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <algorithm>

#include "app/hot_key_table.h"
#include "app/message_table.h"
#include "app/search_controller.h"
#include "app/settings_file.h"
#include "platform/locale.h"
#include "ui/main/command_ids.h"
#include "ui/main/dictionary_pane.h"
#include "ui/main/main_speech.h"
#include "ui/main/qt_font_catalog.h"
#include "ui/main/search_edit.h"
#include "ui/main/suggestion_menu.h"
#include "ui/main/worker_updates.h"
#include "ui/popup/popup_form.h"
#include "ui/popup/tooltip_form.h"
#include "ui/popup/word_forms_label.h"
#include "ui/settings/charmap_form.h"
#include "ui/settings/popup_looks_page.h"
#include "ui/settings/view_ids.h"
#include "ui/text/text_window.h"
#include "ui/widgets/code_page_text.h"
#include "ui/widgets/colors.h"
#include "ui/widgets/ui_text.h"
#include "ui/widgets/w_list_box.h"

using wordbay::HotKeyTarget;
using wordbay::ListSide;
using wordbay::SlotId;
using wordbay::TextId;
using wordbay::ViewColor;
using wordbay::ViewFlag;
using wordbay::ViewFont;

namespace {

wordbay::ScreenMetrics screenMetrics() {
    wordbay::ScreenMetrics metrics;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        metrics.full_width = screen->availableGeometry().width();
        metrics.full_height = screen->availableGeometry().height();
        metrics.max_track_width = screen->virtualSize().width();
        metrics.max_track_height = screen->virtualSize().height();
    }
    return metrics;
}

QColor toColor(std::uint32_t bgr) { return colorFromSetting(bgr); }

std::uint32_t toBgr(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue()) << 16;
}

}  // namespace

// ---- Creation and destruction ------------------------------------------------

SecondaryWindows::SecondaryWindows(QWidget* mainWindow, wordbay::ProgramSettings* settings,
                                   std::string settingsFile, DictionaryPane* mainPane,
                                   DictionaryPane* dualPane, wordbay::SearchController* controller,
                                   const QtFontCatalog* fonts, Hooks hooks)
    : m_mainWindow(mainWindow)
    , m_settings(settings)
    , m_settingsFile(std::move(settingsFile))
    , m_panes{mainPane, dualPane}
    , m_controller(controller)
    , m_fonts(fonts)
    , m_hooks(std::move(hooks)) {}

SecondaryWindows::~SecondaryWindows() = default;

bool SecondaryWindows::mainLoaded() const {
    // While the dictionary loads at start, its image answers in its looks.
    return m_controller->slot(SlotId::kMain).loaded() ||
           m_controller->searches().previewing_from_image();
}

void SecondaryWindows::create() {
    const wordbay::ScreenMetrics metrics = screenMetrics();
    const wordbay::SettingsFile file(m_settingsFile);

    m_textWindow = std::make_unique<TextWindow>(m_settings);
    m_textWindow->setDictionaryProvider([this] { return textDictionaries(); });
    m_textWindow->createWindow();
    if (m_settings->text_right > m_settings->text_left &&
        m_settings->text_bottom > m_settings->text_top) {
        // Placed by its frame, as the main window: at the stored 0,0 the
        // title bar stays on the screen.
        m_textWindow->resize(m_settings->text_right - m_settings->text_left,
                             m_settings->text_bottom - m_settings->text_top);
        m_textWindow->move(m_settings->text_left, m_settings->text_top);
    }
    const wordbay::SearchOptions o = m_controller->settings().options();
    m_textWindow->setSwitches(o.case_sensitive, o.ignore_accents);
    if (m_settings->show_text) m_textWindow->show();

    m_popup = std::make_unique<PopupForm>(m_settings);
    m_popup->createWindow();
    m_popup->placeFrom(wordbay::ReadPopupPlace(file, metrics), metrics);
    m_popup->setTypingHandler([this](const QString& typed) { popupTyped(typed); });
    if (m_hooks.popupMade) m_hooks.popupMade(m_popup.get());

    m_tooltip = std::make_unique<PopupTooltipForm>(m_settings);
    m_tooltip->createWindow();
    m_tooltip->placeFrom(wordbay::ReadTooltipPlace(file, metrics));
    m_hooks.shareKeys(m_popup.get());
    m_hooks.shareKeys(m_tooltip.get());

    m_charmap = std::make_unique<CharmapForm>();
    m_charmap->createWindow();
    m_charmap->setEditFilter([this](QWidget* w) {
        if (w == nullptr) return false;
        for (DictionaryPane* p : m_panes) {
            if (p->sideOf(w) >= 0 && qobject_cast<QLineEdit*>(w) != nullptr) return true;
        }
        return w == static_cast<QWidget*>(m_popup->edit()) ||
               w == static_cast<QWidget*>(m_textWindow->sourcePane()) ||
               w == static_cast<QWidget*>(m_textWindow->targetPane()) ||
               w == static_cast<QWidget*>(m_textWindow->phraseBox());
    });
    m_charmap->setFallbackEdit(
        [this]() -> QWidget* { return m_panes[0]->edit(m_panes[0]->sourceSide()); });
    m_charmap->setActivateMain([this] { m_hooks.bringMainToFront(); });

    // While the dictionary loads at start they take its name and looks, once
    // the main window shows (the character map's part takes a few ms).
    if (mainLoaded()) {
        QMetaObject::invokeMethod(
            m_mainWindow,
            [this] {
                setTitles(m_controller->Titles());
                applyLooks();
            },
            Qt::QueuedConnection);
    }
    // A window kept on top that the hot key calls shows at once.
    if (m_settings->popup_on_top && m_settings->hot_key_target == HotKeyTarget::kPopup)
        m_popup->showPopup(true);
    if (m_settings->tooltip_on_top && m_settings->hot_key_target == HotKeyTarget::kTooltip)
        m_tooltip->showTooltip(true);
}

void SecondaryWindows::destroy(const wordbay::SettingsFile* settings) {
    if (m_textWindow) {
        // The frame's corner and the inner size: what is read back at the
        // next start, so that the window neither creeps nor grows.
        m_settings->text_left = m_textWindow->x();
        m_settings->text_top = m_textWindow->y();
        m_settings->text_right = m_textWindow->x() + m_textWindow->width();
        m_settings->text_bottom = m_textWindow->y() + m_textWindow->height();
        m_textWindow.reset();  // stops a running translation first
    }
    const wordbay::SettingsFile own(m_settingsFile);
    const wordbay::SettingsFile& file = settings != nullptr ? *settings : own;
    if (m_popup) {
        wordbay::WritePopupPlace(file, m_popup->place());
        m_popup.reset();
    }
    if (m_tooltip) {
        wordbay::WriteTooltipPlace(file, m_tooltip->place());
        m_tooltip.reset();
    }
    m_charmap.reset();
}

// ---- Text translation ----------------------------------------------------------

wordbay::TextDictionaries SecondaryWindows::textDictionaries() {
    // A change of the dictionaries under way makes the start a no-op the
    // user can repeat.
    wordbay::TextDictionaries d = m_controller->TextRun();
    if (d.busy) QApplication::beep();
    return d;
}

void SecondaryWindows::showTextWindow() {
    if (!m_textWindow) return;
    if (m_textWindow->isMinimized()) {
        m_textWindow->showNormal();
    } else {
        m_textWindow->show();
    }
    m_textWindow->raise();
    m_textWindow->activateWindow();
}

// ---- Popup and tooltip ---------------------------------------------------------

void SecondaryWindows::setTitles(const wordbay::WindowTitles& titles) {
    if (m_textWindow) m_textWindow->setWindowTitle(QString::fromStdString(titles.text_window));
    const QString caption = QString::fromStdString(titles.popup);
    if (m_popup) m_popup->setWindowTitle(caption);
    if (m_tooltip) m_tooltip->setCaption(caption);
}

void SecondaryWindows::applyLooks() {
    if (!m_popup || !m_tooltip || !mainLoaded()) return;
    const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
    const wordbay::DictionarySettings settings = main.settings();
    const wordbay::ViewSettings& view = settings.view;
    const PopupViewKeys k = popupViewKeys(main.primary_to_secondary());

    PopupLook popup;
    popup.edit_font = fontFromSetting(view.font(k.popupEditFont));
    popup.edit_text = toColor(view.font(k.popupEditFont).color);
    popup.edit_background = toColor(view.color(k.popupEditBackground));
    popup.list_font = fontFromSetting(view.font(k.popupListFont));
    popup.list_text = toColor(view.font(k.popupListFont).color);
    popup.row_even = toColor(view.color(k.popupListColors[0]));
    popup.row_odd = toColor(view.color(k.popupListColors[1]));
    popup.selected_background = toColor(view.color(k.popupListColors[2]));
    popup.selected_text = toColor(view.color(k.popupListColors[3]));
    popup.system_colors = view.flag(ViewFlag::kPopupUseSystemColors);
    m_popup->applyLook(popup);
    const wordbay::SearchOptions o = m_controller->settings().options();
    const wordbay::DictionarySlot& shown =
        o.dual_mode && o.link && m_controller->slot(SlotId::kDual).loaded()
            ? m_controller->slot(SlotId::kDual)
            : main;
    m_popup->edit()->setCodePage(main.CodePage(main.source_side()));
    m_popup->list()->setCodePage(shown.CodePage(shown.target_side()));

    TooltipLook tooltip;
    tooltip.word_font = fontFromSetting(view.font(k.tooltipWordFont));
    tooltip.translation_font = fontFromSetting(view.font(k.tooltipTranslationFont));
    tooltip.word_color = toColor(view.font(k.tooltipWordFont).color);
    tooltip.translation_color = toColor(view.font(k.tooltipTranslationFont).color);
    tooltip.active_background = toColor(view.color(k.tooltipActiveBackground));
    tooltip.inactive_background = toColor(view.color(k.tooltipInactiveBackground));
    tooltip.inactive_text = toColor(view.color(k.tooltipInactiveText));
    tooltip.use_pattern = view.flag(ViewFlag::kTooltipUsePattern);
    tooltip.pattern_index = view.tooltip_pattern_index;
    tooltip.system_colors = view.flag(ViewFlag::kTooltipUseSystemColors);
    m_tooltip->applyLook(tooltip);

    const DICTIONARY_INFO info = main.info_snapshot();
    if (m_charmap) {
        m_charmap->setListLocales(info.primary_locale, info.secondary_locale);
        m_charmap->setListCharsets(info.primary_charset, info.secondary_charset);
    }
}

void SecondaryWindows::showHotKeyWindow() {
    // With the main window always on top the hot key never calls the others.
    if (m_settings->main_on_top) return;
    if (m_settings->hot_key_target == HotKeyTarget::kPopup && m_popup) m_popup->showPopup(true);
    if (m_settings->hot_key_target == HotKeyTarget::kTooltip && m_tooltip)
        m_tooltip->showTooltip(true);
}

void SecondaryWindows::listenTo(HotKeySignals* hotKey, WordFormSignals* wordForms) {
    QObject::connect(hotKey, &HotKeySignals::hotKeyTextShown, m_mainWindow,
                     [this](const std::string& text) { showHotKeyText(text); });
    QObject::connect(hotKey, &HotKeySignals::hotKeyListShown, m_mainWindow,
                     [this](const wordbay::WordList& words) { showHotKeyList(words); });
    QObject::connect(hotKey, &HotKeySignals::hotKeyCleared, m_mainWindow,
                     [this] { clearHotKeyWindow(); });
    QObject::connect(wordForms, &WordFormSignals::wordFormsShown, m_mainWindow,
                     [this](const wordbay::WordFormsNote& note) { showWordForms(note); });
}

void SecondaryWindows::showHotKeyText(const std::string& word) {
    if (!m_popup || !m_tooltip || !mainLoaded()) return;
    const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
    const std::uint32_t page = main.CodePage(main.source_side());
    if (m_settings->hot_key_target == HotKeyTarget::kPopup) {
        // What the user is typing into the popup stays as it is.
        if (!m_popupOrigin) {
            m_popup->edit()->setCodePage(page);
            m_popup->edit()->setProgramEncodedText(word);
        }
    } else if (m_settings->hot_key_target == HotKeyTarget::kTooltip) {
        m_tooltip->setWord(decodeText(page, word));
    }
    if (!m_popupOrigin) showHotKeyWindow();
}

void SecondaryWindows::showHotKeyList(const wordbay::WordList& words) {
    if (!m_popup || !m_tooltip || !mainLoaded()) return;
    const wordbay::SearchOptions o = m_controller->settings().options();
    const bool linked = o.dual_mode && o.link && m_controller->slot(SlotId::kDual).loaded();
    const wordbay::DictionarySlot& shown =
        m_controller->slot(linked ? SlotId::kDual : SlotId::kMain);
    const std::uint32_t page = shown.CodePage(shown.target_side());
    const int n = words.count();
    if (m_settings->hot_key_target == HotKeyTarget::kPopup) {
        m_popup->list()->setCodePage(page);
        m_popup->list()->setWords(words);
        m_popup->setStatusText(
            QStringLiteral("%1: %2")
                .arg(QString::fromStdString(shown.ListNameUtf8(shown.target_side())))
                .arg(n));
    } else if (m_settings->hot_key_target == HotKeyTarget::kTooltip) {
        QStringList lines = m_wordFormLines;
        for (int i = 0; i < n && lines.size() < PopupTooltipForm::kMaxLines; ++i) {
            lines << (words[i] != nullptr ? decodeText(page, words[i]) : QString());
        }
        m_tooltip->setTranslations(lines);
    }
    if (!m_popupOrigin) showHotKeyWindow();
    m_popupOrigin = false;
}

void SecondaryWindows::showWordForms(const wordbay::WordFormsNote& note) {
    if (!m_popup || !m_tooltip) return;
    if (!note.hot_key) {
        if (note.suggestions.empty()) return;
        QStringList words;
        for (const std::string& w : note.suggestions) words << QString::fromStdString(w);
        showSuggestionMenu(m_panes[0]->edit(m_panes[0]->sourceSide()), words);
        return;
    }
    m_wordFormLines = wordFormsLines(note);
    if (m_settings->hot_key_target == HotKeyTarget::kPopup) {
        m_popup->setWordFormsNote(note);
    } else if (m_settings->hot_key_target == HotKeyTarget::kTooltip && !note.suggestions.empty()) {
        // No translation list follows a word found neither way.
        m_tooltip->setTranslations(m_wordFormLines);
    }
}

void SecondaryWindows::clearHotKeyWindow() {
    if (!m_popup || !m_tooltip) return;
    m_wordFormLines.clear();
    m_popup->setWordFormsNote({});
    if (m_settings->hot_key_target == HotKeyTarget::kPopup) {
        if (!m_popupOrigin) m_popup->edit()->setProgramText(QString());
        m_popup->list()->setWords({});
        m_popup->setStatusText(QString());
    } else if (m_settings->hot_key_target == HotKeyTarget::kTooltip) {
        m_tooltip->setWord(QString());
        m_tooltip->clearTranslations();
    }
}

void SecondaryWindows::popupTyped(const QString& typed) {
    if (!mainLoaded() || m_hooks.editMode()) return;
    // The popup becomes the origin of the search: its own text stays, and
    // the results come back into its list.
    m_popupOrigin = true;
    m_controller->settings().SetHotKeyPending(true);
    SearchEdit* edit = m_panes[0]->edit(m_panes[0]->sourceSide());
    edit->setText(typed);
}

void SecondaryWindows::setPopupOnTop(bool on) {
    m_settings->popup_on_top = on;
    if (on) {
        m_hooks.mainLeavesTop();
        if (m_settings->hot_key_target != HotKeyTarget::kTooltip) m_tooltip->hide();
        m_popup->applyOnTop();
        if (m_settings->hot_key_target == HotKeyTarget::kPopup) m_popup->showPopup(true);
    } else {
        m_popup->applyOnTop();
        m_popup->hide();
    }
    m_hooks.statesChanged();
}

void SecondaryWindows::setTooltipOnTop(bool on) {
    m_settings->tooltip_on_top = on;
    if (on) {
        m_hooks.mainLeavesTop();
        if (m_settings->hot_key_target != HotKeyTarget::kPopup) m_popup->hide();
        m_tooltip->applyOnTop();
        if (m_settings->hot_key_target == HotKeyTarget::kTooltip) m_tooltip->showTooltip(true);
    } else {
        m_tooltip->applyOnTop();
        m_tooltip->hide();
    }
    m_hooks.statesChanged();
}

// ---- Character map and looks -------------------------------------------------

void SecondaryWindows::showCharmap() {
    if (!m_charmap) return;
    m_charmap->show();
    m_charmap->raise();
    m_charmap->activateWindow();
}

void SecondaryWindows::changeView(int id, qintptr param) {
    if (!mainLoaded()) {
        QApplication::beep();
        return;
    }
    // A request that loads a dictionary reads its settings meanwhile.
    if (m_controller->busy()) {
        QApplication::beep();
        return;
    }
    const wordbay::DictionarySlot& main = m_controller->slot(SlotId::kMain);
    const std::optional<ViewTarget> target = viewTarget(id, main.primary_to_secondary());
    if (!target) return;
    wordbay::DictionarySettings settings = main.settings();
    wordbay::ViewSettings& view = settings.view;
    const DICTIONARY_INFO info = main.info_snapshot();
    switch (target->kind) {
        case ViewTarget::kFont: {
            wordbay::FontSetting& setting = view.font(target->font);
            bool ok = false;
            const QFont font = QFontDialog::getFont(&ok, fontFromSetting(setting), m_mainWindow,
                                                    uiText(TextId::MSG_FONT));
            if (!ok) return;
            const QColor color = QColorDialog::getColor(toColor(setting.color), m_mainWindow,
                                                        uiText(TextId::MSG_FONT));
            setting.face = font.family().toStdString();
            setting.size = font.pointSize() > 0 ? font.pointSize() : setting.size;
            setting.weight = font.bold() ? 700 : 400;
            setting.italic = font.italic();
            setting.underline = font.underline();
            setting.strikeout = font.strikeOut();
            if (color.isValid()) setting.color = toBgr(color);
            break;
        }
        case ViewTarget::kColor: {
            const QColor color =
                QColorDialog::getColor(toColor(view.color(target->color)), m_mainWindow, QString());
            if (!color.isValid()) return;
            view.color(target->color) = toBgr(color);
            // The popup's list colours go to the dual dictionary too.
            if (id >= cmd::kPopupListColorFirst && id <= cmd::kPopupListColorLast &&
                m_controller->slot(SlotId::kDual).loaded()) {
                const wordbay::ViewColor changed = target->color;
                const std::uint32_t value = toBgr(color);
                m_controller->ChangeSlotSettings(
                    SlotId::kDual, [changed, value](wordbay::DictionarySettings& dual) {
                        dual.view.color(changed) = value;
                    });
            }
            break;
        }
        case ViewTarget::kReset:
            wordbay::ResetViewGroup(&view, target->group,
                                    {info.primary_charset, info.secondary_charset}, *m_fonts);
            if (target->group == wordbay::ViewGroup::kTooltip) {
                view.flag(ViewFlag::kTooltipUsePattern) = false;
                view.tooltip_pattern_index = 0;
            }
            break;
        case ViewTarget::kFlag:
            view.flag(target->flag) = !view.flag(target->flag);
            break;
        case ViewTarget::kPattern:
            view.tooltip_pattern_index =
                std::clamp(static_cast<int>(param), 0, wordbay::kMaxTooltipPattern);
            break;
    }
    m_controller->ChangeSlotSettings(
        SlotId::kMain, [&view](wordbay::DictionarySettings& changed) { changed.view = view; });
    m_panes[0]->applyView(view);
    applyLooks();
}
