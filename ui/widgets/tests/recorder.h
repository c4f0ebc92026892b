// Records what a list tells its owner through its signals, in order, for the
// suites.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "ui/widgets/w_list_box.h"

struct ListEvent {
    QString name;
    int row = 0;  // the row the drag signals carry, else 0
    bool operator==(const ListEvent&) const = default;
};

class ListEvents : public QObject {
public:
    explicit ListEvents(WListBox* list) : QObject(list) {
        const auto record = [this](const char* name) {
            return [this, name] { events.append({QString::fromLatin1(name), 0}); };
        };
        const auto recordRow = [this](const char* name) {
            return [this, name](int row) { events.append({QString::fromLatin1(name), row}); };
        };
        connect(list, &WListBox::rowChosen, this, record("chosen"));
        connect(list, &WListBox::focusEntered, this, record("focus in"));
        connect(list, &WListBox::focusLeft, this, record("focus out"));
        connect(list, &WListBox::dragStarted, this, recordRow("drag start"));
        connect(list, &WListBox::dragMoved, this, recordRow("drag move"));
        connect(list, &WListBox::dragEnded, this, recordRow("drag end"));
        connect(list, &WListBox::dragCancelled, this, record("drag cancel"));
    }
    // The names of the events, in order.
    QStringList names() const {
        QStringList all;
        for (const ListEvent& e : events) all.append(e.name);
        return all;
    }

    QList<ListEvent> events;
};
