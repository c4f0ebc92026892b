// The irregular forms compiled into the program, one table per language.
// Each line is a base word followed by its forms, separated by blanks;
// alternatives within a form by "/". German verb lines are expanded by the
// reader (irregular.cpp): "gehen ging gegangen" also yields gingst, gingen,
// gingt.
#pragma once

namespace forms {

// English: verbs "base past participle [forms...]", then plurals and
// comparisons "base form [form...]".
extern const char kEnglishIrregulars[];
// German: strong and irregular verbs "infinitive past participle [forms...]",
// the past expanded with its personal endings.
extern const char kGermanVerbs[];
// German forms taken as they stand: "base form [form...]".
extern const char kGermanIrregulars[];
// Croatian: "base form [form...]".
extern const char kCroatianIrregulars[];

}  // namespace forms
