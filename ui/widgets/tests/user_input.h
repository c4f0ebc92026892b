// What the windows' tests do as a user would, for every suite of the
// program's windows: choose an item of a window's menu bar by its text,
// press one of a window's keys, click a button, answer a file dialog. Each
// goes through the real action, shortcut or button, so an item wired to the
// wrong command fails the test that uses it.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QtTest>

namespace user_input {

// A menu text without the key name after its tab.
inline QString menuText(const QString& text) { return text.section(QLatin1Char('\t'), 0, 0); }

// Triggers the item of `menu` or of its submenus whose text is `text`: 1
// when it did, -1 when the item is disabled, 0 when there is none.
inline int triggerMenuItem(QMenu* menu, const QString& text) {
    for (QAction* item : menu->actions()) {
        if (item->isSeparator()) continue;
        if (item->menu() != nullptr) {
            if (const int found = triggerMenuItem(item->menu(), text)) return found;
            continue;
        }
        if (menuText(item->text()) != menuText(text)) continue;
        if (!item->isEnabled()) return -1;
        item->trigger();
        return 1;
    }
    return 0;
}

// Chooses the enabled item of `window`'s menu bar (or of a submenu) whose
// text is `text`; false when there is none or it is disabled.
inline bool chooseMenuItem(QWidget* window, const QString& text) {
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        for (QAction* menu : bar->actions()) {
            if (menu->menu() == nullptr) continue;
            if (const int found = triggerMenuItem(menu->menu(), text)) return found > 0;
        }
    }
    return false;
}

// Presses `key`, one of the keys `window` itself answers (not those of the
// windows it owns); false when it has none.
inline bool pressKey(QWidget* window, const QKeySequence& key) {
    for (QShortcut* shortcut : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
        if (shortcut->key() != key || !shortcut->isEnabled()) continue;
        emit shortcut->activated();
        return true;
    }
    return false;
}

// Clicks `button` when it is there and enabled, and lets a command it
// posts arrive.
inline bool clickButton(QAbstractButton* button) {
    if (button == nullptr || !button->isEnabled()) return false;
    // On its label: a check box or radio button stretched by its layout
    // answers only on its box and its text, at the left.
    const QSize label = button->sizeHint().boundedTo(button->size());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(label.width() / 2, label.height() / 2));
    QCoreApplication::sendPostedEvents(button, QEvent::MetaCall);
    return true;
}

// The button of `window` whose text is `text`.
inline bool clickButton(QWidget* window, const QString& text) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text() == text) return clickButton(button);
    }
    return false;
}

// Answers the next file dialog that opens within ten seconds with `path`,
// typed into its name box, and accepts it.
inline void answerFileDialog(const QString& path) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    const QDeadlineTimer deadline(10000);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, deadline, path] {
        QFileDialog* dialog = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* files = qobject_cast<QFileDialog*>(w);
            if (files != nullptr && files->isVisible()) dialog = files;
        }
        if (dialog == nullptr && !deadline.hasExpired()) return;
        timer->stop();
        timer->deleteLater();
        if (dialog == nullptr) return;
        // The name box has the focus, so selectFile() would leave it empty.
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    timer->start();
}

}  // namespace user_input
