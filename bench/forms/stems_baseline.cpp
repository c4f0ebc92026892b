// forms_stems_baseline: the baseline of the word-form evaluation
// (bench/forms_eval.sh): a word is looked up as it stands, else each of its
// Hunspell stems, and nothing else, as a dictionary program that analyses
// words only with Hunspell does.
//
//   forms_stems_baseline DICT.v03 [--reverse] < words
//
// Prints one line per input line: "exact", "stem" or "none".
#include <iostream>
#include <string>
#include <vector>

#include "engine/lexbase.h"
#include "forms/speller.h"
#include "platform/code_page.h"
#include "platform/locale.h"

namespace {

std::uint32_t CodePage(std::uint32_t locale, std::uint32_t charset) {
    return platform::ListCodePage(locale, charset);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: forms_stems_baseline DICT.v03 [--reverse] < words\n";
        return 2;
    }
    const bool reverse = argc > 2 && std::string(argv[2]) == "--reverse";
    DB_HANDLE db = DB_CreateHandle()->handle;
    if (DB_Load(db, DB_FORMAT_V03_LOAD, argv[1], 0, 0)->status == 0) {
        std::cerr << "can't load " << argv[1] << '\n';
        return 1;
    }
    DICTIONARY_INFO info{};
    DB_GetDictionaryInfo(db, &info);
    const std::uint32_t locale = reverse ? info.secondary_locale : info.primary_locale;
    const std::uint32_t cp = reverse ? CodePage(info.secondary_locale, info.secondary_charset)
                                     : CodePage(info.primary_locale, info.primary_charset);
    const auto speller = forms::Speller::Of(platform::IcuLocaleName(locale));
    const int direction = reverse ? DB_TRANS_SECONDARY_TO_PRIMARY : DB_TRANS_PRIMARY_TO_SECONDARY;
    std::vector<const char*> out(4096);
    const auto found = [&](const std::string& utf8) {
        bool lossy = false;
        const std::string word = platform::EncodeFromUtf8(cp, utf8, &lossy);
        if (lossy || word.empty()) return false;
        return DB_Translate(db, direction, word.c_str(), 0, 0, out.data(),
                            static_cast<int32_t>(out.size()))
                   ->status != 0;
    };
    std::string line;
    while (std::getline(std::cin, line)) {
        const char* how = "none";
        if (found(line)) {
            how = "exact";
        } else if (speller) {
            for (const std::string& stem : speller->Stems(line)) {
                if (found(stem)) {
                    how = "stem";
                    break;
                }
            }
        }
        std::cout << how << '\n';
    }
    DB_DestroyHandle(db);
    return 0;
}
