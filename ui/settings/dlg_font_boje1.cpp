#include "ui/settings/dlg_font_boje1.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "ui/settings/view_ids.h"

using wordbay::TextId;
using wordbay::ViewColor;
using wordbay::ViewFlag;
using wordbay::ViewFont;

namespace {

using namespace view_command;

// The page's own ids: its groups and the swatches beside the buttons.
constexpr int kPopupGroup = 7401;
constexpr int kPopupEditGroup = 7402;
constexpr int kPopupListGroup = 7405;
constexpr int kTooltipGroup = 7411;
constexpr int kTooltipColorsGroup = 7412;
constexpr int kPopupEditFontSwatch = 7420;
constexpr int kPopupListFontSwatch = 7421;
constexpr int kPopupEditBackgroundSwatch = 7422;
constexpr int kPopupListFirstSwatch = 7423;  // 7423-7426: the four list colours
constexpr int kTooltipWordSwatch = 7427;
constexpr int kTooltipTranslationSwatch = 7428;
constexpr int kTooltipActiveSwatch = 7429;
constexpr int kTooltipInactiveSwatch = 7430;
constexpr int kTooltipInactiveTextSwatch = 7431;

}  // namespace

PopupViewKeys popupViewKeys(bool primaryToSecondary) {
    if (primaryToSecondary) {
        return {
            ViewFont::kPopupEditPrimary,
            ViewColor::kPopupEditBackgroundPrimary,
            ViewFont::kPopupListBoxPrimary,
            {ViewColor::kPopupListBox1Background, ViewColor::kPopupListBox1OddRow,
             ViewColor::kPopupListBox1SelectedBackground, ViewColor::kPopupListBox1SelectedText},
            ViewFont::kTooltipEditPrimary,
            ViewFont::kTooltipListBoxPrimary,
            ViewColor::kTooltipBackground1Primary,
            ViewColor::kTooltipBackground2Primary,
            ViewColor::kTooltipInactiveTextPrimary};
    }
    return {ViewFont::kPopupEditSecondary,
            ViewColor::kPopupEditBackgroundSecondary,
            ViewFont::kPopupListBoxSecondary,
            {ViewColor::kPopupListBox2Background, ViewColor::kPopupListBox2OddRow,
             ViewColor::kPopupListBox2SelectedBackground, ViewColor::kPopupListBox2SelectedText},
            ViewFont::kTooltipEditSecondary,
            ViewFont::kTooltipListBoxSecondary,
            ViewColor::kTooltipBackground1Secondary,
            ViewColor::kTooltipBackground2Secondary,
            ViewColor::kTooltipInactiveTextSecondary};
}

const QStringList& tooltipPatternNames() {
    static const QStringList kNames = {
        "Asfalt",  "Blokovi",  "Platno",      "Oblaci", "Cement",   "Žbuka",        "Valovi",
        "Bljesak", "Denim",    "Magla",       "Folija", "Nogostup", "Voće",         "Zrnasto",
        "Granit",  "Granit 1", "Granit 2",    "Trava",  "Zemlja",   "Velike cigle", "Lava",
        "Linije",  "Močvara",  "Male cigle",  "Ocean",  "Ploča",    "Vrtivjetar",   "Kamenje",
        "Cigle",   "Teren",    "Kora drveta", "Valovi", "Drvo",     "Prijelomi"};
    return kNames;
}

DlgFontBoje1::DlgFontBoje1(const SettingsContext& context, SettingsTarget* target, QWidget* parent)
    : SettingsPage(context, target, parent)
    , m_keys(popupViewKeys(dictionary().primary_to_secondary)) {
    setObjectName("DlgFontBoje1");
    auto* layout = new QHBoxLayout(this);
    createPopupPart(this);
    createTooltipPart(this);
    layout->addWidget(item(kPopupGroup));
    layout->addWidget(item(kTooltipGroup));
    forwardViewChanges();
}

DlgFontBoje1::~DlgFontBoje1() = default;

