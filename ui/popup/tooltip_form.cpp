#include "ui/popup/tooltip_form.h"

#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <algorithm>

#include "app/dictionary_settings.h"
#include "ui/popup/popup_form.h"
#include "ui/widgets/colors.h"

namespace {

constexpr int kFrames = 3;  // black, white, black
constexpr int kPatternSize = 100;
constexpr int kEmptyCaption = 50;
constexpr int kNewCaptionHeight = 20;
constexpr int kShadeDark = 32;
constexpr int kShadeLight = 48;

QRect screenOf(const QWidget* widget) {
    const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

QSize measureText(const QString& text, const QFont& font) {
    if (text.isEmpty()) return {0, 0};
    const QFontMetrics metrics(font);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();
    int width = 0;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    return {width, static_cast<int>(lines.size()) * metrics.height()};
}

QImage tooltipPattern(int index, const QColor& background) {
    QImage image(kPatternSize, kPatternSize, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = shadeOf(background, 20, 28);
    painter.setPen(QPen(ink, 1 + index % 3));
    painter.setBrush(Qt::NoBrush);
    // Seven families of figures, each in five densities.
    const int family = index % 7;
    const int step = 8 + (index / 7) * 4;
    for (int a = 0; a < kPatternSize + step; a += step) {
        switch (family) {
            case 0:
                painter.drawLine(a, 0, a, kPatternSize);
                break;
            case 1:
                painter.drawLine(0, a, kPatternSize, a);
                break;
            case 2:
                painter.drawLine(a, 0, a - kPatternSize, kPatternSize);
                break;
            case 3:
                painter.drawLine(a, 0, a - kPatternSize, kPatternSize);
                painter.drawLine(a - kPatternSize, 0, a, kPatternSize);
                break;
            case 4:
                for (int b = 0; b < kPatternSize + step; b += step) painter.drawPoint(a, b);
                break;
            case 5:
                for (int b = 0; b < kPatternSize + step; b += step) {
                    painter.drawEllipse(QPoint(a, b), step / 4, step / 4);
                }
                break;
            default: {
                QPainterPath wave;
                wave.moveTo(0, a);
                for (int x = 0; x <= kPatternSize; x += step) {
                    wave.quadTo(x + step / 2.0, a + ((x / step) % 2 ? -step / 3.0 : step / 3.0),
                                x + step, a);
                }
                painter.drawPath(wave);
            }
        }
    }
    return image;
}

PopupTooltipForm::PopupTooltipForm(const wordbay::ProgramSettings* settings, QWidget* parent)
    : WForm(parent, Qt::Tool | Qt::FramelessWindowHint), m_settings(settings) {
    setObjectName(QStringLiteral("TQ_TALLIS_TOOLTIP"));
    m_captionFont = QFont(QStringLiteral("Verdana"), 10, QFont::Bold);
}

PopupTooltipForm::~PopupTooltipForm() { destroyWindow(); }

int PopupTooltipForm::onCreate() {
    rebuildColors();
    m_created = true;
    remeasure();
    return 0;
}

void PopupTooltipForm::applyLook(const TooltipLook& look) {
    m_look = look;
    rebuildColors();
    remeasure();
}

void PopupTooltipForm::rebuildColors() {
    if (m_look.system_colors) {
        const QPalette palette = QGuiApplication::palette();
        m_activeBackground = palette.color(QPalette::ToolTipBase);
        m_wordColor = palette.color(QPalette::ToolTipText);
        m_translationColor = m_wordColor;
        m_inactiveBackground = shadeOf(m_activeBackground, kShadeDark, kShadeLight);
        m_inactiveText = shadeOf(m_wordColor, kShadeDark, kShadeLight);
    } else {
        m_activeBackground = m_look.active_background;
        m_inactiveBackground = m_look.inactive_background;
        m_wordColor = m_look.word_color;
        m_translationColor = m_look.translation_color;
        m_inactiveText = m_look.inactive_text;
    }
    if (m_look.use_pattern) {
        const int index = std::clamp(m_look.pattern_index, 0, wordbay::kMaxTooltipPattern);
        m_activePattern = tooltipPattern(index, m_activeBackground);
        m_inactivePattern = tooltipPattern(index, m_inactiveBackground);
    } else {
        m_activePattern = QImage();
        m_inactivePattern = QImage();
    }
    update();
}

void PopupTooltipForm::setCaption(const QString& caption) {
    setWindowTitle(caption);
    remeasure();
}

void PopupTooltipForm::setWord(const QString& word) {
    m_word = word;
    remeasure();
}

void PopupTooltipForm::clearTranslations() {
    m_translations.clear();
    remeasure();
}

void PopupTooltipForm::setTranslations(const QStringList& translations) {
    m_translations.clear();
    int lines = 0;
    for (const QString& entry : translations) {
        if (lines == kMaxLines) break;
        ++lines;
        if (entry.isEmpty()) continue;
        m_translations += entry;
        m_translations += QLatin1Char('\n');
    }
    remeasure();
}

int PopupTooltipForm::lineCount() const {
    return static_cast<int>(m_translations.count(QLatin1Char('\n')));
}

void PopupTooltipForm::remeasure() {
    const QString caption = windowTitle();
    m_captionSize = caption.isEmpty()
                        ? QSize(kEmptyCaption, m_created ? kEmptyCaption : kNewCaptionHeight)
                        : measureText(caption, m_captionFont);
    m_wordSize = measureText(m_word, m_look.word_font);
    m_translationSize = measureText(m_translations, m_look.translation_font);
    const int width =
        std::max({m_captionSize.width(), m_wordSize.width(), m_translationSize.width()}) +
        2 * kMargin + 2 * kFrames;
    const int height =
        m_captionSize.height() + m_wordSize.height() + m_translationSize.height() + 4 * kMargin;
    resize(width, height);
    update();
}

bool PopupTooltipForm::onPaint(QPainter& painter, const QRect&) {
    QRect r = rect();
    for (const QColor& frame : {QColor(Qt::black), QColor(Qt::white), QColor(Qt::black)}) {
        painter.setPen(frame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    const QImage& pattern = m_active ? m_activePattern : m_inactivePattern;
    if (m_look.use_pattern && !pattern.isNull()) {
        painter.drawTiledPixmap(r, QPixmap::fromImage(pattern));
    } else {
        painter.fillRect(r, m_active ? m_activeBackground : m_inactiveBackground);
    }

    const QPalette palette = QGuiApplication::palette();
    const QPalette::ColorGroup group = m_active ? QPalette::Active : QPalette::Inactive;
    const QRect bar(
        QPoint(r.left() + 1, 4),
        QPoint(r.right() - 1, m_captionSize.height() + kMargin + kCaptionExtra + r.top()));
    painter.fillRect(bar, palette.color(group, QPalette::Highlight));
    painter.setFont(m_captionFont);
    painter.setPen(palette.color(group, QPalette::HighlightedText));
    painter.drawText(bar.adjusted(kMargin / 2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     windowTitle());

    const int left = r.left() + kMargin;
    int y = bar.bottom() + kMargin / 2;
    painter.setFont(m_look.word_font);
    painter.setPen(m_active ? m_wordColor : m_inactiveText);
    const int wordLine = QFontMetrics(m_look.word_font).height();
    for (const QString& line : m_word.split(QLatin1Char('\n'))) {
        painter.drawText(QRect(left, y, width(), wordLine), Qt::AlignLeft | Qt::AlignTop, line);
        y += wordLine;
    }
    y += (kMargin - kSeparator) / 2;
    painter.fillRect(QRect(left, y, r.width() - 2 * kMargin, kSeparator),
                     m_active ? m_wordColor : m_inactiveText);
    y += kSeparator + (kMargin - kSeparator) / 2;
    painter.setFont(m_look.translation_font);
    painter.setPen(m_active ? m_translationColor : m_inactiveText);
    const int line = QFontMetrics(m_look.translation_font).height();
    for (const QString& text : m_translations.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        painter.drawText(QRect(left, y, width(), line), Qt::AlignLeft | Qt::AlignTop, text);
        y += line;
    }
    return true;
}

void PopupTooltipForm::placeFrom(const wordbay::WindowPlace& place) {
    move(place.x, place.y);
    remeasure();
    // At least half of the window stays on the screen.
    const QRect screen = screenOf(this);
    const int x = std::clamp(place.x, screen.left() - width() / 2, screen.right() - width() / 2);
    const int y = std::clamp(place.y, screen.top() - height() / 2, screen.bottom() - height() / 2);
    move(x, y);
}

wordbay::WindowPlace PopupTooltipForm::place() const {
    const QRect r = geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

void PopupTooltipForm::applyOnTop() {
    const bool on_top = m_settings->tooltip_on_top;
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on_top) return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on_top);
    if (visible) show();
}

void PopupTooltipForm::showTooltip(bool show) {
    applyOnTop();
    if (show || !isHidden()) {
        QWidget::show();
        raise();
        activateWindow();
    }
    if (m_settings->tooltip_to_cursor)
        move(snappedPosition(QCursor::pos(), size(), screenOf(this)));
}

void PopupTooltipForm::onActivate() {
    m_active = true;
    update();
}

void PopupTooltipForm::onDeactivate() {
    m_active = false;
    if (m_settings->tooltip_on_top) {
        update();
    } else {
        hide();
    }
}

bool PopupTooltipForm::onClose() {
    hide();
    return true;
}

bool PopupTooltipForm::onPreEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::ApplicationPaletteChange) {
        rebuildColors();
        remeasure();
    }
    return WForm::onPreEvent(event);
}

bool PopupTooltipForm::onButtonDown(Qt::MouseButton button, const QPoint& pos) {
    if (button != Qt::LeftButton) return false;
    m_dragging = true;
    m_dragOffset = pos;
    grabMouse();
    return true;
}

void PopupTooltipForm::onMouseMove(Qt::MouseButtons buttons, const QPoint&) {
    if (m_dragging && (buttons & Qt::LeftButton)) move(QCursor::pos() - m_dragOffset);
}

void PopupTooltipForm::onButtonUp(Qt::MouseButton button, const QPoint&) {
    if (button != Qt::LeftButton || !m_dragging) return;
    m_dragging = false;
    releaseMouse();
}
