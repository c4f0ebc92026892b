// SearchEdit: the search edit box of a dictionary pane. Down-arrow and Enter
// both emit entered(), on which the main window moves the focus to the
// pane's list; the right button asks the main window for its own context
// menu instead of the standard edit menu.
#pragma once

#include "ui/widgets/w_edit.h"

class SearchEdit : public WEdit {
    Q_OBJECT

public:
    explicit SearchEdit(QWidget* parent = nullptr, int id = 0);
    ~SearchEdit() override;

protected:
    bool onKeyDown(int key, Qt::KeyboardModifiers modifiers) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};
