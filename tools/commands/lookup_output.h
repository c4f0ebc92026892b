// How `lookup` writes its answers, the same from either of the tool's
// processes: JSON, one object a line; or plain text.
#pragma once

#include <ostream>

#include "forms/word_analysis.h"

namespace cli {

// {"query", "headword", "how", "translations", "forms", "suggestions"}
void WriteJson(std::ostream& out, const forms::Answer& a);
// One word: the translations one a line, each base word named on a line of
// its own before its translations; suggestions on one line.
void WritePlainWord(std::ostream& out, const forms::Answer& a);
// A line of standard input: its translations separated by TABs, a base word
// in brackets before its own; suggestions after "Did you mean:".
void WritePlainLine(std::ostream& out, const forms::Answer& a);

}  // namespace cli
