#include "ui/main/word_change_edit.h"

#include <QKeyEvent>

#include "ui/widgets/w_list_box.h"

WordChangeEdit::WordChangeEdit(WListBox* list) : QLineEdit(list), m_list(list) {
    setObjectName(QStringLiteral("wordChangeEdit"));
    hide();
}

WordChangeEdit::~WordChangeEdit() = default;

void WordChangeEdit::open(const QString& word) {
    setFont(m_list->font());
    setGeometry(m_list->viewport()->geometry());
    setText(word);
    end(false);
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

bool WordChangeEdit::event(QEvent* event) {
    // Enter and Esc belong to the box, not to the window's accelerators.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void WordChangeEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const QString changed = text();
            hide();
            m_list->setFocus(Qt::OtherFocusReason);
            emit accepted(changed);
            return;
        }
        case Qt::Key_Escape:
            hide();
            m_list->setFocus(Qt::OtherFocusReason);
            return;
        default:
            QLineEdit::keyPressEvent(event);
    }
}

void WordChangeEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    hide();
}
