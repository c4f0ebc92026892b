#include "ui/widgets/w_list_view.h"

#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <algorithm>

#include "ui/widgets/code_page_text.h"
#include "ui/widgets/colors.h"

namespace {

constexpr int kTextIndent = 2;  // pixels between the row's left edge and its text
constexpr int kWheelNotch = 120;

}  // namespace

WListView::WListView(QWidget* parent, int id) : QAbstractScrollArea(parent), WControl(this, id) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(1);
    applySystemColors();
    updateRowHeight();
    updateScrollRange();
}

qintptr WListView::itemData(int index) const {
    if (index < 0 || index >= m_count) return -1;
    return reinterpret_cast<qintptr>(m_items[index]);
}

QString WListView::itemText(int index) const {
    if (index < 0 || index >= m_count || m_items[index] == nullptr) return QString();
    return decodeText(m_codePage, m_items[index]);
}

void WListView::setCodePage(std::uint32_t codePage) {
    m_codePage = codePage;
    viewport()->update();
}

int WListView::setTopIndex(int index) {
    if (index < 0 || index >= m_count) return -1;
    verticalScrollBar()->setValue(index);
    return 0;
}

int WListView::topIndex() const { return verticalScrollBar()->value(); }

int WListView::rowAt(const QPoint& pos) const {
    if (pos.y() < 0 || pos.x() < 0 || pos.x() >= viewport()->width()) return -1;
    if (pos.y() >= viewport()->height()) return -1;
    const int row = topIndex() + pos.y() / m_rowHeight;
    return row < m_count ? row : -1;
}

QRect WListView::rowRect(int row) const {
    return QRect(0, (row - topIndex()) * m_rowHeight, viewport()->width(), m_rowHeight);
}

int WListView::pageRows() const { return std::max(1, viewport()->height() / m_rowHeight); }

void WListView::setRowColors(const QColor& even, const QColor& odd) {
    m_systemColors = false;
    m_evenColor = even;
    m_oddColor = odd;
    viewport()->update();
}

void WListView::setSelectionColors(const QColor& background, const QColor& text) {
    m_systemColors = false;
    m_selectionBackground = background;
    m_selectionText = text;
    viewport()->update();
}

void WListView::setTextColor(const QColor& text) {
    m_systemColors = false;
    m_textColor = text;
    viewport()->update();
}

void WListView::useSystemColors() {
    m_systemColors = true;
    applySystemColors();
    viewport()->update();
}

void WListView::showCount(int count) {
    m_count = count;
    updateScrollRange();
}

void WListView::ensureVisible(int row) {
    if (row < 0 || row >= m_count) return;
    const int top = topIndex();
    if (row < top) {
        verticalScrollBar()->setValue(row);
    } else if (row >= top + pageRows()) {
        verticalScrollBar()->setValue(row - pageRows() + 1);
    }
}

void WListView::updateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, m_count - pageRows()));
    bar->setPageStep(pageRows());
}

void WListView::paintEvent(QPaintEvent*) {
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

void WListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void WListView::scrollContentsBy(int, int) { viewport()->update(); }

void WListView::wheelEvent(QWheelEvent* event) {
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= notches * kWheelNotch;
    if (notches != 0) verticalScrollBar()->setValue(topIndex() - notches);
    event->accept();
}

void WListView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    switch (event->type()) {
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

void WListView::updateRowHeight() { m_rowHeight = std::max(1, fontMetrics().height() + 2); }

void WListView::applySystemColors() {
    const QPalette& pal = palette();
    m_evenColor = pal.color(QPalette::Active, QPalette::Base);
    m_oddColor = shadeOf(m_evenColor, 20, 32);
    m_selectionBackground = pal.color(QPalette::Active, QPalette::Highlight);
    m_selectionText = pal.color(QPalette::Active, QPalette::HighlightedText);
    m_textColor = pal.color(QPalette::Active, QPalette::Text);
}
