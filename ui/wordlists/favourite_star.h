// FavouriteStar: the checkable star beside a word's translations. Checked,
// the word shown is a favourite; a click asks to star or un-star it. Drawn
// as text, so that it stays sharp at any scale.
#pragma once

#include <QToolButton>

class FavouriteStar : public QToolButton {
    Q_OBJECT

public:
    explicit FavouriteStar(QWidget* parent);

    // Shows whether the word on screen is a favourite (`starred`) and whether
    // there is one to star at all (`enabled`), without asking anything.
    void showState(bool starred, bool enabled);
    void retranslate();

signals:
    // The user clicked: `starred` is what the word should now be.
    void starRequested(bool starred);
};
