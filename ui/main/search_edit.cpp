#include "ui/main/search_edit.h"

#include <QContextMenuEvent>

SearchEdit::SearchEdit(QWidget* parent, int id) : WEdit(parent, id) {}

SearchEdit::~SearchEdit() = default;

bool SearchEdit::onKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Down && (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier) {
        emit entered();
        return true;
    }
    return false;
}

// Ignored, the event travels up to the main window, which shows the menu of
// the pane's controls.
void SearchEdit::contextMenuEvent(QContextMenuEvent* event) { event->ignore(); }
