#include "ui/widgets/w_progress_bar.h"

#include <QPainter>
#include <algorithm>

WProgressBar::WProgressBar(QWidget* parent, int id) : QWidget(parent), WControl(this, id) {}

WProgressBar::~WProgressBar() = default;

void WProgressBar::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    m_position = std::clamp(m_position, m_minimum, m_maximum);
    update();
}

int WProgressBar::setPosition(int position) {
    const int previous = m_position;
    m_position = std::clamp(position, m_minimum, m_maximum);
    if (m_position != previous) update();
    return previous;
}

int WProgressBar::deltaPosition(int delta) {
    // Widened so that a large delta cannot overflow before it is clamped.
    const long long target = static_cast<long long>(m_position) + delta;
    return setPosition(static_cast<int>(std::clamp<long long>(target, m_minimum, m_maximum)));
}

int WProgressBar::stepIt() { return deltaPosition(m_step); }

int WProgressBar::setStep(int step) {
    const int previous = m_step;
    m_step = step;
    return previous;
}

QString WProgressBar::text() const { return QString::asprintf("%02d %%", m_position); }

int WProgressBar::percent() const {
    const long long span = static_cast<long long>(m_maximum) - m_minimum;
    if (span <= 0) return 0;
    return static_cast<int>((static_cast<long long>(m_position) - m_minimum) * 100 / span);
}

int WProgressBar::filledWidth() const { return width() * percent() / 100; }

QSize WProgressBar::sizeHint() const {
    return QSize(fontMetrics().horizontalAdvance(QStringLiteral("000 %")) * 3,
                 fontMetrics().height() + 4);
}

void WProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const QRect all = rect();
    const QRect filled(0, 0, filledWidth(), height());
    const QRect rest(filled.width(), 0, width() - filled.width(), height());
    painter.fillRect(all, pal.color(QPalette::Button));
    painter.fillRect(filled, pal.color(QPalette::Highlight));
    const QString label = text();
    painter.save();
    painter.setClipRect(filled);
    painter.setPen(pal.color(QPalette::HighlightedText));
    painter.drawText(all, Qt::AlignCenter, label);
    painter.restore();
    painter.setClipRect(rest);
    painter.setPen(pal.color(QPalette::ButtonText));
    painter.drawText(all, Qt::AlignCenter, label);
}
