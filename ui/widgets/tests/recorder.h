// A form that records the commands it receives, for the suites.
#pragma once

#include <QList>

#include "ui/widgets/w_form.h"

struct RecordedCommand {
    int code;
    int id;
    WControl* control;
    qintptr param;
    bool operator==(const RecordedCommand&) const = default;
};

class RecorderForm : public WForm {
public:
    void command(int code, int id, WControl* control, qintptr param) override {
        commands.append({code, id, control, param});
    }
    // The notification codes received, in order.
    QList<int> codes() const {
        QList<int> all;
        for (const RecordedCommand& c : commands) all.append(c.code);
        return all;
    }

    QList<RecordedCommand> commands;
};
