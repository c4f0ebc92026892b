// wordbay-cli import: a TXT, Freelang, previous-version, StarDict or dictd
// dictionary saved as a V03 file.
#include <ostream>
#include <string>

#include "exchange/dictd_reader.h"
#include "exchange/import_export.h"
#include "exchange/pair_encoding.h"
#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"
#include "tools/progress_bar.h"

namespace cli {
namespace {

// A locale number, or a language code ICU knows the locale of.
bool ParseLocale(const std::string& text, unsigned long* lcid) {
    if (ParseNumber(text, 0x7FFFFFFFul, lcid)) return true;
    if (text.empty() ||
        text.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZ-_") != std::string::npos) {
        return false;
    }
    *lcid = exchange::LanguageOfCode(text).lcid;
    return true;
}

// Reads --locales into the two locales (left as they are without it); false
// after a usage error was said.
bool ReadLocales(const Context& c, const Arguments& args, unsigned long* primary,
                 unsigned long* secondary) {
    if (args.values.count("locales") == 0) return true;
    std::string p, s;
    if (!SplitPair(args.Value("locales"), &p, &s) || !ParseLocale(p, primary) ||
        !ParseLocale(s, secondary)) {
        UsageError(c,
                   "--locales needs two locale numbers or language codes, e.g. "
                   "1033,1050 or eng,hrv.");
        return false;
    }
    return true;
}

// Says what the imported dictionary of `db` holds.
void ReportImported(const Context& c, DB_HANDLE db) {
    DICTIONARY_INFO info{};
    if (DB_GetDictionaryInfo(db, &info)->status != 0) {
        c.out << "Imported " << info.primary_word_count << " primary and "
              << info.secondary_word_count << " secondary words, " << info.primary_translation_count
              << " translations.\n";
    }
}

// A StarDict or dictd dictionary. Without --locales the languages come from
// a FreeDict-style file name ("eng-hrv.ifo"), if it has them; they name the
// lists too unless --names does.
int ImportTravelling(const Context& c, const Arguments& args, exchange::Format format) {
    const std::string& source = args.positional[0];
    TargetFile target(args.positional[1]);
    if (args.values.count("encoding") != 0) {
        return UsageError(c, "--encoding utf-8 needs --format txt.");
    }
    KeepFreedMemoryForReuse();
    unsigned long primary_locale = 0;
    unsigned long secondary_locale = 0;
    exchange::ImportTexts texts;
    std::string from, to;
    if (exchange::LanguageCodesOfPath(source, &from, &to)) {
        const exchange::Language primary = exchange::LanguageOfCode(from);
        const exchange::Language secondary = exchange::LanguageOfCode(to);
        primary_locale = primary.lcid;
        secondary_locale = secondary.lcid;
        texts.primary_list_name = primary.name;
        texts.secondary_list_name = secondary.name;
    }
    if (!ReadLocales(c, args, &primary_locale, &secondary_locale)) return kExitUsage;
    if (args.values.count("names") != 0 &&
        !SplitPair(args.Value("names"), &texts.primary_list_name, &texts.secondary_list_name)) {
        return UsageError(c, "--names needs two names, e.g. English,Croatian.");
    }
    Handle db;
    exchange::ImportReport report;
    std::string error;
    bool imported = false;
    {
        ProgressBar bar(db.get(), c.err, c.progress, "Importing");
        imported = exchange::ImportDictionary(
            db.get(), format, source, static_cast<std::uint32_t>(primary_locale),
            static_cast<std::uint32_t>(secondary_locale), texts, &report, &error);
    }
    if (!imported) {
        c.err << "wordbay-cli: " << error << '\n';
        return kExitFailed;
    }
    if (!target.LockUnchanged(c) ||
        !SaveDictionary(c, db.get(), DB_FORMAT_V03_SAVE, target.path())) {
        return kExitFailed;
    }
    ReportImported(c, db.get());
    c.out << "Pairs kept: " << report.kept << ", dropped: " << report.dropped << ".\n";
    if (report.dropped > 0) c.out << "Dropped: " << report.reasons << ".\n";
    if (report.repeated > 0) c.out << "Repeated pairs kept once: " << report.repeated << ".\n";
    return kExitOk;
}

}  // namespace

int RunImport(const Context& c, const Arguments& args) {
    const std::string& source = args.positional[0];
    TargetFile target(args.positional[1]);
    const std::string name = args.Value("format");
    if (name == "stardict") return ImportTravelling(c, args, exchange::Format::kStarDict);
    if (name == "dictd") return ImportTravelling(c, args, exchange::Format::kDictd);
    const int32_t format = LoadFormat(name, source, false);
    if (format == 0) {
        return UsageError(c, "import needs --format txt, freelang, v02, stardict or dictd.");
    }
    KeepFreedMemoryForReuse();
    unsigned long primary_locale = 0;
    unsigned long secondary_locale = 0;
    if (!ReadLocales(c, args, &primary_locale, &secondary_locale)) return kExitUsage;
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
    if (!target.LockUnchanged(c) ||
        !SaveDictionary(c, db.get(), DB_FORMAT_V03_SAVE, target.path())) {
        return kExitFailed;
    }
    ReportImported(c, db.get());
    return kExitOk;
}

}  // namespace cli
