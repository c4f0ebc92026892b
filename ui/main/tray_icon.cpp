#include "ui/main/tray_icon.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

#include "app/message_table.h"
#include "ui/widgets/image_strip.h"
#include "ui/widgets/w_form.h"

using wordbay::TextId;
using wordbay::UiText;

TrayIcon::TrayIcon(WForm* form) : QObject(form), m_menu(new QMenu(form)) {
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    const auto& strip = ImageStrip::standard();
    m_menu->addAction(QIcon(strip.image(kImageRestoreFromTray)), QString(), this,
                      &TrayIcon::restoreRequested);
    m_menu->addAction(QIcon(strip.image(kImageAbout)), QString(), this, &TrayIcon::aboutRequested);
    m_menu->addAction(QIcon(strip.image(kImageExit)), QString(), this, &TrayIcon::exitRequested);
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
                    emit restoreRequested();
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
