// The preferred trigger the program asks the desktop's portal for: the
// configured keys in the desktop's notation, or none where the desktop could
// not take them.
#include "ui/main/hot_key_portal.h"

#include <QtTest>

class HotKeyPortalTest : public QObject {
    Q_OBJECT

private slots:
    void triggersNameModifiersFirstThenTheKey() {
        QCOMPARE(HotKeyPortal::triggerFor(0x11, 0x12, 'T'), QStringLiteral("CTRL+ALT+t"));
        // The order of the choice does not matter; the desktop's order is kept.
        QCOMPARE(HotKeyPortal::triggerFor('T', 0x10, 0x11), QStringLiteral("CTRL+SHIFT+t"));
        QCOMPARE(HotKeyPortal::triggerFor(0x10, 0x74, 0), QStringLiteral("SHIFT+F5"));
        QCOMPARE(HotKeyPortal::triggerFor(0x5B, 0x22, 0), QStringLiteral("LOGO+Page_Down"));
        QCOMPARE(HotKeyPortal::triggerFor(0x12, '7', 0), QStringLiteral("ALT+7"));
        QCOMPARE(HotKeyPortal::triggerFor(0x11, 0x6B, 0), QStringLiteral("CTRL+KP_Add"));
        QCOMPARE(HotKeyPortal::triggerFor(0x11, 0x20, 0), QStringLiteral("CTRL+space"));
        // A key chosen twice counts once.
        QCOMPARE(HotKeyPortal::triggerFor(0x11, 0x11, 'X'), QStringLiteral("CTRL+x"));
    }

    void combinationsADesktopCannotTakeHaveNoTrigger() {
        // Modifiers only (the default CONTROL + SHIFT): the desktop asks the user.
        QVERIFY(HotKeyPortal::triggerFor(0x11, 0x10, 0).isEmpty());
        // Two ordinary keys.
        QVERIFY(HotKeyPortal::triggerFor(0x11, 'A', 'B').isEmpty());
        // A code outside the table.
        QVERIFY(HotKeyPortal::triggerFor(0x11, 0xE7, 0).isEmpty());
    }
};

int runHotKeyPortalTests(int argc, char** argv) {
    HotKeyPortalTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "hot_key_portal_test.moc"
