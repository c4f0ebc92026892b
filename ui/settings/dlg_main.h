// DlgMain: the modal settings dialog, a tab host over four pages: 0 the
// interface (DlgConfig), 1 the main window's fonts and colours (DlgFontBoje),
// 2 those of the popup and tooltip (DlgFontBoje1), 3 speech (DlgSpeech). Only
// the page of the current tab exists: changing the tab destroys it and makes
// the new one.
//
// The pages show `context` and tell `target`, the main window, of each
// change, which it applies at once. The dialog opens
// on the tab `*tabRequest` names when it is 0..3 (else tab 0) and sets the
// request to -1. Close (id 2) ends it; Help (7101) calls the help handler
// with the current tab's topic.
#pragma once

#include <QString>
#include <functional>

#include "ui/settings/settings_context.h"
#include "ui/settings/settings_target.h"
#include "ui/widgets/w_dialog.h"

class QTabBar;
class QVBoxLayout;

class DlgMain : public WDialog {
    Q_OBJECT

public:
    static constexpr int kTabCount = 4;
    static constexpr int kHelpButton = 7101;
    static constexpr int kTabControl = 7102;

    DlgMain(const SettingsContext& context, SettingsTarget* target, int* tabRequest,
            QWidget* parent = nullptr);
    ~DlgMain() override;

    // Receives the help topic, e.g. "postavke.htm#kx_postavkefont", when the
    // user presses Help.
    void setHelpHandler(std::function<void(const QString& topic)> handler) {
        m_help = std::move(handler);
    }
    static QString helpTopic(int tab);

    int currentTab() const;
    void selectTab(int tab);
    // The page of the current tab.
    WDialog* page() const { return m_page; }

private:
    void showPage(int tab);

    SettingsContext m_context;
    SettingsTarget* m_target;
    QTabBar* m_tabs;
    QVBoxLayout* m_pageArea;
    WDialog* m_page = nullptr;
    std::function<void(const QString&)> m_help;
};
