// The exact translations of a word for wordbay-cli's look-up commands,
// answered from the dictionary's look-up image while it holds up and from
// the loaded dictionary otherwise; and the words of a list, for the
// suggestions of `lookup`.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/lexbase.h"
#include "tools/cli_args.h"
#include "tools/commands/command_support.h"
#include "tools/commands/image_or_dictionary.h"

namespace cli {

class WordTranslator {
public:
    // --reverse, --case and --accents of `args` choose the direction and the
    // switches; positional[0] is the dictionary.
    WordTranslator(const Context& c, const Arguments& args);

    // Opens the image or loads the dictionary; false after a failed load.
    bool Start();

    // Looks up one UTF-8 word; false with the engine's result (or none) when
    // nothing is found, or when the dictionary could not be loaded (`failed`).
    bool Answer(const std::string& word, std::vector<std::string>* translations,
                const DB_RESULT** result, bool* failed);

    // Calls `visit` with every word of the source list in UTF-8, loading the
    // dictionary when only its image was open; false when that load failed.
    bool ForEachWord(const std::function<void(std::string_view)>& visit);

    // The ICU locale name of the source list's language ("en_US").
    std::string SourceLocale();

    // Writes the look-up image when the dictionary had to be loaded.
    void Finish() { source_.WriteImage(); }

    // The dictionary file as an image or loaded, and the list looked up from.
    ImageOrDictionary& source() { return source_; }
    int list() const { return reverse_ ? 1 : 0; }

private:
    const std::string path_;
    ImageOrDictionary source_;
    const bool reverse_;
    const bool case_sensitive_;
    const bool ignore_accents_;
    std::vector<std::string> found_;
};

}  // namespace cli
