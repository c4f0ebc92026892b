// Helpers of the dialog tests: answering the program's message boxes that a
// dialog opens while the test waits in the event loop.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <initializer_list>

#include "ui/widgets/w_message_box.h"

namespace dialog_tests {

// Answers the message boxes that show next (found from the event loop that
// a modal box runs), one per entry of `buttons`, and remembers their texts.
class BoxAnswer {
public:
    explicit BoxAnswer(std::initializer_list<int> buttons) : m_buttons(buttons) {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
        m_timer.start();
    }
    explicit BoxAnswer(int button) : BoxAnswer({button}) {}

    // The text and caption of the last box answered, empty until one showed.
    QString text() const { return m_texts.isEmpty() ? QString() : m_texts.last(); }
    QString caption() const { return m_captions.isEmpty() ? QString() : m_captions.last(); }
    const QStringList& texts() const { return m_texts; }
    int count() const { return int(m_texts.size()); }

private:
    void poll() {
        if (m_texts.size() >= m_buttons.size()) {
            m_timer.stop();
            return;
        }
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<WMessageBox*>(w);
            if (box == nullptr || !box->isVisible()) continue;
            QString text;
            for (const QLabel* label : box->findChildren<QLabel*>()) {
                if (!label->text().isEmpty()) text = label->text();
            }
            m_captions.append(box->windowTitle());
            m_texts.append(text);
            box->button(m_buttons[m_texts.size() - 1])->click();
            return;
        }
    }

    QList<int> m_buttons;
    QTimer m_timer;
    QStringList m_texts;
    QStringList m_captions;
};

// The texts of one column of a report list, top to bottom.
inline QStringList column(const QTableWidget* list, int column) {
    QStringList cells;
    for (int row = 0; row < list->rowCount(); ++row) cells.append(list->item(row, column)->text());
    return cells;
}

// The selected row of a report list, or -1.
inline int selected(const QTableWidget* list) {
    const QList<QTableWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : items.first()->row();
}

}  // namespace dialog_tests

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/lexbase.h"

namespace dialog_tests {

// An engine handle for one test.
class Handle {
public:
    Handle() : m_handle(DB_CreateHandle()->handle) {}
    ~Handle() { DB_DestroyHandle(m_handle); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    DB_HANDLE get() const { return m_handle; }

private:
    DB_HANDLE m_handle;
};

// Makes a dictionary in `db` with the lists `primary` and `secondary` (both
// in `locale`) and the translation pairs `pairs`.
inline bool makeDictionary(DB_HANDLE db, const char* primary, const char* secondary,
                           const std::vector<std::pair<const char*, const char*>>& pairs,
                           std::uint32_t locale = 1033) {
    if (DB_CreateNewDictionary(db, locale, locale)->status == 0) return false;
    DICTIONARY_INFO info{};
    std::strncpy(info.primary_list_name, primary, sizeof info.primary_list_name - 1);
    std::strncpy(info.secondary_list_name, secondary, sizeof info.secondary_list_name - 1);
    std::strncpy(info.name, "Test dictionary", sizeof info.name - 1);
    std::strncpy(info.author, "Tester", sizeof info.author - 1);
    info.primary_locale = info.secondary_locale = locale;
    if (DB_SetDictionaryInfo(db, &info)->status == 0) return false;
    for (const auto& [word, translation] : pairs) {
        if (DB_AddTranslation(db, DB_TRANS_PRIMARY_TO_SECONDARY, word, translation)->status == 0) {
            return false;
        }
    }
    return true;
}

// The same, saved as the V03 file `path`.
inline bool saveDictionary(const std::string& path, const char* primary, const char* secondary,
                           const std::vector<std::pair<const char*, const char*>>& pairs) {
    Handle db;
    return makeDictionary(db.get(), primary, secondary, pairs) &&
           DB_Save(db.get(), DB_FORMAT_V03_SAVE, path.c_str())->status != 0;
}

}  // namespace dialog_tests
