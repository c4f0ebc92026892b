// What wordbay-cli answers from a dictionary's look-up image alone, in a
// process that loads neither the engine nor ICU's libraries: `translate` of
// one word and `list` of one prefix or wildcard pattern with a fixed head,
// from lists kept in UTF-8, under every case and accent setting; and
// `lookup` of one word whose forms the image and the kept stems answer. Everything
// else, and anything the image can't answer (none, stale, damaged, a word
// that isn't well-formed UTF-8), goes to the program with the engine, which
// answers as if the lean process had never run: nothing is printed before
// the image has answered in full.
#pragma once

#include <string>

#include "lookup/lookup_image.h"
#include "tools/cli_args.h"

namespace cli::front {

struct Reply {
    bool answered = false;  // false: the program with the engine answers
    std::string out;        // standard output
    std::string err;        // standard error
    int status = 0;
};

Reply AnswerFromImage(const Arguments& args);

// The current look-up image of a dictionary, found as the program with the
// engine finds it.
struct CurrentImage {
    lookup::LookupImage image;
    std::string source;  // the dictionary's real path
    std::string path;    // the image's
    lookup::SourceKey key;
};
// False when the dictionary has no current image.
bool OpenCurrentImage(const std::string& dictionary, CurrentImage* found);

// `lookup` of one word (form_answers.cpp).
Reply AnswerLookup(const Arguments& args);

}  // namespace cli::front
