#include "ui/main/tests/modal_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "ui/settings/dlg_main.h"
#include "ui/settings/settings_page.h"
#include "ui/widgets/w_message_box.h"

namespace {
constexpr int kPollMs = 20;
}  // namespace

ModalScript::ModalScript(std::vector<Step> steps) : m_steps(std::move(steps)) {
    QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
    m_poll.start(kPollMs);
}

void ModalScript::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == m_last || done()) return;
    m_last = modal;
    if (qobject_cast<WMessageBox*>(modal) != nullptr) {
        QString text;
        for (const QLabel* label : modal->findChildren<QLabel*>()) text += label->text();
        m_texts << text;
    }
    m_steps[m_next++](modal);
}

ModalScript::Step press(int id) {
    return [id](QWidget* w) {
        if (auto* box = qobject_cast<WMessageBox*>(w)) box->button(id)->click();
    };
}

ModalScript::Step accept(std::function<void(QWidget*)> prepare) {
    return [prepare](QWidget* w) {
        prepare(w);
        w->findChild<QPushButton*>(QStringLiteral("acceptButton"))->click();
    };
}

ModalScript::Step typeFileName(const QString& path) {
    return [path](QWidget* w) {
        auto* files = qobject_cast<QFileDialog*>(w);
        QVERIFY(files != nullptr);
        files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog*>(files)->accept();
    };
}

void selectRowWith(QWidget* dialog, const char* name, const QString& text) {
    auto* table = dialog->findChild<QTableWidget*>(QString::fromLatin1(name));
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* item = table->item(row, column);
            if (item != nullptr && item->text() == text) {
                table->selectRow(row);
                return;
            }
        }
    }
}

ModalScript::Step closeIt() {
    return [](QWidget* w) { w->close(); };
}

void clickLater(QAbstractButton* button) {
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}

ModalScript::Step tickSettingsBox(int id) {
    return [id](QWidget* w) {
        auto* dialog = qobject_cast<DlgMain*>(w);
        auto* page = dialog != nullptr ? qobject_cast<SettingsPage*>(dialog->page()) : nullptr;
        if (page == nullptr) return;
        clickLater(qobject_cast<QAbstractButton*>(page->item(id)));
    };
}
