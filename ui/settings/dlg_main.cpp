#include "ui/settings/dlg_main.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "ui/settings/dlg_config.h"
#include "ui/settings/dlg_font_boje.h"
#include "ui/settings/dlg_font_boje1.h"
#include "ui/settings/dlg_speech.h"

using wordbay::TextId;

DlgMain::DlgMain(const SettingsContext& context, SettingsTarget* target, int* tabRequest,
                 QWidget* parent)
    : WDialog(parent), m_context(context), m_target(target), m_tabs(new QTabBar(this)) {
    setObjectName("DlgMain");
    setWindowTitle(uiText(TextId::MSG_DICTIONARY_SETTINGS));

    m_tabs->setObjectName(QStringLiteral("item%1").arg(kTabControl));
    m_tabs->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    for (const TextId label : {TextId::MSG_INTERFACE, TextId::MSG_FONT_AND_COLOR,
                               TextId::MSG_FONT_AND_COLOR1, TextId::MSG_SPEECH}) {
        m_tabs->addTab(uiText(label));
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    m_pageArea = new QVBoxLayout;
    layout->addLayout(m_pageArea, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* help = new QPushButton(uiText(TextId::MSG_HELP), this);
    help->setObjectName(QStringLiteral("item%1").arg(kHelpButton));
    help->setAutoDefault(false);
    auto* close = new QPushButton(uiText(TextId::MSG_CLOSE), this);
    close->setObjectName(QStringLiteral("item%1").arg(kIdCancel));
    close->setAutoDefault(false);
    buttons->addWidget(help);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_help) m_help(helpTopic(currentTab()));
    });
    addButton(close, kIdCancel);

    int tab = 0;
    if (tabRequest != nullptr) {
        if (*tabRequest >= 0 && *tabRequest < kTabCount) tab = *tabRequest;
        *tabRequest = -1;
    }
    m_tabs->setCurrentIndex(tab);
    showPage(tab);
    connect(m_tabs, &QTabBar::currentChanged, this, &DlgMain::showPage);
}

DlgMain::~DlgMain() = default;

QString DlgMain::helpTopic(int tab) {
    static const char* const kTopics[kTabCount] = {
        "postavke.htm#kx_postavkesucelje", "postavke.htm#kx_postavkefont",
        "postavke.htm#kx_postavkefontoviibije1", "postavke.htm#kx_postavkegovor"};
    return tab >= 0 && tab < kTabCount ? QString::fromLatin1(kTopics[tab]) : QString();
}

int DlgMain::currentTab() const { return m_tabs->currentIndex(); }

void DlgMain::selectTab(int tab) { m_tabs->setCurrentIndex(tab); }

void DlgMain::showPage(int tab) {
    delete m_page;
    m_page = nullptr;
    switch (tab) {
        case 0:
            m_page = new DlgConfig(m_context, m_target, this);
            break;
        case 1:
            m_page = new DlgFontBoje(m_context, m_target, this);
            break;
        case 2:
            m_page = new DlgFontBoje1(m_context, m_target, this);
            break;
        case 3:
            m_page = new DlgSpeech(m_context, m_target, this);
            break;
        default:
            return;
    }
    m_pageArea->addWidget(m_page);
    m_page->show();
}
