#include "ui/settings/dlg_font_boje.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/dictionary_settings.h"
#include "ui/settings/view_ids.h"

using wordbay::TextId;
using wordbay::ViewColor;
using wordbay::ViewFlag;
using wordbay::ViewFont;

namespace {

// The ids and settings of one list's group.
struct ListGroup {
    int group, editGroup, listGroup;
    int editFont, editBackground, listFont, listBackground, oddRow, selectedRow, selectedText;
    int editFontSwatch, listFontSwatch, editBackgroundSwatch, firstListSwatch;
    ViewFont editFontKey, listFontKey;
    ViewColor editBackgroundKey;
    ViewColor listColors[4];  // background, odd row, selected row, selected text
};

namespace v = view_command;

// The buttons' ids are the published ones; the groups' and swatches' are
// the page's own.
constexpr ListGroup kGroups[2] = {
    {.group = 7240,
     .editGroup = 7201,
     .listGroup = 7204,
     .editFont = v::kEdit1Font,
     .editBackground = v::kEdit1Background,
     .listFont = v::kList1Font,
     .listBackground = v::kList1Background,
     .oddRow = v::kList1OddRow,
     .selectedRow = v::kList1SelectedRow,
     .selectedText = v::kList1SelectedText,
     .editFontSwatch = 7222,
     .listFontSwatch = 7223,
     .editBackgroundSwatch = 7224,
     .firstListSwatch = 7225,
     .editFontKey = ViewFont::kEdit1,
     .listFontKey = ViewFont::kListBox1,
     .editBackgroundKey = ViewColor::kEdit1Background,
     .listColors = {ViewColor::kListBox1Background, ViewColor::kListBox1OddRow,
                    ViewColor::kListBox1SelectedBackground, ViewColor::kListBox1SelectedText}},
    {.group = 7241,
     .editGroup = 7210,
     .listGroup = 7220,
     .editFont = v::kEdit2Font,
     .editBackground = v::kEdit2Background,
     .listFont = v::kList2Font,
     .listBackground = v::kList2Background,
     .oddRow = v::kList2OddRow,
     .selectedRow = v::kList2SelectedRow,
     .selectedText = v::kList2SelectedText,
     .editFontSwatch = 7229,
     .listFontSwatch = 7230,
     .editBackgroundSwatch = 7231,
     .firstListSwatch = 7232,
     .editFontKey = ViewFont::kEdit2,
     .listFontKey = ViewFont::kListBox2,
     .editBackgroundKey = ViewColor::kEdit2Background,
     .listColors = {ViewColor::kListBox2Background, ViewColor::kListBox2OddRow,
                    ViewColor::kListBox2SelectedBackground, ViewColor::kListBox2SelectedText}},
};

}  // namespace

DlgFontBoje::DlgFontBoje(const SettingsContext& context, SettingsTarget* target, QWidget* parent)
    : SettingsPage(context, target, parent) {
    setObjectName("DlgFontBoje");
    createControls();
    forwardViewChanges();
}

DlgFontBoje::~DlgFontBoje() = default;

void DlgFontBoje::createControls() {
    auto* layout = new QVBoxLayout(this);
    auto* lists = new QHBoxLayout;
    const QString titles[2] = {QString::fromStdString(context().primaryListName),
                               QString::fromStdString(context().secondaryListName)};
    for (int side = 0; side < 2; ++side) {
        const ListGroup& g = kGroups[side];
        auto* group = addGroup(this, g.group, titles[side]);
        auto* groupLayout = new QVBoxLayout(group);

        // A button with the swatch of the value it changes beside it.
        const auto row = [this](QGridLayout* grid, int line, int button, TextId label, int swatch,
                                std::function<std::uint32_t()> color) {
            grid->addWidget(addButton(grid->parentWidget(), button, label), line, 0);
            grid->addWidget(addSwatch(grid->parentWidget(), swatch, std::move(color)), line, 1);
        };
        const auto font = [this](ViewFont f) {
            return [this, f] { return dictionary().view.font(f).color; };
        };
        const auto color = [this](ViewColor c) {
            return [this, c] { return dictionary().view.color(c); };
        };

        auto* edit = addGroup(group, g.editGroup, uiText(TextId::MSG_EDIT_BOX));
        auto* editGrid = new QGridLayout(edit);
        row(editGrid, 0, g.editFont, TextId::MSG_FONT, g.editFontSwatch, font(g.editFontKey));
        row(editGrid, 1, g.editBackground, TextId::MSG_BACKGROUND, g.editBackgroundSwatch,
            color(g.editBackgroundKey));
        groupLayout->addWidget(edit);

        auto* list = addGroup(group, g.listGroup, uiText(TextId::MSG_LIST_BOX));
        auto* listGrid = new QGridLayout(list);
        row(listGrid, 0, g.listFont, TextId::MSG_FONT, g.listFontSwatch, font(g.listFontKey));
        const int buttons[4] = {g.listBackground, g.oddRow, g.selectedRow, g.selectedText};
        const TextId labels[4] = {TextId::MSG_BACKGROUND, TextId::MSG_ODD_ROW,
                                  TextId::MSG_SELECTED_ROW, TextId::MSG_SELECTED_TEXT};
        for (int i = 0; i < 4; ++i) {
            row(listGrid, i + 1, buttons[i], labels[i], g.firstListSwatch + i,
                color(g.listColors[i]));
        }
        groupLayout->addWidget(list);
        lists->addWidget(group);
    }
    layout->addLayout(lists);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(addButton(this, v::kMainReset, TextId::MSG_RESET_FONT_COLOR));
    bottom->addWidget(addCheck(this, v::kMainSystemColors, TextId::MSG_USE_SYSTEM_COLORS,
                               dictionary().view.flag(ViewFlag::kMainUseSystemColors)));
    bottom->addStretch(1);
    layout->addLayout(bottom);
    layout->addStretch(1);
}

void DlgFontBoje::afterViewChange(int) { repaintSwatches(); }
