// WordFormsLabel: the line of the popup that says what the word-form
// look-up found: the base word whose translations the list shows ("walked:
// form of walk"), the words an exact hit is also a form of with their
// translations, or suggestions that look the chosen word up when clicked.
// Hidden while there is nothing to say.
#pragma once

#include <QLabel>
#include <QString>

#include "app/main_view.h"

class WordFormsLabel : public QLabel {
    Q_OBJECT

public:
    explicit WordFormsLabel(QWidget* parent = nullptr);

    // Shows what `note` says, or hides the label for an empty note.
    void setNote(const wordbay::WordFormsNote& note);

signals:
    // A suggestion was clicked.
    void suggestionChosen(const QString& word);
};

// The note as lines of plain text (the tooltip's translations show them).
QStringList wordFormsLines(const wordbay::WordFormsNote& note);
