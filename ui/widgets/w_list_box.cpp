#include "ui/widgets/w_list_box.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "ui/widgets/w_list_box_accessible.h"

WListBox::WListBox(QWidget* parent, int id) : WListView(parent, id) {
    installListBoxAccessibility();
    setFocusPolicy(Qt::StrongFocus);
}

WListBox::~WListBox() = default;

void WListBox::setItems(const char* const* items) {
    if (items == nullptr) setCount(0);
    showItems(items);
    if (items != m_words.items()) m_words = wordbay::WordList();
    viewport()->update();
}

void WListBox::setWords(wordbay::WordList words) {
    setCount(0);
    m_words = std::move(words);
    showItems(m_words.items());
    setCount(m_words.count());
}

void WListBox::replaceWords(wordbay::WordList words) {
    m_words = std::move(words);
    showItems(m_words.items());
    showCount(m_words.count());
    if (curSel() >= count()) showCurrent(count() - 1);
    viewport()->update();
}

void WListBox::resetContent() { setCount(0); }

int WListBox::setCount(int count, bool repaint) {
    if (count < 0 || (count > 0 && items() == nullptr)) return -1;
    m_dragging = false;
    m_leftDown = false;
    showSelectAll(false);
    showCurrent(-1);
    showCount(count);
    verticalScrollBar()->setValue(0);
    notifyAccessibleReset();
    if (repaint) viewport()->update();
    return 0;
}

int WListBox::setCurSel(int index, bool repaint) {
    if (index < -1 || index >= count()) return -1;
    endSelectAll();
    setCurrent(index);
    ensureVisible(index);
    if (repaint) viewport()->update();
    return index;
}

QString WListBox::text() const {
    if (!isSelectAll()) return itemText(curSel());
    QString all;
    for (int row = 0; row < count(); ++row) {
        if (row > 0) all += QLatin1String("\r\n");
        all += itemText(row);
    }
    return all;
}

void WListBox::selectAll() {
    if (curSel() < 0 && count() > 0) setCurrent(topIndex());
    showSelectAll(true);
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&changed);
    }
}

void WListBox::setDragMode(bool on) {
    if (!on) m_dragging = false;
    m_dragMode = on;
}

bool WListBox::event(QEvent* event) {
    // Esc belongs to the window's accelerators except while it cancels a drag.
    if (event->type() == QEvent::ShortcutOverride && m_dragging &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return WListView::event(event);
}

void WListBox::keyPressEvent(QKeyEvent* event) {
    int target;
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            target = curSel() - 1;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            target = curSel() + 1;
            break;
        case Qt::Key_PageUp:
            target = curSel() - pageRows();
            break;
        case Qt::Key_PageDown:
            target = curSel() + pageRows();
            break;
        case Qt::Key_Home:
            target = 0;
            break;
        case Qt::Key_End:
            target = count() - 1;
            break;
        case Qt::Key_Escape:
            if (m_dragging) {
                cancelDrag();
                event->accept();
                return;
            }
            WListView::keyPressEvent(event);
            return;
        default:
            WListView::keyPressEvent(event);
            return;
    }
    event->accept();
    if (count() > 0) moveCurrentTo(std::clamp(target, 0, count() - 1));
}

void WListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        cancelDrag();
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    setFocus(Qt::MouseFocusReason);
    endSelectAll();
    m_leftDown = true;
    const int row = rowAt(event->position().toPoint());
    if (row < 0) {
        viewport()->update();
        return;
    }
    setCurrent(row);
    ensureVisible(row);  // the partly visible last row scrolls into view
    viewport()->update();
    if (m_dragMode) {
        m_dragging = true;
        emit dragStarted(row);
    }
}

void WListBox::mouseMoveEvent(QMouseEvent* event) {
    if (!m_leftDown || (event->buttons() & Qt::LeftButton) == 0 || count() == 0) return;
    const int y = event->position().toPoint().y();
    int row;
    if (y < 0) {
        row = topIndex() - 1;  // above the list: scroll up a row at a time
    } else if (y >= viewport()->height()) {
        row = topIndex() + pageRows();
    } else {
        row = topIndex() + y / rowHeight();
    }
    row = std::clamp(row, 0, count() - 1);
    if (row == curSel()) return;
    const int previous = curSel();
    setCurrent(row);
    ensureVisible(row);
    viewport()->update();
    if (m_dragging) emit dragMoved(previous);
}

void WListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_leftDown) {
        event->ignore();
        return;
    }
    m_leftDown = false;
    if (m_dragging) {
        m_dragging = false;
        emit dragEnded(curSel());
    }
    if (rowAt(event->position().toPoint()) >= 0) emit rowChosen();
}

void WListBox::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void WListBox::focusInEvent(QFocusEvent* event) {
    WListView::focusInEvent(event);
    viewport()->update();
    emit focusEntered();
}

void WListBox::focusOutEvent(QFocusEvent* event) {
    WListView::focusOutEvent(event);
    viewport()->update();
    emit focusLeft();
}

void WListBox::changeEvent(QEvent* event) {
    WListView::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        m_dragging = false;
        m_leftDown = false;
        endSelectAll();
        viewport()->update();
    }
}

void WListBox::moveCurrentTo(int row) {
    if (row == curSel()) return;
    setCurrent(row);
    ensureVisible(row);
    viewport()->update();
    emit rowChosen();
}

void WListBox::setCurrent(int row) {
    if (row == curSel()) return;
    showCurrent(row);
    notifyAccessibleCurrent();
}

void WListBox::cancelDrag() {
    if (!m_dragging) return;
    m_dragging = false;
    emit dragCancelled();
}

void WListBox::endSelectAll() {
    if (!isSelectAll()) return;
    showSelectAll(false);
    viewport()->update();
}

void WListBox::notifyAccessibleCurrent() {
    if (!QAccessible::isActive() || curSel() < 0) return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(curSel());
    QAccessible::updateAccessibility(&focus);
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(curSel());
    QAccessible::updateAccessibility(&selection);
}

void WListBox::notifyAccessibleReset() {
    if (!QAccessible::isActive()) return;
    QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
}
