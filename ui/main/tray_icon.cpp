#include "ui/main/tray_icon.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

#include "app/message_table.h"
#include "ui/main/command_ids.h"
#include "ui/widgets/image_strip.h"
#include "ui/widgets/w_form.h"

using wordbay::TextId;
using wordbay::UiText;

TrayIcon::TrayIcon(WForm* form) : QObject(form), m_form(form), m_menu(new QMenu(form)) {
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    const auto& strip = ImageStrip::standard();
    m_menu->addAction(QIcon(strip.image(kImageRestoreFromTray)), QString(), form,
                      [form] { form->command(kMenuCommand, cmd::kRestoreFromTray, nullptr, 0); });
    m_menu->addAction(QIcon(strip.image(kImageAbout)), QString(), form,
                      [form] { form->command(kMenuCommand, cmd::kHelpAbout, nullptr, 0); });
    m_menu->addAction(QIcon(strip.image(kImageExit)), QString(), form,
                      [form] { form->command(kMenuCommand, cmd::kExit, nullptr, 0); });
    retranslate();
}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::show(const QString& tip) {
    if (m_icon == nullptr) {
        // Made the first time it shows: the icon talks to the desktop's
        // notification area (over D-Bus), which the start need not wait for.
        m_icon = new QSystemTrayIcon(this);
        m_icon->setIcon(QIcon(ImageStrip::standard().image(kImageChangeDictionary)));
        m_icon->setContextMenu(m_menu);
        connect(
            m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    m_form->command(kMenuCommand, cmd::kRestoreFromTray, nullptr, 0);
            });
    }
    m_icon->setToolTip(tip.left(127));
    m_icon->show();
}

void TrayIcon::hide() {
    if (m_icon != nullptr) m_icon->hide();
}

bool TrayIcon::isShown() const { return m_icon != nullptr && m_icon->isVisible(); }

void TrayIcon::retranslate() {
    const QList<QAction*> items = m_menu->actions();
    const TextId texts[] = {TextId::MENU_RESTORE_FROM_TRAY, TextId::MSG_ABOUT, TextId::MENU_EXIT};
    for (int i = 0; i < items.size() && i < 3; ++i)
        items[i]->setText(QString::fromUtf8(UiText(texts[i])));
}
