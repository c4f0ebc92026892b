#include "ui/wordlists/favourite_star.h"

#include <QSignalBlocker>

#include "app/message_table.h"
#include "ui/widgets/ui_text.h"

namespace {

const QChar kFilledStar(0x2605);
const QChar kEmptyStar(0x2606);

}  // namespace

FavouriteStar::FavouriteStar(QWidget* parent) : QToolButton(parent) {
    setObjectName(QStringLiteral("favouriteStar"));
    setCheckable(true);
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
    setText(kEmptyStar);
    QFont larger = font();
    larger.setPointSizeF(larger.pointSizeF() * 1.3);
    setFont(larger);
    connect(this, &QToolButton::toggled, this, [this](bool on) {
        setText(on ? kFilledStar : kEmptyStar);
        emit starRequested(on);
    });
    showState(false, false);
    retranslate();
}

void FavouriteStar::showState(bool starred, bool enabled) {
    const QSignalBlocker quiet(this);
    setChecked(starred);
    setText(starred ? kFilledStar : kEmptyStar);
    setEnabled(enabled);
}

void FavouriteStar::retranslate() {
    const QString tip = uiText(wordbay::TextId::TOOLTIP_FAVOURITE);
    setToolTip(tip);
    setAccessibleName(uiText(wordbay::TextId::MSG_FAVOURITES));
    setAccessibleDescription(tip);
}
