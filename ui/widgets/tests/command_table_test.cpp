// The command table: which handler an id reaches, and a handler that
// changes the table while it runs.
#include "ui/widgets/command_table.h"

#include <QtTest>

#include "ui/widgets/w_control.h"

class CommandTableTest : public QObject {
    Q_OBJECT

private slots:
    void idsReachTheirHandlerAndNoOther() {
        CommandTable table;
        QList<int> ran;
        const auto record = [&ran](const CommandTable::Call& c) { ran << c.id; };
        table.add({10, 12}, record);
        table.addRange(7202, 7219, record);
        for (const int id : {10, 11, 12, 7201, 7202, 7219, 7220}) table.run({0, id, 0});
        QCOMPARE(ran, (QList<int>{10, 12, 7202, 7219}));
        QVERIFY(!table.run({0, 11, 0}));
        QVERIFY(table.run({0, 12, 0}));
    }

    void theCallArrivesWhole() {
        CommandTable table;
        CommandTable::Call seen;
        table.add(5, [&seen](const CommandTable::Call& c) { seen = c; });
        table.run({0xFFFF, 5, -1});
        QCOMPARE(seen.code, 0xFFFF);
        QCOMPARE(seen.id, 5);
        QCOMPARE(seen.param, qintptr(-1));
        QVERIFY(seen.control == nullptr);
        QWidget widget;
        WControl control(&widget, 5);
        table.run({kEditChange, 5, 0, &control});
        QCOMPARE(seen.control, &control);
    }

    void aLaterHandlerReplacesTheFirst() {
        CommandTable table;
        QString ran;
        table.add(1, [&ran](const CommandTable::Call&) { ran += 'a'; });
        table.add(1, [&ran](const CommandTable::Call&) { ran += 'b'; });
        table.run({0, 1, 0});
        QCOMPARE(ran, QStringLiteral("b"));
    }

    // A command that installs another handler for its own id (a mode that
    // switches what the same key does) finishes with the state it captured.
    void aHandlerMayReplaceItselfWhileItRuns() {
        CommandTable table;
        QStringList ran;
        const QString first = QStringLiteral("first");
        table.add(3, [&table, &ran, first](const CommandTable::Call&) {
            table.add(3, [&ran](const CommandTable::Call&) { ran << QStringLiteral("second"); });
            ran << first;
        });
        table.run({0, 3, 0});
        table.run({0, 3, 0});
        QCOMPARE(ran, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    }
};

int runCommandTableTests(int argc, char** argv) {
    CommandTableTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "command_table_test.moc"
