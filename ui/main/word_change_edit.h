// WordChangeEdit: the one-line box that changes a word in place. It lies over
// the client area of a result list, in the list's font, holding the word with
// the caret at its end. Enter hands its text over (accepted) and hides it;
// Esc or losing the focus hides it without a change.
#pragma once

#include <QLineEdit>

class WListBox;

class WordChangeEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit WordChangeEdit(WListBox* list);
    ~WordChangeEdit() override;

    // Shows the box over the list holding `word` and gives it the focus.
    void open(const QString& word);

signals:
    void accepted(const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    WListBox* m_list;
};
