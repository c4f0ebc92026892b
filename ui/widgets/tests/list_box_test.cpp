#include <QAccessible>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "ui/widgets/tests/recorder.h"
#include "ui/widgets/w_list_box.h"

namespace {

constexpr int kListId = 350;

void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
               const QPoint& pos) {
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

class ListBoxTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_form = new QWidget;
        m_form->resize(200, 300);
        m_list = new WListBox(m_form, kListId);
        m_events = new ListEvents(m_list);
        m_list->setGeometry(0, 0, 200, 300);
        m_list->setItems(m_words);
        m_list->setCodePage(1250);
        m_form->show();
    }
    void cleanup() { delete m_form; }

    void setCurSelAcceptsMinusOneToCountMinusOne() {
        QCOMPARE(m_list->setCount(5), 0);
        QCOMPARE(m_list->setCurSel(4), 4);
        QCOMPARE(m_list->curSel(), 4);
        QCOMPARE(m_list->setCurSel(5), -1);
        QCOMPARE(m_list->curSel(), 4);
        QCOMPARE(m_list->setCurSel(-2), -1);
        QCOMPARE(m_list->curSel(), 4);
        QCOMPARE(m_list->setCurSel(-1), -1);
        QCOMPARE(m_list->curSel(), -1);
        QVERIFY(m_events->events.isEmpty());  // the program's choice is not announced
    }

    void itemDataIsMinusOneOutOfRange() {
        m_list->setCount(3);
        QCOMPARE(m_list->itemData(-1), qintptr(-1));
        QCOMPARE(m_list->itemData(3), qintptr(-1));
        QCOMPARE(m_list->itemData(1), reinterpret_cast<qintptr>(m_words[1]));
        QCOMPARE(m_list->itemText(1), QStringLiteral("house"));
        QCOMPARE(m_list->itemText(7), QString());
    }

    void countNeedsAnArrayAndIsNeverNegative() {
        QCOMPARE(m_list->setCount(-1), -1);
        m_list->setItems(nullptr);
        QCOMPARE(m_list->count(), 0);
        QCOMPARE(m_list->setCount(2), -1);
        QCOMPARE(m_list->count(), 0);
        m_list->setItems(m_words);
        QCOMPARE(m_list->setCount(2), 0);
        m_list->setCurSel(1);
        m_list->resetContent();
        QCOMPARE(m_list->count(), 0);
        QCOMPARE(m_list->curSel(), -1);
    }

    void pageDownOnAShortListGoesToTheLastRowThenStays() {
        m_list->setCount(3);
        QVERIFY(m_list->pageRows() > 3);
        m_list->setCurSel(0);
        QTest::keyClick(m_list, Qt::Key_PageDown);
        QCOMPARE(m_list->curSel(), 2);
        QCOMPARE(m_events->names(), QStringList{"chosen"});
        QTest::keyClick(m_list, Qt::Key_PageDown);
        QCOMPARE(m_list->curSel(), 2);
        QCOMPARE(m_events->events.size(), 1);
    }

    void keysMoveByRowPageAndToTheEndsAndScroll() {
        m_list->setCount(kWordCount);
        const int page = m_list->pageRows();
        QVERIFY(page < kWordCount / 2);
        QTest::keyClick(m_list, Qt::Key_Down);
        QCOMPARE(m_list->curSel(), 0);
        QTest::keyClick(m_list, Qt::Key_Right);
        QCOMPARE(m_list->curSel(), 1);
        QTest::keyClick(m_list, Qt::Key_PageDown);
        QCOMPARE(m_list->curSel(), 1 + page);
        QVERIFY(m_list->topIndex() > 0);
        QVERIFY(m_list->curSel() < m_list->topIndex() + page);
        QTest::keyClick(m_list, Qt::Key_End);
        QCOMPARE(m_list->curSel(), kWordCount - 1);
        QCOMPARE(m_list->topIndex(), kWordCount - page);
        QTest::keyClick(m_list, Qt::Key_Home);
        QCOMPARE(m_list->curSel(), 0);
        QCOMPARE(m_list->topIndex(), 0);
        QTest::keyClick(m_list, Qt::Key_Up);
        QCOMPARE(m_list->curSel(), 0);
        QCOMPARE(m_events->names(), QStringList(5, "chosen"));
    }

    void selectAllJoinsEveryRowUntilAClickEndsIt() {
        m_list->setCount(3);
        QCOMPARE(m_list->text(), QString());
        m_list->selectAll();
        QVERIFY(m_list->isSelectAll());
        QCOMPARE(m_list->curSel(), 0);  // the top row becomes current
        QCOMPARE(m_list->text(), QStringLiteral("ship\r\nhouse\r\nk\u0107i"));
        const QPoint row2 = m_list->rowRect(2).center();
        sendMouse(m_list->viewport(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
                  row2);
        QVERIFY(!m_list->isSelectAll());
        QCOMPARE(m_list->text(), QStringLiteral("k\u0107i"));
    }

    void selectAllEndsWithSetCurSelAndWithDisabling() {
        m_list->setCount(3);
        m_list->selectAll();
        m_list->setCurSel(1);
        QVERIFY(!m_list->isSelectAll());
        QCOMPARE(m_list->text(), QStringLiteral("house"));
        m_list->selectAll();
        m_list->setEnabled(false);
        QVERIFY(!m_list->isSelectAll());
        m_list->setEnabled(true);
        m_list->selectAll();
        m_list->setCount(2);
        QVERIFY(!m_list->isSelectAll());
    }

    void textsAreDecodedWithTheListsCodePage() {
        m_list->setCount(3);
        m_list->setCodePage(1251);
        QCOMPARE(m_list->itemText(2), QStringLiteral("k\u0436i"));  // 0xE6 in Cyrillic
        m_list->setCodePage(1250);
        QCOMPARE(m_list->itemText(2), QStringLiteral("k\u0107i"));
    }

    void clickSelectsOnPressAndAnnouncesOnRelease() {
        m_list->setCount(3);
        const QPoint row1 = m_list->rowRect(1).center();
        sendMouse(m_list->viewport(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
                  row1);
        QCOMPARE(m_list->curSel(), 1);
        QVERIFY(m_list->hasFocus() || !m_form->isActiveWindow());
        QVERIFY(!m_events->names().contains("chosen"));
        sendMouse(m_list->viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton,
                  row1);
        QVERIFY(m_events->names().contains("chosen"));
        // Releasing below the last row selects but does not announce.
        m_events->events.clear();
        const QPoint empty(10, m_list->rowRect(5).center().y());
        sendMouse(m_list->viewport(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
                  empty);
        sendMouse(m_list->viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton,
                  empty);
        QCOMPARE(m_list->curSel(), 1);
        QVERIFY(!m_events->names().contains("chosen"));
    }

    void dragModeReportsStartMovesAndEnd() {
        m_list->setCount(5);
        m_list->setDragMode(true);
        QWidget* view = m_list->viewport();
        sendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
                  m_list->rowRect(1).center());
        QVERIFY(m_list->isDragging());
        sendMouse(view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
                  m_list->rowRect(2).center());
        sendMouse(view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
                  m_list->rowRect(3).center() + QPoint(0, 1));
        sendMouse(view, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
                  m_list->rowRect(3).center());
        sendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton,
                  m_list->rowRect(3).center());
        QVERIFY(!m_list->isDragging());
        const QList<ListEvent> expected = {
            {"drag start", 1}, {"drag move", 1}, {"drag move", 2}, {"drag end", 3}, {"chosen", 0}};
        QList<ListEvent> seen;
        for (const ListEvent& e : m_events->events) {
            if (!e.name.startsWith("focus")) seen.append(e);
        }
        QCOMPARE(seen, expected);
    }

    void rightButtonAndEscCancelADrag() {
        m_list->setCount(5);
        m_list->setDragMode(true);
        QWidget* view = m_list->viewport();
        sendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
                  m_list->rowRect(1).center());
        sendMouse(view, QEvent::MouseButtonPress, Qt::RightButton, Qt::LeftButton | Qt::RightButton,
                  m_list->rowRect(1).center());
        QVERIFY(!m_list->isDragging());
        QVERIFY(m_events->names().contains("drag cancel"));
        m_events->events.clear();
        sendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
                  m_list->rowRect(2).center());
        QTest::keyClick(m_list, Qt::Key_Escape);
        QVERIFY(!m_list->isDragging());
        QVERIFY(m_events->names().contains("drag cancel"));
    }

    void partlyVisibleLastRowScrollsIntoViewWhenClicked() {
        m_list->setCount(kWordCount);
        const int page = m_list->pageRows();
        const QRect partial = m_list->rowRect(page);
        if (partial.top() >= m_list->viewport()->height()) QSKIP("no partly visible row");
        sendMouse(m_list->viewport(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
                  QPoint(5, partial.top() + 1));
        QCOMPARE(m_list->curSel(), page);
        QCOMPARE(m_list->topIndex(), 1);
    }

    void wheelScrollsOneRowPerNotch() {
        m_list->setCount(kWordCount);
        const QPoint pos = m_list->viewport()->rect().center();
        QWheelEvent down(pos, m_list->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, -240),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_list->viewport(), &down);
        QCOMPARE(m_list->topIndex(), 2);
        QWheelEvent half(pos, m_list->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, 60),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_list->viewport(), &half);
        QCOMPARE(m_list->topIndex(), 2);
        QApplication::sendEvent(m_list->viewport(), &half);
        QCOMPARE(m_list->topIndex(), 1);
    }

    void setTopIndexChecksTheRange() {
        m_list->setCount(kWordCount);
        QCOMPARE(m_list->setTopIndex(kWordCount), -1);
        QCOMPARE(m_list->setTopIndex(-1), -1);
        QCOMPARE(m_list->setTopIndex(3), 0);
        QCOMPARE(m_list->topIndex(), 3);
        // The last page cannot scroll further up than to fill the view.
        QCOMPARE(m_list->setTopIndex(kWordCount - 1), 0);
        QCOMPARE(m_list->topIndex(), kWordCount - m_list->pageRows());
    }

    void systemColorsShadeTheOddRows() {
        QPalette white = m_list->palette();
        white.setColor(QPalette::Base, Qt::white);
        m_list->setPalette(white);
        QCOMPARE(m_list->rowColor(0), QColor(255, 255, 255));
        QCOMPARE(m_list->rowColor(1), QColor(235, 235, 235));
        QPalette black = white;
        black.setColor(QPalette::Base, Qt::black);
        m_list->setPalette(black);
        QCOMPARE(m_list->rowColor(1), QColor(32, 32, 32));
        m_list->setRowColors(Qt::red, Qt::blue);
        m_list->setPalette(white);
        QCOMPARE(m_list->rowColor(1), QColor(Qt::blue));
    }

    void paintsRowColoursAndTheSelection() {
        m_list->setCount(3);
        m_list->setRowColors(QColor(250, 250, 250), QColor(200, 220, 240));
        m_list->setSelectionColors(QColor(10, 20, 120), Qt::white);
        m_list->setCurSel(2);
        const QImage image = m_list->viewport()->grab().toImage();
        const int x = m_list->viewport()->width() - 4;
        const auto at = [&](int row) {
            return image.pixelColor(x, m_list->rowRect(row).center().y());
        };
        QCOMPARE(at(0), QColor(250, 250, 250));
        QCOMPARE(at(1), QColor(200, 220, 240));
        QCOMPARE(at(2), QColor(10, 20, 120));
    }

    void accessibleInterfaceShowsRowsAndSelection() {
        m_list->setCount(3);
        m_list->setCodePage(1250);
        m_list->setCurSel(1);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(m_list);
        QVERIFY(iface != nullptr);
        QCOMPARE(iface->role(), QAccessible::List);
        QCOMPARE(iface->childCount(), 3);
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("house"));
        QAccessibleInterface* row2 = iface->child(2);
        QVERIFY(row2 != nullptr);
        QCOMPARE(row2->role(), QAccessible::ListItem);
        QCOMPARE(row2->text(QAccessible::Name), QStringLiteral("k\u0107i"));
        QCOMPARE(iface->indexOfChild(row2), 2);
        QVERIFY(!row2->state().selected);
        QVERIFY(iface->child(1)->state().selected);
        QAccessibleTableInterface* table = iface->tableInterface();
        QVERIFY(table != nullptr);
        QCOMPARE(table->selectedRows(), QList<int>{1});
        m_list->selectAll();
        QCOMPARE(table->selectedRowCount(), 3);
        QVERIFY(row2->state().selected);
        // A screen reader's choice reaches the owner like a click.
        QVERIFY(table->selectRow(2));
        QCOMPARE(m_list->curSel(), 2);
        QVERIFY(m_events->names().contains("chosen"));
        // Rows past a new, shorter count are gone.
        m_list->setCount(2);
        QCOMPARE(iface->childCount(), 2);
        QVERIFY(iface->child(2) == nullptr);
    }

private:
    static constexpr int kWordCount = 60;
    static inline const char* m_words[kWordCount] = {
        "ship", "house", "k\xE6i", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o",
        "p",    "q",     "r",      "s", "t", "u", "v", "w", "x", "y", "z", "0", "1", "2", "3",
        "4",    "5",     "6",      "7", "8", "9", "a", "b", "c", "d", "e", "f", "g", "h", "i",
        "j",    "k",     "l",      "m", "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x"};
    QWidget* m_form = nullptr;
    ListEvents* m_events = nullptr;
    WListBox* m_list = nullptr;
};

int runListBoxTests(int argc, char** argv) {
    ListBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "list_box_test.moc"
