// The word-forms group of the settings' interface page: whether the current
// dictionary looks up base words and suggests near words, and which spelling
// dictionaries (Hunspell) are installed to help it.
#pragma once

class QGroupBox;
class QWidget;

// Builds the group. The box edits `*word_forms` (the current dictionary's
// setting), and is disabled when `word_forms` is null (no dictionary open).
QGroupBox* createWordFormsGroup(QWidget* parent, bool* word_forms);
