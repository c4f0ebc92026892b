#include "ui/widgets/w_list_box.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <algorithm>

#include "ui/widgets/code_page_text.h"
#include "ui/widgets/colors.h"
#include "ui/widgets/w_list_box_accessible.h"

namespace {

constexpr int kTextIndent = 2;  // pixels between the row's left edge and its text
constexpr int kWheelNotch = 120;

}  // namespace

WListBox::WListBox(QWidget* parent, int id) : QAbstractScrollArea(parent), WControl(this, id) {
    installListBoxAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(1);
    applySystemColors();
    updateRowHeight();
    updateScrollRange();
}

WListBox::~WListBox() = default;

void WListBox::setItems(const char* const* items) {
    if (items == nullptr) setCount(0);
    m_items = items;
    if (items != m_words.items()) m_words = wordbay::WordList();
    viewport()->update();
}

void WListBox::setWords(wordbay::WordList words) {
    setCount(0);
    m_words = std::move(words);
    m_items = m_words.items();
    setCount(m_words.count());
}

void WListBox::replaceWords(wordbay::WordList words) {
    m_words = std::move(words);
    m_items = m_words.items();
    m_count = m_words.count();
    if (m_current >= m_count) m_current = m_count - 1;
    updateScrollRange();
    viewport()->update();
}

void WListBox::resetContent() { setCount(0); }

int WListBox::setCount(int count, bool repaint) {
    if (count < 0 || (count > 0 && m_items == nullptr)) return -1;
    m_dragging = false;
    m_leftDown = false;
    m_selectAll = false;
    m_count = count;
    m_current = -1;
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    notifyAccessibleReset();
    if (repaint) viewport()->update();
    return 0;
}

int WListBox::setCurSel(int index, bool repaint) {
    if (index < -1 || index >= m_count) return -1;
    endSelectAll();
    setCurrent(index);
    ensureVisible(index);
    if (repaint) viewport()->update();
    return index;
}

int WListBox::setTopIndex(int index) {
    if (index < 0 || index >= m_count) return -1;
    verticalScrollBar()->setValue(index);
    return 0;
}

int WListBox::topIndex() const { return verticalScrollBar()->value(); }

qintptr WListBox::itemData(int index) const {
    if (index < 0 || index >= m_count) return -1;
    return reinterpret_cast<qintptr>(m_items[index]);
}

QString WListBox::itemText(int index) const {
    if (index < 0 || index >= m_count || m_items[index] == nullptr) return QString();
    return decodeText(m_codePage, m_items[index]);
}

QString WListBox::text() const {
    if (!m_selectAll) return itemText(m_current);
    QString all;
    for (int row = 0; row < m_count; ++row) {
        if (row > 0) all += QLatin1String("\r\n");
        all += itemText(row);
    }
    return all;
}

int WListBox::rowAt(const QPoint& pos) const {
    if (pos.y() < 0 || pos.x() < 0 || pos.x() >= viewport()->width()) return -1;
    if (pos.y() >= viewport()->height()) return -1;
    const int row = topIndex() + pos.y() / m_rowHeight;
    return row < m_count ? row : -1;
}

QRect WListBox::rowRect(int row) const {
    return QRect(0, (row - topIndex()) * m_rowHeight, viewport()->width(), m_rowHeight);
}

void WListBox::setCodePage(std::uint32_t codePage) {
    m_codePage = codePage;
    viewport()->update();
}

