// WEdit: a one-line edit box of the program. Every text change is announced
// by textChanged(); a change made through setProgramText() raises the
// set-by-program flag first, so that a handler can tell it from typing,
// clear the flag and ignore it. Releasing Enter emits entered(). The text is shown in Unicode and
// converts to and from the code page of the list the box belongs to.
#pragma once

#include <QLineEdit>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/widgets/w_control.h"

class WEdit : public QLineEdit, public WControl {
    Q_OBJECT

public:
    explicit WEdit(QWidget* parent = nullptr, int id = 0);
    ~WEdit() override;

    // Replaces the text as a program change. The same text again changes
    // nothing (no notification, no flag).
    void setProgramText(const QString& text);
    // The same with text in the box's code page.
    void setProgramEncodedText(std::string_view text);
    bool isSetByProgram() const { return m_setByProgram; }
    void clearSetByProgram() { m_setByProgram = false; }

    // The code page of the list this box searches (default 1252).
    void setCodePage(std::uint32_t codePage) { m_codePage = codePage; }
    std::uint32_t codePage() const { return m_codePage; }
    // The text in the code page; a character the page lacks becomes '?' and
    // sets *lossy when given.
    std::string encodedText(bool* lossy = nullptr) const;

signals:
    // Enter was released in the box.
    void entered();

protected:
    // True when the key was consumed.
    virtual bool onKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Sees every event first; true consumes it.
    virtual bool onPreEvent(QEvent* event);
    // True when the program showed its own menu; otherwise the standard edit
    // menu appears.
    virtual bool onContextMenu(const QPoint& globalPos);

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void applyReadOnlyLook();

    QBrush m_writableBase;
    std::uint32_t m_codePage = 1252;
    bool m_setByProgram = false;
};
