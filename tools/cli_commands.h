// The commands of wordbay-cli, over the lexbase C interface only.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/cli_args.h"
#include "tools/freedict_reader.h"

namespace cli {

// Exit statuses of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // an engine failure, or nothing found
inline constexpr int kExitUsage = 2;

struct Language {
    std::uint32_t lcid;
    const char* name;  // English name, used as the list name
};

// The language of an ISO 639 code as FreeDict names them ("hrv", "deu");
// English (United States) with the code as its name for a code not known.
Language LanguageOfCode(const std::string& code);

// The Windows font character set that goes with an ANSI code page.
std::uint32_t CharsetOfCodePage(std::uint32_t code_page);

struct EncodedPairs {
    std::string txt;  // TAB-separated lines ending in CR LF
    std::size_t kept = 0;
    std::size_t dropped = 0;  // a side the code page cannot hold
};

// Encodes UTF-8 pairs into the two code pages as a TXT dictionary file. A
// pair with a character either code page lacks, or with a side empty or
// longer than a stored word may be, is dropped and counted.
EncodedPairs EncodePairs(const std::vector<TranslationPair>& pairs, std::uint32_t primary_code_page,
                         std::uint32_t secondary_code_page, bool swap);

// Where freedict looks for databases given by name.
inline constexpr const char* kDictdDirectory = "/usr/share/dictd";

// Runs one parsed command; "in" serves translate's batch mode. "progress"
// enables the progress bar on "err".
int RunCommand(const Arguments& args, std::istream& in, std::ostream& out, std::ostream& err,
               bool progress, const std::string& dictd_directory = kDictdDirectory);

}  // namespace cli