void WListBox::selectAll() {
    if (m_current < 0 && m_count > 0) setCurrent(topIndex());
    m_selectAll = true;
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

void WListBox::setRowColors(const QColor& even, const QColor& odd) {
    m_systemColors = false;
    m_evenColor = even;
    m_oddColor = odd;
    viewport()->update();
}

void WListBox::setSelectionColors(const QColor& background, const QColor& text) {
    m_systemColors = false;
    m_selectionBackground = background;
    m_selectionText = text;
    viewport()->update();
}

void WListBox::setTextColor(const QColor& text) {
    m_systemColors = false;
    m_textColor = text;
    viewport()->update();
}

void WListBox::useSystemColors() {
    m_systemColors = true;
    applySystemColors();
    viewport()->update();
}

int WListBox::pageRows() const { return std::max(1, viewport()->height() / m_rowHeight); }

void WListBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    const bool enabled = isEnabled();
    const QPalette& pal = palette();
    painter.fillRect(area, enabled ? m_evenColor : pal.color(QPalette::Disabled, QPalette::Window));
    const int top = topIndex();
    // Every row of which a pixel shows, the partly visible last one included.
    const int last = std::min(m_count - 1, top + (area.height() + m_rowHeight - 1) / m_rowHeight);
    for (int row = top; row <= last; ++row) {
        const QRect rect = rowRect(row);
        const bool selected = m_selectAll || row == m_current;
        QColor background;
        QColor foreground;
        if (!enabled) {
            background = selected ? pal.color(QPalette::Disabled, QPalette::Mid)
                                  : pal.color(QPalette::Disabled, QPalette::Window);
            foreground = pal.color(QPalette::Disabled, QPalette::WindowText);
        } else if (selected) {
            background = m_selectionBackground;
            foreground = m_selectionText;
        } else {
            background = rowColor(row);
            foreground = m_textColor;
        }
        painter.fillRect(rect, background);
        const char* item = m_items[row];
        if (item != nullptr && *item != '\0') {
            painter.setPen(foreground);
            painter.drawText(rect.adjusted(kTextIndent, 0, 0, 0),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             decodeText(m_codePage, item));
        }
    }
    if (hasFocus() && m_current >= top && m_current <= last) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rowRect(m_current);
        option.backgroundColor = m_selectionBackground;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void WListBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void WListBox::scrollContentsBy(int, int) { viewport()->update(); }

bool WListBox::event(QEvent* event) {
    // Esc belongs to the window's accelerators except while it cancels a drag.
    if (event->type() == QEvent::ShortcutOverride && m_dragging &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void WListBox::keyPressEvent(QKeyEvent* event) {
    int target;
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            target = m_current - 1;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            target = m_current + 1;
            break;
        case Qt::Key_PageUp:
            target = m_current - pageRows();
            break;
        case Qt::Key_PageDown:
            target = m_current + pageRows();
            break;
        case Qt::Key_Home:
            target = 0;
            break;
        case Qt::Key_End:
            target = m_count - 1;
            break;
        case Qt::Key_Escape:
            if (m_dragging) {
                cancelDrag();
                event->accept();
                return;
            }
            QAbstractScrollArea::keyPressEvent(event);
            return;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
    if (m_count > 0) moveCurrentTo(std::clamp(target, 0, m_count - 1));
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
    if (!m_leftDown || (event->buttons() & Qt::LeftButton) == 0 || m_count == 0) return;
    const int y = event->position().toPoint().y();
    int row;
    if (y < 0) {
        row = topIndex() - 1;  // above the list: scroll up a row at a time
    } else if (y >= viewport()->height()) {
        row = topIndex() + pageRows();
    } else {
        row = topIndex() + y / m_rowHeight;
    }
    row = std::clamp(row, 0, m_count - 1);
    if (row == m_current) return;
    const int previous = m_current;
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
        emit dragEnded(m_current);
    }
    if (rowAt(event->position().toPoint()) >= 0) emit rowChosen();
}

void WListBox::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void WListBox::wheelEvent(QWheelEvent* event) {
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= notches * kWheelNotch;
    if (notches != 0) verticalScrollBar()->setValue(topIndex() - notches);
    event->accept();
}

void WListBox::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    emit focusEntered();
}

void WListBox::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
    emit focusLeft();
}

void WListBox::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    switch (event->type()) {
        case QEvent::EnabledChange:
            m_dragging = false;
            m_leftDown = false;
            endSelectAll();
            viewport()->update();
            break;
        case QEvent::FontChange:
            updateRowHeight();
            updateScrollRange();
            viewport()->update();
            break;
        case QEvent::PaletteChange:
        case QEvent::StyleChange:
            if (m_systemColors) applySystemColors();
            viewport()->update();
            break;
        default:
            break;
    }
}

void WListBox::updateRowHeight() { m_rowHeight = std::max(1, fontMetrics().height() + 2); }

void WListBox::updateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, m_count - pageRows()));
    bar->setPageStep(pageRows());
}

void WListBox::ensureVisible(int row) {
    if (row < 0 || row >= m_count) return;
    const int top = topIndex();
    if (row < top) {
        verticalScrollBar()->setValue(row);
    } else if (row >= top + pageRows()) {
        verticalScrollBar()->setValue(row - pageRows() + 1);
    }
}

void WListBox::moveCurrentTo(int row) {
    if (row == m_current) return;
    setCurrent(row);
    ensureVisible(row);
    viewport()->update();
    emit rowChosen();
}

void WListBox::setCurrent(int row) {
    if (row == m_current) return;
    m_current = row;
    notifyAccessibleCurrent();
}

void WListBox::cancelDrag() {
    if (!m_dragging) return;
    m_dragging = false;
    emit dragCancelled();
}

void WListBox::endSelectAll() {
    if (!m_selectAll) return;
    m_selectAll = false;
    viewport()->update();
}

void WListBox::applySystemColors() {
    const QPalette& pal = palette();
    m_evenColor = pal.color(QPalette::Active, QPalette::Base);
    m_oddColor = shadeOf(m_evenColor, 20, 32);
    m_selectionBackground = pal.color(QPalette::Active, QPalette::Highlight);
    m_selectionText = pal.color(QPalette::Active, QPalette::HighlightedText);
    m_textColor = pal.color(QPalette::Active, QPalette::Text);
}

void WListBox::notifyAccessibleCurrent() {
    if (!QAccessible::isActive() || m_current < 0) return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(m_current);
    QAccessible::updateAccessibility(&focus);
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(m_current);
    QAccessible::updateAccessibility(&selection);
}

void WListBox::notifyAccessibleReset() {
    if (!QAccessible::isActive()) return;
    QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
}
