// WProgressBar: the progress bar of the status strip and of the text window.
// It keeps a range, a position and a step and paints itself: the part of the
// width that the position has covered of the range in the highlight colour,
// the rest in the button colour, and the position centred as "%02u %%" in the
// highlighted text colour over the filled part and the button text colour over
// the rest.
#pragma once

#include <QWidget>

#include "ui/widgets/w_control.h"

class WProgressBar : public QWidget, public WControl {
    Q_OBJECT

public:
    explicit WProgressBar(QWidget* parent = nullptr, int id = 0);
    ~WProgressBar() override;

    // Sets the range (default 0 .. 100); a maximum below the minimum is taken
    // as equal to it. The position is pulled into the new range.
    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    // Each returns the previous position; the position is kept inside the range.
    int setPosition(int position);
    int deltaPosition(int delta);
    int stepIt();
    int position() const { return m_position; }
    // Returns the previous step (default 10).
    int setStep(int step);
    int step() const { return m_step; }

    // The text shown: the position with at least two digits, a blank and "%".
    QString text() const;
    // Covered part of the range in whole percent, 0 .. 100.
    int percent() const;
    // Pixels of the width that are filled.
    int filledWidth() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
    int m_step = 10;
};
