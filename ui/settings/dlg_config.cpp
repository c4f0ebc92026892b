#include "ui/settings/dlg_config.h"

#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/hot_key_table.h"
#include "app/program_settings.h"
#include "ui/settings/config_ids.h"
#include "ui/settings/word_forms_group.h"

using wordbay::TextId;
using namespace config_command;

namespace {

// The last row of the key table; every row from 1 (from 0 for the third
// key) up to it is offered and so is a valid stored key.
constexpr int kLastKey = static_cast<int>(wordbay::HotKeyTable.size()) - 1;

const char* keyName(int row) { return wordbay::HotKeyTable[row].name; }

// Which of the three keys a key list chooses.
int keyNumber(int id) { return id == kKey1 ? 1 : id == kKey2 ? 2 : 3; }

}  // namespace

DlgConfig::DlgConfig(const SettingsContext& context, SettingsTarget* target, QWidget* parent)
    : SettingsPage(context, target, parent) {
    setObjectName("DlgConfig");
    createControls();
    connectControls();
    checkStoredKeys();
}

DlgConfig::~DlgConfig() = default;

// A stored key the table does not have (a hand-edited file) goes back to its
// default, and the main window hears of it so that the hook uses the keys the
// page shows.
void DlgConfig::checkStoredKeys() {
    wordbay::ProgramSettings* s = context().program;
    if (s == nullptr) return;
    const struct {
        int id;
        int* key;
        int first;
        int fallback;
    } keys[] = {{kKey1, &s->key1, 1, 1}, {kKey2, &s->key2, 1, 3}, {kKey3, &s->key3, 0, 0}};
    for (const auto& k : keys) {
        if (*k.key >= k.first && *k.key <= kLastKey) continue;
        *k.key = k.fallback;
        auto* combo = itemAs<PageCombo>(k.id);
        combo->setCurrentIndex(k.fallback - k.first);
        if (target() != nullptr) target()->hotKeyChosen(keyNumber(k.id), keyName(k.fallback));
    }
}

