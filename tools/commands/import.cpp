// wordbay-cli import: a TXT, Freelang or previous-version dictionary saved
// as a V03 file.
#include <ostream>
#include <string>

#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"
#include "tools/pair_encoding.h"
#include "tools/progress_bar.h"

namespace cli {

int RunImport(const Context& c, const Arguments& args) {
    const std::string& source = args.positional[0];
    const int32_t format = LoadFormat(args.Value("format"), source, false);
    if (format == 0) return UsageError(c, "import needs --format txt, freelang or v02.");
    KeepFreedMemoryForReuse();
    unsigned long primary_locale = 0;
    unsigned long secondary_locale = 0;
    if (args.values.count("locales") != 0) {
        // A locale number, or a language code ICU knows the locale of.
        const auto locale = [](const std::string& text, unsigned long* lcid) {
            if (ParseNumber(text, 0x7FFFFFFFul, lcid)) return true;
            if (text.empty() ||
                text.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                       "ABCDEFGHIJKLMNOPQRSTUVWXYZ-_") != std::string::npos) {
                return false;
            }
            *lcid = LanguageOfCode(text).lcid;
            return true;
        };
        std::string p, s;
        if (!SplitPair(args.Value("locales"), &p, &s) || !locale(p, &primary_locale) ||
            !locale(s, &secondary_locale)) {
            return UsageError(c,
                              "--locales needs two locale numbers or language codes, e.g. "
                              "1033,1050 or eng,hrv.");
        }
    }
    const std::string encoding = args.Value("encoding", "auto");
    if (encoding != "auto" && encoding != "utf-8") {
        return UsageError(c, "--encoding is auto or utf-8.");
    }
    if (encoding == "utf-8") {
        if (format != DB_FORMAT_TXT_LOAD) {
            return UsageError(c, "--encoding utf-8 needs --format txt.");
        }
        primary_locale |= DB_LOCALE_UTF8;
        secondary_locale |= DB_LOCALE_UTF8;
    }
    std::string name1, name2;
    const bool has_names = args.values.count("names") != 0;
    if (has_names && !SplitPair(args.Value("names"), &name1, &name2)) {
        return UsageError(c, "--names needs two names, e.g. English,Croatian.");
    }
    Handle db;
    const DB_RESULT* result = nullptr;
    int error = 0;
    {
        ProgressBar bar(db.get(), c.err, c.progress, "Importing");
        result = OnFiles(&error, [&] {
            return DB_Load(db.get(), format, source.c_str(), static_cast<uint32_t>(primary_locale),
                           static_cast<uint32_t>(secondary_locale));
        });
    }
    if (result->status == 0) return Fail(c, result, error);
    if (has_names) {
        DICTIONARY_INFO info{};
        result = DB_GetDictionaryInfo(db.get(), &info);
        if (result->status == 0) return Fail(c, result);
        const auto cp1 = PrimaryCodePage(info);
        const auto cp2 = SecondaryCodePage(info);
        SetField(info.primary_list_name, sizeof info.primary_list_name, cp1, name1);
        SetField(info.secondary_list_name, sizeof info.secondary_list_name, cp2, name2);
        SetField(info.name, sizeof info.name, cp1, name1 + " - " + name2);
        SetField(info.description, sizeof info.description, cp1, name1 + " - " + name2);
        result = DB_SetDictionaryInfo(db.get(), &info);
        if (result->status == 0) return Fail(c, result);
    }
    if (!SaveDictionary(c, db.get(), DB_FORMAT_V03_SAVE, args.positional[1])) return kExitFailed;
    DICTIONARY_INFO info{};
    if (DB_GetDictionaryInfo(db.get(), &info)->status != 0) {
        c.out << "Imported " << info.primary_word_count << " primary and "
              << info.secondary_word_count << " secondary words, " << info.primary_translation_count
              << " translations.\n";
    }
    return kExitOk;
}

}  // namespace cli
