#include "ui/widgets/w_edit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

#include "ui/widgets/code_page_text.h"

WEdit::WEdit(QWidget* parent, int id) : QLineEdit(parent), WControl(this, id) {}

WEdit::~WEdit() = default;

void WEdit::setProgramText(const QString& text) {
    // QLineEdit reports nothing for an unchanged text; a flag raised then would
    // swallow the user's next change.
    if (text == this->text()) return;
    m_setByProgram = true;
    setText(text);
}

void WEdit::setProgramEncodedText(std::string_view text) {
    setProgramText(decodeText(m_codePage, text));
}

std::string WEdit::encodedText(bool* lossy) const { return encodeText(m_codePage, text(), lossy); }

bool WEdit::onKeyDown(int, Qt::KeyboardModifiers) { return false; }
bool WEdit::onPreEvent(QEvent*) { return false; }
bool WEdit::onContextMenu(const QPoint&) { return false; }

bool WEdit::event(QEvent* event) {
    if (onPreEvent(event)) return true;
    return QLineEdit::event(event);
}

void WEdit::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void WEdit::keyReleaseEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        emit entered();
        return;
    }
    QLineEdit::keyReleaseEvent(event);
}

void WEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange) applyReadOnlyLook();
}

void WEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (onContextMenu(event->globalPos())) {
        event->accept();
        return;
    }
    QLineEdit::contextMenuEvent(event);
}

// A read-only box shows the window colour behind its text, the way the
// system draws boxes the user cannot type into; its own base colour returns
// when it is writable again.
void WEdit::applyReadOnlyLook() {
    QPalette p = palette();
    if (isReadOnly()) {
        m_writableBase = p.brush(QPalette::Base);
        p.setBrush(QPalette::Base, p.brush(QPalette::Window));
    } else {
        p.setBrush(QPalette::Base, m_writableBase);
    }
    setPalette(p);
}
