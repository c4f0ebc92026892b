// WImageButton: a button of the button bar, painted from a cell of an image
// strip, with an optional text. A push button emits activated() when it is
// pressed and released over it; a toggle button also flips its toggled state
// first. activated() comes after the mouse event is over. The button highlights while the mouse is
// over it, looks pressed while the left button is held and while toggled on, takes no keyboard
// focus and ignores the right and middle buttons. Its accessible name is its text, or its tip when
// it has no text.
#pragma once

#include <QAbstractButton>

#include "ui/widgets/w_control.h"

class ImageStrip;

class WImageButton : public QAbstractButton, public WControl {
    Q_OBJECT

public:
    enum class Kind { kPush = 1, kToggle = 5 };

    // Image `imageIndex` of `strip` (the standard strip when null; the strip
    // must outlive the button).
    WImageButton(QWidget* parent, int id, Kind kind, int imageIndex,
                 const ImageStrip* strip = nullptr);
    ~WImageButton() override;

    Kind kind() const { return m_kind; }
    void setImage(int imageIndex, const ImageStrip* strip = nullptr);
    int imageIndex() const { return m_imageIndex; }
    // Stores the toggled state of a toggle button and repaints; no command.
    void setToggled(bool on);
    bool isToggled() const { return isChecked(); }
    void setTextAlignment(Qt::Alignment alignment);
    Qt::Alignment textAlignment() const { return m_alignment; }
    bool isHovered() const { return m_hovered; }
    // True while the left button is held with the cursor over the button.
    bool isPressed() const { return m_pressed && m_inside; }

    QSize sizeHint() const override;

signals:
    // Emitted after clicked(), once the event that clicked it is over.
    void activated();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void nameFromTip();

    const ImageStrip* m_strip;
    Kind m_kind;
    int m_imageIndex;
    Qt::Alignment m_alignment = Qt::AlignCenter;
    bool m_hovered = false;
    bool m_pressed = false;
    bool m_inside = false;
    bool m_nameFromTip = false;
};
