// WListBox: the program's result list. A virtual list over an array of text
// pointers that it does not own (normally the engine's result array): only
// the rows in view are read, decoded from the list's code page and painted
// (by WListView, which draws and scrolls it), so a result of any size is
// shown without copying. WListBox keeps the rows, the current row, a
// select-all mode that marks every row and the drag mode, and takes the
// user's keys and mouse. The user's changes are announced by its signals:
// rowChosen(), focusEntered(), focusLeft() and, in drag mode, dragStarted(),
// dragMoved(), dragEnded() and dragCancelled().
// Screen readers (and tests) read the rows and the selection through the
// list's accessible interface.
//
// Everything here runs on the user-interface thread.
#pragma once

#include "app/word_list.h"
#include "ui/widgets/w_list_view.h"

class WListBox : public WListView {
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
    // Makes `index` the current row (-1: none), scrolled into view; no
    // notification. Returns `index`, or -1 when it is outside -1 .. count - 1,
    // which leaves the current row as it was. Ends select-all mode.
    int setCurSel(int index, bool repaint = true);
    // In select-all mode every row joined by CR LF (none after the last);
    // otherwise the current row, or empty without one.
    QString text() const;

    // Marks every row as selected (the top row becomes current when there is
    // none) until a click, setCurSel(), setCount(), resetContent() or enabling
    // or disabling the list ends it.
    void selectAll();

    // In drag mode pressing the left button on a row starts a drag (used to
    // reorder translations).
    void setDragMode(bool on);
    bool dragMode() const { return m_dragMode; }
    bool isDragging() const { return m_dragging; }

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
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class WListBoxAccessible;

    // Moves the current row as the user does: scrolls it into view and emits
    // rowChosen() when it changed.
    void moveCurrentTo(int row);
    void setCurrent(int row);
    // Ends a drag with dragCancelled() (the user's Esc or right button).
    void cancelDrag();
    void endSelectAll();
    void notifyAccessibleCurrent();
    void notifyAccessibleReset();

    wordbay::WordList m_words;  // holds the items when they came as words
    bool m_dragMode = false;
    bool m_dragging = false;
    bool m_leftDown = false;
};
