#include "ui/widgets/w_image_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include "ui/widgets/image_strip.h"

namespace {

constexpr int kPadding = 3;  // pixels between the frame and the image
constexpr int kTextGap = 4;  // pixels between the image and the text

}  // namespace

WImageButton::WImageButton(QWidget* parent, int id, Kind kind, int imageIndex,
                           const ImageStrip* strip)
    : QAbstractButton(parent)
    , WControl(this, id)
    , m_strip(strip != nullptr ? strip : &ImageStrip::standard())
    , m_kind(kind)
    , m_imageIndex(imageIndex) {
    setFocusPolicy(Qt::NoFocus);
    setCheckable(kind == Kind::kToggle);
    setAttribute(Qt::WA_Hover);
    // Clicks of the mouse, of the program and of screen readers all end here.
    connect(this, &QAbstractButton::clicked, this, [this] {
        QMetaObject::invokeMethod(this, &WImageButton::activated, Qt::QueuedConnection);
    });
}

WImageButton::~WImageButton() = default;

void WImageButton::setImage(int imageIndex, const ImageStrip* strip) {
    if (strip != nullptr) m_strip = strip;
    m_imageIndex = imageIndex;
    updateGeometry();
    update();
}

void WImageButton::setToggled(bool on) {
    if (m_kind != Kind::kToggle) return;
    setChecked(on);
    update();
}

void WImageButton::setTextAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

QSize WImageButton::sizeHint() const {
    const QSize cell = m_strip->cellSize();
    int width = cell.width() + 2 * kPadding;
    if (!text().isEmpty()) width += kTextGap + fontMetrics().horizontalAdvance(text());
    const int height = std::max(cell.height(), fontMetrics().height()) + 2 * kPadding;
    return QSize(width, height);
}

bool WImageButton::event(QEvent* event) {
    const bool handled = QAbstractButton::event(event);
    if (event->type() == QEvent::ToolTipChange) nameFromTip();
    return handled;
}

void WImageButton::nameFromTip() {
    // A name someone gave the button on purpose stays.
    if (!accessibleName().isEmpty() && !m_nameFromTip) return;
    if (!text().isEmpty()) return;
    setAccessibleName(toolTip());
    m_nameFromTip = true;
}

void WImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    const bool sunken = isPressed() || isChecked();
    QColor face = pal.color(QPalette::Button);
    if (sunken) {
        face = face.darker(118);
    } else if (m_hovered && isEnabled()) {
        face = face.lighter(112);
    }
    painter.fillRect(rect(), face);
    if (sunken || (m_hovered && isEnabled())) {
        const QColor light = pal.color(QPalette::Light);
        const QColor dark = pal.color(QPalette::Dark);
        painter.setPen(sunken ? dark : light);
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(sunken ? light : dark);
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());
    }

    QPixmap image = m_strip->image(m_imageIndex);
    if (!isEnabled() && !image.isNull()) {
        QStyleOption option;
        option.initFrom(this);
        image = style()->generatedIconPixmap(QIcon::Disabled, image, &option);
    }
    const QPoint shift = isPressed() ? QPoint(1, 1) : QPoint(0, 0);
    const QRect inner = rect().adjusted(kPadding, kPadding, -kPadding, -kPadding).translated(shift);
    const QSize cell = m_strip->cellSize();
    if (text().isEmpty()) {
        if (!image.isNull()) {
            painter.drawPixmap(inner.x() + (inner.width() - cell.width()) / 2,
                               inner.y() + (inner.height() - cell.height()) / 2, image);
        }
        return;
    }
    QRect textRect = inner;
    if (!image.isNull()) {
        painter.drawPixmap(inner.x(), inner.y() + (inner.height() - cell.height()) / 2, image);
        textRect.setLeft(inner.x() + cell.width() + kTextGap);
    }
    painter.setPen(
        pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textRect, int(m_alignment) | Qt::TextSingleLine, text());
}

void WImageButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed = true;
    m_inside = true;
    update();
}

void WImageButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed) return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != m_inside) {
        m_inside = inside;
        update();
    }
}

void WImageButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed) {
        event->ignore();
        return;
    }
    m_pressed = false;
    const bool inside = rect().contains(event->position().toPoint());
    m_inside = false;
    update();
    if (inside) click();  // flips a toggle button, then posts the command
}

// A quick second click counts as another press.
void WImageButton::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void WImageButton::keyPressEvent(QKeyEvent* event) { event->ignore(); }

void WImageButton::keyReleaseEvent(QKeyEvent* event) { event->ignore(); }

void WImageButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    m_hovered = true;
    update();
}

void WImageButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    m_hovered = false;
    update();
}
