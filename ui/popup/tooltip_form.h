// PopupTooltipForm: the borderless note that the hot key can call instead of
// the popup. It paints a caption bar, the word, a separator and up to 40
// translations, sizes itself to them, and is moved by dragging it.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

#include "app/program_settings.h"
#include "ui/widgets/w_form.h"

// The fonts and colours of the tooltip for the current direction.
struct TooltipLook {
    QFont word_font;
    QFont translation_font;
    QColor active_background;
    QColor inactive_background;
    QColor word_color;
    QColor translation_color;
    QColor inactive_text;
    bool use_pattern = false;
    int pattern_index = 0;
    bool system_colors = true;
};

class PopupTooltipForm : public WForm {
    Q_OBJECT

public:
    static constexpr int kMaxLines = 40;
    static constexpr int kMargin = 10;
    static constexpr int kSeparator = 2;
    static constexpr int kCaptionExtra = 3;

    explicit PopupTooltipForm(const wordbay::ProgramSettings* settings, QWidget* parent = nullptr);
    ~PopupTooltipForm() override;

    // Each setter measures again, resizes the window (without moving it) and
    // repaints.
    void setCaption(const QString& caption);
    void setWord(const QString& word);
    void clearTranslations();
    // The first 40 non-empty entries, one per line.
    void setTranslations(const QStringList& translations);
    void applyLook(const TooltipLook& look);

    QString word() const { return m_word; }
    QString translationText() const { return m_translations; }
    int lineCount() const;
    bool paintsActive() const { return m_active; }
    // The colours in use after the system-colour rule.
    QColor activeBackground() const { return m_activeBackground; }
    QColor inactiveBackground() const { return m_inactiveBackground; }

    // Puts the window at its stored place (x, y) and sizes it from its texts.
    void placeFrom(const wordbay::WindowPlace& place);
    wordbay::WindowPlace place() const;
    void showTooltip(bool show);
    void applyOnTop();

protected:
    int onCreate() override;
    void onActivate() override;
    void onDeactivate() override;
    bool onClose() override;
    bool onPaint(QPainter& painter, const QRect& rect) override;
    bool onButtonDown(Qt::MouseButton button, const QPoint& pos) override;
    void onMouseMove(Qt::MouseButtons buttons, const QPoint& pos) override;
    void onButtonUp(Qt::MouseButton button, const QPoint& pos) override;
    bool onPreEvent(QEvent* event) override;

private:
    void remeasure();
    void rebuildColors();

    const wordbay::ProgramSettings* m_settings;
    TooltipLook m_look;
    QFont m_captionFont;
    QString m_word;
    QString m_translations;
    QSize m_captionSize;
    QSize m_wordSize;
    QSize m_translationSize;
    QColor m_activeBackground;
    QColor m_inactiveBackground;
    QColor m_wordColor;
    QColor m_translationColor;
    QColor m_inactiveText;
    QImage m_activePattern;
    QImage m_inactivePattern;
    bool m_active = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
    bool m_created = false;
};

// The size of a text in `font`: the widest line by the number of lines (a
// carriage return before a line feed is ignored); an empty text is 0 x 0.
QSize measureText(const QString& text, const QFont& font);

// Background pattern `index` (0 to 34) as a 100 x 100 image in `background`.
QImage tooltipPattern(int index, const QColor& background);
