#include "ui/main/dictionary_pane.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPalette>

#include "ui/main/command_ids.h"
#include "ui/main/qt_font_catalog.h"
#include "ui/main/search_edit.h"
#include "ui/widgets/image_strip.h"
#include "ui/widgets/w_image_button.h"
#include "ui/widgets/w_list_box.h"
#include "ui/widgets/w_static.h"

using wordbay::ListSide;
using wordbay::ViewColor;
using wordbay::ViewFlag;
using wordbay::ViewFont;

DictionaryPane::DictionaryPane(QWidget* parent, bool dual)
    : QWidget(parent), m_dual(dual), m_grid(new QGridLayout(this)), m_top(new QHBoxLayout) {
    const QString prefix = dual ? QStringLiteral("dual") : QStringLiteral("main");
    setObjectName(prefix + QStringLiteral("Pane"));
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setHorizontalSpacing(4);
    m_grid->setVerticalSpacing(2);

    m_direction = new WImageButton(this, dual ? cmd::kDualDirection : cmd::kMainDirection,
                                   WImageButton::Kind::kPush, kImageDirection);
    m_direction->setObjectName(prefix + QStringLiteral("Direction"));
    m_direction->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_top->setSpacing(2);
    m_top->addWidget(m_direction, 1);
    m_grid->addLayout(m_top, 0, 0, 1, 2);

    const int editIds[2] = {dual ? cmd::kDualPrimaryEdit : cmd::kMainPrimaryEdit,
                            dual ? cmd::kDualSecondaryEdit : cmd::kMainSecondaryEdit};
    const int listIds[2] = {dual ? cmd::kDualPrimaryList : cmd::kMainPrimaryList,
                            dual ? cmd::kDualSecondaryList : cmd::kMainSecondaryList};
    const QString sides[2] = {QStringLiteral("Primary"), QStringLiteral("Secondary")};
    for (int i = 0; i < 2; ++i) {
        m_label[i] = new WStatic(QStringLiteral("-"), this,
                                 i == 0 ? cmd::kPrimaryLabel : cmd::kSecondaryLabel);
        m_label[i]->setAlignment(Qt::AlignCenter);
        QFont bold = m_label[i]->font();
        bold.setBold(true);
        m_label[i]->setFont(bold);
        m_label[i]->setObjectName(prefix + sides[i] + QStringLiteral("Label"));
        m_edit[i] = new SearchEdit(this, editIds[i]);
        m_edit[i]->setObjectName(prefix + sides[i] + QStringLiteral("Edit"));
        m_list[i] = new WListBox(this, listIds[i]);
        m_list[i]->setObjectName(prefix + sides[i] + QStringLiteral("List"));
        m_names[i] = QStringLiteral("-");
    }
    relayout();
}

DictionaryPane::~DictionaryPane() = default;

int DictionaryPane::sideOf(const QWidget* w) const {
    for (int i = 0; i < 2; ++i) {
        if (w == m_edit[i] || w == m_list[i] || (w != nullptr && m_list[i]->isAncestorOf(w)))
            return i;
    }
    return -1;
}

void DictionaryPane::setListNames(const QString& primary, const QString& secondary) {
    m_names[0] = primary.isEmpty() ? QStringLiteral("-") : primary;
    m_names[1] = secondary.isEmpty() ? QStringLiteral("-") : secondary;
    m_label[0]->setText(m_names[0]);
    m_label[1]->setText(m_names[1]);
    setDirection(m_primaryToSecondary);
}

void DictionaryPane::setDirection(bool primaryToSecondary) {
    m_primaryToSecondary = primaryToSecondary;
    const int source = primaryToSecondary ? 0 : 1;
    m_direction->setText(m_names[source] + QStringLiteral("  \u2192  ") + m_names[1 - source]);
    relayout();
}

ListSide DictionaryPane::sourceSide() const {
    return m_primaryToSecondary ? ListSide::kPrimary : ListSide::kSecondary;
}