void DlgConfig::createControls() {
    static const wordbay::ProgramSettings kDefaults;
    const wordbay::ProgramSettings& s =
        context().program != nullptr ? *context().program : kDefaults;
    auto* layout = new QVBoxLayout(this);

    auto* keys = addGroup(this, kHotKeysGroup, uiText(TextId::MSG_HOT_KEYS));
    auto* keysLayout = new QGridLayout(keys);
    keysLayout->addWidget(addCheck(keys, kUseHotKeys, TextId::MSG_USE_HOTKEYS, s.use_hot_keys), 0,
                          0, 1, 3);
    PageCombo* combos[3] = {addCombo(keys, kKey1), addCombo(keys, kKey2), addCombo(keys, kKey3)};
    combos[2]->addItem(QString());
    for (int row = 1; row <= kLastKey; ++row) {
        const QString name = QString::fromLatin1(wordbay::HotKeyTable[row].name);
        for (PageCombo* combo : combos) combo->addItem(name);
    }
    // A key outside the table selects nothing here; checkStoredKeys() fixes it.
    combos[0]->setCurrentIndex(s.key1 - 1 < combos[0]->count() ? s.key1 - 1 : -1);
    combos[1]->setCurrentIndex(s.key2 - 1 < combos[1]->count() ? s.key2 - 1 : -1);
    combos[2]->setCurrentIndex(s.key3 < combos[2]->count() ? s.key3 : -1);
    for (int i = 0; i < 3; ++i) keysLayout->addWidget(combos[i], 1, i);
    if (!context().hotKeyNote.empty()) {
        auto* note = new QLabel(QString::fromStdString(context().hotKeyNote), keys);
        note->setObjectName(QStringLiteral("hotKeyNote"));
        note->setWordWrap(true);
        note->setTextInteractionFlags(Qt::TextSelectableByMouse);
        keysLayout->addWidget(note, 2, 0, 1, 3);
    }
    layout->addWidget(keys);

    auto* activate = addGroup(this, kActivateGroup, uiText(TextId::MSG_HOT_KEYS_ACTIVATE));
    auto* activateLayout = new QHBoxLayout(activate);
    activateLayout->addWidget(addRadio(activate, kCallMain, TextId::MSG_MAIN_WINDOW,
                                       s.hot_key_target == wordbay::HotKeyTarget::kMainWindow));
    activateLayout->addWidget(addRadio(activate, kCallPopup, TextId::MSG_POPUP_WINDOW,
                                       s.hot_key_target == wordbay::HotKeyTarget::kPopup));
    activateLayout->addWidget(addRadio(activate, kCallTooltip, TextId::MSG_TOOLTIP_WINDOW,
                                       s.hot_key_target == wordbay::HotKeyTarget::kTooltip));
    layout->addWidget(activate);

    auto* options = addGroup(this, kInterfaceGroup, uiText(TextId::MSG_INTERFACE));
    auto* optionsLayout = new QVBoxLayout(options);
    const struct {
        int id;
        TextId label;
        bool ticked;
    } boxes[] = {{kMinimizeToTray, TextId::MSG_MINIMIZE_TO_TRAY, s.minimize_to_tray},
                 {kMainOnTop, TextId::MSG_MAIN_WINDOW_ON_TOP, s.main_on_top},
                 {kPopupOnTop, TextId::MSG_POPUP_WINDOW_ON_TOP, s.popup_on_top},
                 {kTooltipOnTop, TextId::MSG_TOOLTIP_WINDOW_ON_TOP, s.tooltip_on_top},
                 {kShowSplash, TextId::MSG_SHOW_SPLASH_MESSAGE, s.show_splash},
                 {kSnapPopup, TextId::MSG_SNAP_POPUP_WINDOW, s.popup_to_cursor},
                 {kSnapTooltip, TextId::MSG_SNAP_TOOLTIP_WINDOW, s.tooltip_to_cursor}};
    for (const auto& b : boxes)
        optionsLayout->addWidget(addCheck(options, b.id, b.label, b.ticked));
    // The history's size is read when the dialog closes.
    auto* historyRow = new QHBoxLayout;
    auto* historyLabel = new QLabel(uiText(TextId::MSG_HISTORY_SIZE), options);
    auto* historySize = new QSpinBox(options);
    historySize->setObjectName(QStringLiteral("historySize"));
    historySize->setRange(0, wordbay::HistorySizeLimit());
    historySize->setSingleStep(100);
    historySize->setValue(s.history_size);
    historyLabel->setBuddy(historySize);
    connect(historySize, &QSpinBox::valueChanged, this, [this](int size) {
        if (context().program != nullptr) context().program->history_size = size;
    });
    historyRow->addWidget(historyLabel, 1);
    historyRow->addWidget(historySize);
    optionsLayout->addLayout(historyRow);
    layout->addWidget(options);
    layout->addWidget(createWordFormsGroup(this, context().wordForms));
    layout->addStretch(1);

    enableKeyChoices(s.use_hot_keys);
    enableOnTopBoxes();
}

void DlgConfig::enableKeyChoices(bool on) {
    for (const int id : {kKey1, kKey2, kKey3}) item(id)->setEnabled(on);
}

// Only the window the hot keys call may be put on top from here.
void DlgConfig::enableOnTopBoxes() {
    item(kMainOnTop)->setEnabled(isChecked(kCallMain));
    item(kPopupOnTop)->setEnabled(isChecked(kCallPopup));
    item(kTooltipOnTop)->setEnabled(isChecked(kCallTooltip));
}

void DlgConfig::setChecked(int id, bool on) {
    if (auto* button = itemAs<QAbstractButton>(id)) button->setChecked(on);
}

bool DlgConfig::isChecked(int id) const {
    const auto* button = itemAs<QAbstractButton>(id);
    return button != nullptr && button->isChecked();
}