void DlgFontBoje1::createPopupPart(QWidget* parent) {
    auto* group = addGroup(parent, kPopupGroup, uiText(TextId::MSG_POPUP_WINDOW));
    auto* layout = new QVBoxLayout(group);
    const auto row = [this](QGridLayout* grid, int line, int button, TextId label, int swatch,
                            std::function<std::uint32_t()> color) {
        grid->addWidget(addButton(grid->parentWidget(), button, label), line, 0);
        grid->addWidget(addSwatch(grid->parentWidget(), swatch, std::move(color)), line, 1);
    };
    const auto fontColor = [this](ViewFont f) {
        return [this, f] { return dictionary().view.font(f).color; };
    };
    const auto color = [this](ViewColor c) {
        return [this, c] { return dictionary().view.color(c); };
    };

    auto* edit = addGroup(group, kPopupEditGroup, uiText(TextId::MSG_EDIT_BOX));
    auto* editGrid = new QGridLayout(edit);
    row(editGrid, 0, kPopupEditFont, TextId::MSG_FONT, kPopupEditFontSwatch,
        fontColor(m_keys.popupEditFont));
    row(editGrid, 1, kPopupEditBackground, TextId::MSG_BACKGROUND, kPopupEditBackgroundSwatch,
        color(m_keys.popupEditBackground));
    layout->addWidget(edit);

    auto* list = addGroup(group, kPopupListGroup, uiText(TextId::MSG_LIST_BOX));
    auto* listGrid = new QGridLayout(list);
    row(listGrid, 0, kPopupListFont, TextId::MSG_FONT, kPopupListFontSwatch,
        fontColor(m_keys.popupListFont));
    const TextId labels[4] = {TextId::MSG_BACKGROUND, TextId::MSG_ODD_ROW, TextId::MSG_SELECTED_ROW,
                              TextId::MSG_SELECTED_TEXT};
    for (int i = 0; i < 4; ++i) {
        row(listGrid, i + 1, kPopupListColorFirst + i, labels[i], kPopupListFirstSwatch + i,
            color(m_keys.popupListColors[i]));
    }
    layout->addWidget(list);
    layout->addWidget(addButton(group, kPopupReset, TextId::MSG_RESET_FONT_COLOR));
    layout->addWidget(addCheck(group, kPopupSystemColors, TextId::MSG_USE_SYSTEM_COLORS,
                               dictionary().view.flag(ViewFlag::kPopupUseSystemColors)));
    layout->addStretch(1);
}

void DlgFontBoje1::createTooltipPart(QWidget* parent) {
    auto* group = addGroup(parent, kTooltipGroup, uiText(TextId::MSG_TOOLTIP_WINDOW));
    auto* layout = new QVBoxLayout(group);
    auto* colors = addGroup(group, kTooltipColorsGroup, uiText(TextId::MSG_FONT_AND_COLOR));
    auto* grid = new QGridLayout(colors);
    const auto& view = dictionary().view;
    const struct {
        int button;
        TextId label;
        int swatch;
        std::function<std::uint32_t()> color;
    } rows[] = {
        {kTooltipWordFont, TextId::MSG_WORD_FONT, kTooltipWordSwatch,
         [this, f = m_keys.tooltipWordFont] { return dictionary().view.font(f).color; }},
        {kTooltipTranslationFont, TextId::MSG_TRANSLATION_FONT, kTooltipTranslationSwatch,
         [this, f = m_keys.tooltipTranslationFont] { return dictionary().view.font(f).color; }},
        {kTooltipActive, TextId::MSG_ACTIVE, kTooltipActiveSwatch,
         [this, c = m_keys.tooltipActiveBackground] { return dictionary().view.color(c); }},
        {kTooltipInactive, TextId::MSG_INACTIVE, kTooltipInactiveSwatch,
         [this, c = m_keys.tooltipInactiveBackground] { return dictionary().view.color(c); }},
        {kTooltipInactiveText, TextId::MSG_INACTIVE_TEXT, kTooltipInactiveTextSwatch,
         [this, c = m_keys.tooltipInactiveText] { return dictionary().view.color(c); }},
    };
    int line = 0;
    for (const auto& r : rows) {
        grid->addWidget(addButton(colors, r.button, r.label), line, 0);
        grid->addWidget(addSwatch(colors, r.swatch, r.color), line, 1);
        ++line;
    }
    layout->addWidget(colors);
    layout->addWidget(addCheck(group, kTooltipUsePattern, TextId::MSG_USE_PATTERN,
                               view.flag(ViewFlag::kTooltipUsePattern)));
    auto* patterns = addCombo(group, kTooltipPattern);
    patterns->addItems(tooltipPatternNames());
    // The file allows index 34, which has no pattern: show the first.
    const int pattern = view.tooltip_pattern_index;
    patterns->setCurrentIndex(pattern >= 0 && pattern < patterns->count() ? pattern : 0);
    layout->addWidget(patterns);
    layout->addWidget(addButton(group, kTooltipReset, TextId::MSG_RESET_FONT_COLOR));
    layout->addWidget(addCheck(group, kTooltipSystemColors, TextId::MSG_USE_SYSTEM_COLORS,
                               view.flag(ViewFlag::kTooltipUseSystemColors)));
    layout->addStretch(1);
}

void DlgFontBoje1::afterViewChange(int viewId) {
    if (viewId == kTooltipReset) {
        // The reset also leaves the pattern off and back at the first one.
        if (auto* box = itemAs<QCheckBox>(kTooltipUsePattern)) box->setChecked(false);
        if (auto* combo = itemAs<QComboBox>(kTooltipPattern)) combo->setCurrentIndex(0);
    }
    repaintSwatches();
}