void DictionaryPane::setCodePages(std::uint32_t primary, std::uint32_t secondary) {
    m_edit[0]->setCodePage(primary);
    m_list[0]->setCodePage(primary);
    m_edit[1]->setCodePage(secondary);
    m_list[1]->setCodePage(secondary);
}

void DictionaryPane::relayout() {
    for (int i = 0; i < 2; ++i) {
        m_grid->removeWidget(m_label[i]);
        m_grid->removeWidget(m_edit[i]);
        m_grid->removeWidget(m_list[i]);
    }
    const int source = m_primaryToSecondary ? 0 : 1;
    for (int column = 0; column < 2; ++column) {
        const int i = column == 0 ? source : 1 - source;
        m_grid->addWidget(m_label[i], 1, column);
        m_grid->addWidget(m_edit[i], 2, column);
        m_grid->addWidget(m_list[i], 3, column);
    }
    m_grid->setRowStretch(3, 1);
    // Tab goes from the source edit box to its list, then to the target side.
    const int target = 1 - source;
    setTabOrder(m_edit[source], m_list[source]);
    setTabOrder(m_list[source], m_edit[target]);
    setTabOrder(m_edit[target], m_list[target]);
}

void DictionaryPane::setCornerWidget(QWidget* widget) {
    widget->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_top->addWidget(widget);
}

void DictionaryPane::applyView(const wordbay::ViewSettings& view) {
    const bool system = view.flag(ViewFlag::kMainUseSystemColors);
    const ViewFont editFonts[2] = {ViewFont::kEdit1, ViewFont::kEdit2};
    const ViewFont listFonts[2] = {ViewFont::kListBox1, ViewFont::kListBox2};
    const ViewColor editBackgrounds[2] = {ViewColor::kEdit1Background, ViewColor::kEdit2Background};
    const ViewColor rows[2][4] = {
        {ViewColor::kListBox1Background, ViewColor::kListBox1OddRow,
         ViewColor::kListBox1SelectedBackground, ViewColor::kListBox1SelectedText},
        {ViewColor::kListBox2Background, ViewColor::kListBox2OddRow,
         ViewColor::kListBox2SelectedBackground, ViewColor::kListBox2SelectedText}};
    for (int i = 0; i < 2; ++i) {
        const wordbay::FontSetting& editFont = view.font(editFonts[i]);
        const wordbay::FontSetting& listFont = view.font(listFonts[i]);
        m_edit[i]->setFont(fontFromSetting(editFont));
        m_list[i]->setFont(fontFromSetting(listFont));
        if (system) {
            m_edit[i]->setPalette(QPalette());
            m_list[i]->useSystemColors();
            continue;
        }
        QPalette p = m_edit[i]->palette();
        p.setColor(QPalette::Base, colorFromSetting(view.color(editBackgrounds[i])));
        p.setColor(QPalette::Text, colorFromSetting(editFont.color));
        m_edit[i]->setPalette(p);
        m_list[i]->setRowColors(colorFromSetting(view.color(rows[i][0])),
                                colorFromSetting(view.color(rows[i][1])));
        m_list[i]->setSelectionColors(colorFromSetting(view.color(rows[i][2])),
                                      colorFromSetting(view.color(rows[i][3])));
        m_list[i]->setTextColor(colorFromSetting(listFont.color));
    }
}

void DictionaryPane::setEditModeLook(bool on) {
    for (WStatic* label : m_label) {
        label->setAutoFillBackground(on);
        QPalette p = label->parentWidget()->palette();
        if (on) {
            p.setColor(QPalette::Window, Qt::black);
            p.setColor(QPalette::WindowText, Qt::red);
        }
        label->setPalette(p);
    }
}

void DictionaryPane::setControlsEnabled(bool on) {
    // The edit boxes stay open: what the user types while a dictionary loads
    // is kept and searched once it is there.
    for (int i = 0; i < 2; ++i) {
        m_list[i]->setEnabled(on);
        m_label[i]->setEnabled(on);
    }
}