// What each control of the page does before (or instead of) telling the
// main window. The group boxes do nothing.
void DlgConfig::connectControls() {
    using wordbay::HotKeyTarget;
    const auto clicked = [this](int id, auto slot) {
        connect(itemAs<QAbstractButton>(id), &QAbstractButton::clicked, this, slot);
    };
    const std::pair<int, InterfaceOption> snaps[] = {
        {kMinimizeToTray, InterfaceOption::kMinimizeToTray},
        {kSnapPopup, InterfaceOption::kSnapPopup},
        {kSnapTooltip, InterfaceOption::kSnapTooltip}};
    for (const auto& [id, option] : snaps)
        clicked(id, [this, option = option] { toggled(option); });
    clicked(kUseHotKeys, [this] {
        enableKeyChoices(isChecked(kUseHotKeys));
        if (target() != nullptr) target()->hotKeysSwitched();
    });
    for (const int id : {kKey1, kKey2, kKey3}) {
        connect(itemAs<PageCombo>(id), &QComboBox::activated, this,
                [this, id](int row) { keyChosen(id, row); });
    }
    const std::pair<int, HotKeyTarget> targets[] = {{kCallMain, HotKeyTarget::kMainWindow},
                                                    {kCallPopup, HotKeyTarget::kPopup},
                                                    {kCallTooltip, HotKeyTarget::kTooltip}};
    for (const auto& [id, called] : targets) {
        clicked(id, [this, called = called] {
            if (target() != nullptr) target()->hotKeyTargetChosen(called);
            enableOnTopBoxes();
        });
    }
    clicked(kMainOnTop, [this] {
        if (!isChecked(kMainOnTop) || mainOnTopTicked()) toggled(InterfaceOption::kMainOnTop);
    });
    const std::pair<int, InterfaceOption> onTop[] = {
        {kPopupOnTop, InterfaceOption::kPopupOnTop},
        {kTooltipOnTop, InterfaceOption::kTooltipOnTop}};
    for (const auto& [id, option] : onTop) {
        clicked(id, [this, id = id, option = option] {
            wordbay::ProgramSettings* s = context().program;
            if (isChecked(id) && s != nullptr) {
                s->main_on_top = false;
                setChecked(kMainOnTop, false);
            }
            toggled(option);
        });
    }
    clicked(kShowSplash, [this] { splashToggled(); });
}

void DlgConfig::toggled(InterfaceOption option) {
    if (target() != nullptr) target()->interfaceOptionToggled(option);
}

void DlgConfig::keyChosen(int id, int row) {
    wordbay::ProgramSettings* s = context().program;
    if (row < 0 || s == nullptr) return;
    // The third list starts with an empty row for "no key"; the others
    // start at the table's first key.
    const int key = id == kKey3 ? row : row + 1;
    if (key > kLastKey) return;
    if (id == kKey1) s->key1 = key;
    if (id == kKey2) s->key2 = key;
    if (id == kKey3) s->key3 = key;
    if (target() != nullptr) target()->hotKeyChosen(keyNumber(id), keyName(key));
}

// Asks before the main window goes on top of everything; true when the user
// agreed (popup and tooltip on top are then off).
bool DlgConfig::mainOnTopTicked() {
    const int answer = askUser(this, TextId::MSG_MAIN_WINDOW_ALWAYS_ON_TOP_WARNING,
                               TextId::MSG_WARNING, kMbYesNoCancel | kMbIconQuestion);
    if (answer != kIdYes) {
        setChecked(kMainOnTop, false);
        return false;
    }
    if (wordbay::ProgramSettings* s = context().program) {
        s->popup_on_top = false;
        s->tooltip_on_top = false;
    }
    setChecked(kPopupOnTop, false);
    setChecked(kTooltipOnTop, false);
    return true;
}

// Ticking the box asks whether the start-up message is to be shown and keeps
// the answer; unticking it turns the message off.
void DlgConfig::splashToggled() {
    wordbay::ProgramSettings* s = context().program;
    bool show = false;
    if (isChecked(kShowSplash)) {
        show = askUser(this, TextId::MSG_SPLASH, TextId::MSG_SPLASH_CAPTION,
                       kMbYesNo | kMbIconInformation) == kIdYes;
        setChecked(kShowSplash, show);
    }
    if (s != nullptr) s->show_splash = show;
}
