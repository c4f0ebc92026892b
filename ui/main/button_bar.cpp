#include "ui/main/button_bar.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/message_table.h"
#include "ui/main/command_ids.h"
#include "ui/widgets/image_strip.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_tip_manager.h"

using wordbay::TextId;

namespace {

struct ButtonRow {
    int id;
    WImageButton::Kind kind;
    int image;
    TextId tip;
};

constexpr int kWideButtonWidth = 110;
constexpr auto kPush = WImageButton::Kind::kPush;
constexpr auto kToggle = WImageButton::Kind::kToggle;

constexpr ButtonRow kFirstRow[] = {
    {cmd::kChange, kPush, kImageChangeDictionary, TextId::TOOLTIP_CHANGE},
    {cmd::kCreateNew, kPush, kImageCreateNew, TextId::TOOLTIP_CREATE_NEW},
    {cmd::kImport, kPush, kImageImport, TextId::TOOLTIP_IMPORT},
    {cmd::kExport, kPush, kImageExport, TextId::TOOLTIP_EXPORT},
    {cmd::kUpdate, kPush, kImageUpdate, TextId::TOOLTIP_UPDATE},
    {cmd::kSave, kPush, kImageSave, TextId::TOOLTIP_SAVE},
    {cmd::kSaveAs, kPush, kImageSaveAs, TextId::TOOLTIP_SAVE_AS},
    {cmd::kCopy, kPush, kImageCopy, TextId::TOOLTIP_COPY},
    {cmd::kPaste, kPush, kImagePaste, TextId::TOOLTIP_PASTE},
    {cmd::kUseHotKeys, kToggle, kImageHotKeys, TextId::TOOLTIP_USE_HOTKEYS},
    {cmd::kHotKeysCallMain, kToggle, kImageMainWindow, TextId::TOOLTIP_MAIN_WINDOW},
    {cmd::kHotKeysCallPopup, kToggle, kImagePopupWindow, TextId::TOOLTIP_POPUP_WINDOW},
    {cmd::kHotKeysCallTooltip, kToggle, kImageTooltipWindow, TextId::TOOLTIP_TOOLTIP_WINDOW},
    {cmd::kActivateSpeechButton, kToggle, kImageSpeak, TextId::TOOLTIP_ACTIVATE_SPEECH},
    {cmd::kEditMode, kToggle, kImageEdit, TextId::TOOLTIP_EDIT},
    {cmd::kAddWord, kPush, kImageAddWord, TextId::TOOLTIP_ADD_WORD},
    {cmd::kDeleteWord, kPush, kImageDeleteWord, TextId::TOOLTIP_DELETE_WORD},
    {cmd::kChangeWord, kPush, kImageChangeWord, TextId::TOOLTIP_CHANGE_WORD},
    {cmd::kHelpContents, kPush, kImageHelp, TextId::TOOLTIP_HELP},
    {cmd::kExit, kPush, kImageExit, TextId::TOOLTIP_EXIT},
};

constexpr ButtonRow kSecondRow[] = {
    {cmd::kDictionaryInfo, kPush, kImageDictionaryInfo, TextId::TOOLTIP_DICTIONARY_INFO},
    {cmd::kTranslateText, kPush, kImageTranslateText, TextId::TOOLTIP_TRANSLATE_TEXT},
    {cmd::kUseWildcards, kToggle, kImageWildcards, TextId::TOOLTIP_USE_WILDCARDS},
    {cmd::kUseRegex, kToggle, kImageRegex, TextId::TOOLTIP_USE_REGEX},
    {cmd::kCaseSensitive, kToggle, kImageCaseSensitive, TextId::TOOLTIP_CASE_SENSITIVE},
    {cmd::kIgnoreAccents, kToggle, kImageIgnoreAccents, TextId::TOOLTIP_IGNORE_ACCENTS},
    {cmd::kAnagrams1, kToggle, kImageAnagrams1, TextId::TOOLTIP_ANAGRAMS_1},
    {cmd::kAnagrams2, kToggle, kImageAnagrams2, TextId::TOOLTIP_ANAGRAMS_2},
    {cmd::kAnagrams3, kToggle, kImageAnagrams3, TextId::TOOLTIP_ANAGRAMS_3},
    {cmd::kUseClipboard, kToggle, kImageUseClipboard, TextId::TOOLTIP_USE_CLIPBOARD},
    {cmd::kAutotranslate, kToggle, kImageAutotranslate, TextId::TOOLTIP_AUTOTRANSLATE},
    {cmd::kDualMode, kToggle, kImageDualMode, TextId::TOOLTIP_DUAL_MODE},
    {cmd::kLoadDual, kPush, kImageLoadDual, TextId::TOOLTIP_LOAD_DUAL},
    {cmd::kLink, kToggle, kImageLink, TextId::TOOLTIP_LINK},
    {cmd::kMultiple, kToggle, kImageMultiple, TextId::TOOLTIP_MULTIPLE},
    {cmd::kListPalindrome, kPush, kImagePalindrome, TextId::TOOLTIP_LIST_PALINDROME},
    {cmd::kListIdentical, kPush, kImageIdentical, TextId::TOOLTIP_LIST_IDENTICAL},
    {cmd::kAlwaysOnTop, kToggle, kImageAlwaysOnTop, TextId::TOOLTIP_ALWAYS_ON_TOP},
    {cmd::kSettings, kPush, kImageSettings, TextId::TOOLTIP_SETTINGS},
    {cmd::kCharmap, kPush, kImageCharmap, TextId::TOOLTIP_CHARMAP},
};

template <std::size_t N>
const ButtonRow* findRow(const ButtonRow (&rows)[N], int id) {
    for (const ButtonRow& row : rows) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

}  // namespace

ButtonBar::ButtonBar(QWidget* parent, WTipManager* tips) : QWidget(parent), m_tips(tips) {
    setObjectName(QStringLiteral("buttonBar"));
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(1);
    auto addRow = [this, rows](const auto& table) {
        auto* line = new QHBoxLayout;
        line->setSpacing(1);
        for (const ButtonRow& row : table) {
            auto* button = new WImageButton(this, row.id, row.kind, row.image);
            button->setObjectName(QStringLiteral("button%1").arg(row.id));
            if (row.id == cmd::kChange) {
                // The wide button names the open dictionary.
                button->setFixedWidth(kWideButtonWidth);
                button->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            }
            m_buttons.insert(row.id, button);
            line->addWidget(button);
        }
        line->addStretch(1);
        rows->addLayout(line);
    };
    addRow(kFirstRow);
    addRow(kSecondRow);
    retranslate();
}

ButtonBar::~ButtonBar() = default;

void ButtonBar::setToggled(int id, bool on) {
    WImageButton* b = button(id);
    if (b != nullptr && b->kind() == WImageButton::Kind::kToggle) b->setToggled(on);
}

void ButtonBar::setButtonEnabled(int id, bool on) {
    if (WImageButton* b = button(id)) b->setEnabled(on);
}

void ButtonBar::retranslate() {
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it) {
        const ButtonRow* row = findRow(kFirstRow, it.key());
        if (row == nullptr) row = findRow(kSecondRow, it.key());
        if (row != nullptr)
            m_tips->addTool(it.value(), QString::fromUtf8(wordbay::UiText(row->tip)));
    }
}
