// Affix forms: the inflected forms a Hunspell dictionary builds from the
// stems of its .dic with the suffix and prefix rules of its .aff ("house/S"
// -> houses), one level deep, a suffix and a prefix combined where both
// allow it.
//
// They choose which words get their stems kept (stored_stems.h): every kept
// stem list comes from the speller itself, so a form missed or made wrongly
// here only means that word is answered by the loaded speller, never a
// different answer. Only dictionaries in UTF-8 are read.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/speller.h"

namespace forms {

// The forms of every .dic stem for which `wanted` (given the stem as
// written) is true, the stem itself among them, sorted and without repeats;
// empty when the files can't be read or are not in UTF-8.
std::vector<std::string> AffixForms(const SpellerFiles& files,
                                    const std::function<bool(std::string_view)>& wanted);

}  // namespace forms
