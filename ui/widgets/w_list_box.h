// WListBox: the program's result list. A virtual list over an array of text
// pointers that it does not own (normally the engine's result array): only
// the rows in view are read, decoded from the list's code page and painted,
// so a result of any size is shown without copying. Rows alternate two
// background colours; the current row uses the selection colours; a
// select-all mode marks every row. The user's changes are announced by its
// signals: rowChosen(), focusEntered(), focusLeft() and, in drag mode,
// dragStarted(), dragMoved(), dragEnded() and dragCancelled().
// Screen readers (and tests) read the rows and the selection through the
// list's accessible interface.
//
// Everything here runs on the user-interface thread.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <cstdint>

#include "app/word_list.h"
#include "ui/widgets/w_control.h"

class WListBox : public QAbstractScrollArea, public WControl {
    Q_OBJECT

public:
    explicit WListBox(QWidget* parent = nullptr, int id = 0);
    ~WListBox() override;

    // The texts: `items` holds at least count() pointers to zero-terminated
    // texts in the list's code page (a null pointer shows an empty row). The
    // list reads them whenever it paints, so the array and the texts must stay
    // valid while the count is above 0; set the count to 0 before they go.
    // A null array empties the list.
    void setItems(const char* const* items);
    // The item array (what LB_GETLOCALE answers in this control).
    const char* const* items() const { return m_items; }
    // Shows `words` (as setItems() and setCount() do); the list holds them,
    // and what they point into, until it is given other words or items.
    void setWords(wordbay::WordList words);
    // Shows `words` in place of the rows shown, keeping the current row,
    // select-all mode and a drag under way (the words of a list changed in
    // place).
    void replaceWords(wordbay::WordList words);
    // The words given with setWords() or replaceWords() and still shown.
    const wordbay::WordList& words() const { return m_words; }

    // Count 0; ends select-all mode.
    void resetContent();
    // Shows the first `count` entries of the array; no current row, top row 0,
    // no drag, select-all mode ends. Returns 0, or -1 (nothing changes) for a
    // negative count or a positive count without an item array.
    int setCount(int count, bool repaint = true);
    int count() const { return m_count; }
    // Makes `index` the current row (-1: none), scrolled into view; no
    // notification. Returns `index`, or -1 when it is outside -1 .. count - 1,
    // which leaves the current row as it was. Ends select-all mode.
    int setCurSel(int index, bool repaint = true);
    int curSel() const { return m_current; }
    // Scrolls `index` to the top, as far as the scroll range allows. Returns
    // 0, or -1 for an index outside 0 .. count - 1.
    int setTopIndex(int index);
    int topIndex() const;
    // The text pointer of row `index` as an integer, or -1 out of range.
    qintptr itemData(int index) const;
    // Row `index` decoded; empty out of range.
    QString itemText(int index) const;
    // In select-all mode every row joined by CR LF (none after the last);
    // otherwise the current row, or empty without one.
    QString text() const;
    // The row under `pos` (viewport coordinates), or -1.
    int rowAt(const QPoint& pos) const;
    // Rectangle of `row` in viewport coordinates (it may lie outside the view).
    QRect rowRect(int row) const;

    // The code page of the texts (default 1252).
    void setCodePage(std::uint32_t codePage);
    std::uint32_t codePage() const { return m_codePage; }

    // Marks every row as selected (the top row becomes current when there is
    // none) until a click, setCurSel(), setCount(), resetContent() or enabling
    // or disabling the list ends it.
    void selectAll();
    bool isSelectAll() const { return m_selectAll; }

    // In drag mode pressing the left button on a row starts a drag (used to
    // reorder translations).
    void setDragMode(bool on);
    bool dragMode() const { return m_dragMode; }
    bool isDragging() const { return m_dragging; }

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

    int rowHeight() const { return m_rowHeight; }
    // Rows fully in view (at least 1): the size of a page.
    int pageRows() const;

signals:
    // The user made another row current (keys, a click on a row), or
    // clicked the current row again.
    void rowChosen();
    void focusEntered();
    void focusLeft();
    // In drag mode: the left button went down on `row`; the drag moved on
    // from `previousRow` to the current row; it ended on `row`; Esc or the
    // right button cancelled it.
    void dragStarted(int row);
    void dragMoved(int previousRow);
    void dragEnded(int row);
    void dragCancelled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class WListBoxAccessible;

    void updateRowHeight();
    void updateScrollRange();
    void ensureVisible(int row);
    // Moves the current row as the user does: scrolls it into view and emits
    // rowChosen() when it changed.
    void moveCurrentTo(int row);
    void setCurrent(int row);
    // Ends a drag with dragCancelled() (the user's Esc or right button).
    void cancelDrag();
    void endSelectAll();
    void applySystemColors();
    void notifyAccessibleCurrent();
    void notifyAccessibleReset();

    const char* const* m_items = nullptr;
    wordbay::WordList m_words;  // holds m_items when they came as words
    int m_count = 0;
    int m_current = -1;
    int m_rowHeight = 16;
    std::uint32_t m_codePage = 1252;
    bool m_selectAll = false;
    bool m_dragMode = false;
    bool m_dragging = false;
    bool m_leftDown = false;
    bool m_systemColors = true;
    int m_wheelRemainder = 0;
    QColor m_evenColor;
    QColor m_oddColor;
    QColor m_selectionBackground;
    QColor m_selectionText;
    QColor m_textColor;
};
