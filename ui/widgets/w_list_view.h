// WListView: how the result list shows its rows: a scroll area over rows of
// one height, only the rows in view decoded (from the list's code page) and
// painted, in two alternating background colours, the current row (or every
// row in select-all mode) in the selection colours. It shows what WListBox,
// which keeps the rows and takes the user's keys and mouse, gives it.
//
// Everything here runs on the user-interface thread.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <cstdint>

#include "ui/widgets/w_control.h"

class WListView : public QAbstractScrollArea, public WControl {
    Q_OBJECT

public:
    explicit WListView(QWidget* parent = nullptr, int id = 0);

    // The item array (what LB_GETLOCALE answers in this control).
    const char* const* items() const { return m_items; }
    int count() const { return m_count; }
    int curSel() const { return m_current; }
    bool isSelectAll() const { return m_selectAll; }
    // The text pointer of row `index` as an integer, or -1 out of range.
    qintptr itemData(int index) const;
    // Row `index` decoded; empty out of range.
    QString itemText(int index) const;

    // The code page of the texts (default 1252).
    void setCodePage(std::uint32_t codePage);
    std::uint32_t codePage() const { return m_codePage; }

    // Scrolls `index` to the top, as far as the scroll range allows. Returns
    // 0, or -1 for an index outside 0 .. count - 1.
    int setTopIndex(int index);
    int topIndex() const;
    // The row under `pos` (viewport coordinates), or -1.
    int rowAt(const QPoint& pos) const;
    // Rectangle of `row` in viewport coordinates (it may lie outside the view).
    QRect rowRect(int row) const;
    int rowHeight() const { return m_rowHeight; }
    // Rows fully in view (at least 1): the size of a page.
    int pageRows() const;

    // Colours. Setting any of them turns system colours off.
    void setRowColors(const QColor& even, const QColor& odd);
    void setSelectionColors(const QColor& background, const QColor& text);
    void setTextColor(const QColor& text);
    // System colours (the default): the window colour, the same darkened by
    // 20 per channel (or lightened by 32 when that gives black) for odd rows,
    // the highlight colours for the current row. Followed when the palette
    // changes.
    void useSystemColors();
    bool usesSystemColors() const { return m_systemColors; }
    QColor rowColor(int row) const { return (row & 1) != 0 ? m_oddColor : m_evenColor; }
    QColor selectionColor() const { return m_selectionBackground; }
    QColor selectionTextColor() const { return m_selectionText; }
    QColor textColor() const { return m_textColor; }

protected:
    // What is shown: the rows' texts, how many of them (the scroll range
    // follows), the current row (-1: none) and select-all mode. The caller
    // repaints.
    void showItems(const char* const* items) { m_items = items; }
    void showCount(int count);
    void showCurrent(int row) { m_current = row; }
    void showSelectAll(bool on) { m_selectAll = on; }
    // Scrolls `row` into view when it is a row.
    void ensureVisible(int row);
    void updateScrollRange();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateRowHeight();
    void applySystemColors();

    const char* const* m_items = nullptr;
    int m_count = 0;
    int m_current = -1;
    bool m_selectAll = false;
    int m_rowHeight = 16;
    std::uint32_t m_codePage = 1252;
    bool m_systemColors = true;
    int m_wheelRemainder = 0;
    QColor m_evenColor;
    QColor m_oddColor;
    QColor m_selectionBackground;
    QColor m_selectionText;
    QColor m_textColor;
};
