// The suggestions for a word the main dictionary lacks, as a short menu
// under the search edit box: choosing one puts it into the box, which looks
// it up as typed text is.
#pragma once

#include <QStringList>

class SearchEdit;

// Opens the menu of `words` under `edit` without waiting for a choice; the
// menu deletes itself when it closes.
void showSuggestionMenu(SearchEdit* edit, const QStringList& words);
