// Speller: the spelling dictionary of one language (a Hunspell .aff and .dic
// pair, as Debian's hunspell-* packages install them), for the stems of an
// inflected word and for suggestions.
//
// A language's dictionary is loaded once, on a thread of its own, the first
// time it is asked for (or earlier, by Preload): German's takes a noticeable
// time. Only regular files of a sane size are handed to the library, so a
// pipe or a device in a dictionary's place is passed over at once; a load
// that takes too long is not waited for. No dictionary means no speller,
// never an error. Every function is safe to call from any thread.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/speller_files.h"
#include "platform/file_writer.h"

class Hunspell;

namespace forms {

class Speller {
public:
    ~Speller();
    Speller(const Speller&) = delete;
    Speller& operator=(const Speller&) = delete;

    // The speller for `locale`, loading it the first time (waiting at most
    // a few seconds); nullptr when there is none or it could not be loaded.
    static std::shared_ptr<Speller> Of(std::string_view locale);
    // Starts loading the speller for `locale` without waiting for it.
    static void Preload(std::string_view locale);

    // The stems the dictionary gives for `word` (UTF-8 in and out).
    std::vector<std::string> Stems(std::string_view word);
    // Its suggestions for a word it does not know, best first.
    std::vector<std::string> Suggest(std::string_view word);
    // True when the dictionary knows `word`.
    bool Knows(std::string_view word);

    const std::string& name() const { return files_.name; }
    // The files loaded, and their stamps taken just before the load.
    const SpellerFiles& files() const { return files_; }
    const platform::FileStamp& aff_stamp() const { return aff_stamp_; }
    const platform::FileStamp& dic_stamp() const { return dic_stamp_; }

    // Loads `files` (checked first); nullptr when they are not fit to load.
    static std::unique_ptr<Speller> Load(const SpellerFiles& files);

private:
    Speller(SpellerFiles files, std::unique_ptr<Hunspell> hunspell, std::string encoding);
    std::string ToDictionary(std::string_view utf8, bool* ok) const;
    std::vector<std::string> FromDictionary(const std::vector<std::string>& words) const;

    const SpellerFiles files_;
    platform::FileStamp aff_stamp_;
    platform::FileStamp dic_stamp_;
    std::mutex mutex_;  // the library's object is not safe across threads
    std::unique_ptr<Hunspell> hunspell_;
    const std::string encoding_;  // the dictionary's own; "" for UTF-8
};

}  // namespace forms
