// wordbay-cli freedict: an installed FreeDict (dictd) database converted into
// a V03 dictionary, or into a TXT file of its pairs.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "exchange/dictd_reader.h"
#include "exchange/pair_encoding.h"
#include "exchange/pair_import.h"
#include "platform/code_page.h"
#include "platform/file_writer.h"
#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"
#include "tools/progress_bar.h"

namespace cli {
namespace {

using exchange::EncodedPairs;
using exchange::Language;
using exchange::LanguageOfCode;

// Replaces `path` with `text`, the old file only by a complete new one.
bool WriteWholeFile(const Context& c, const std::string& path, const std::string& text) {
    errno = 0;
    platform::FileWriter file;
    const platform::OpenResult opened = file.CreateBeside(path.c_str());
    if (opened == platform::OpenResult::kBusy) {
        LockBusy(c, path);
        return false;
    }
    if (opened != platform::OpenResult::kOpened || !file.Write(text.data(), text.size()) ||
        !file.Commit()) {
        const int error = errno;
        c.err << "wordbay-cli: Can't write to file " << path
              << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
        return false;
    }
    return true;
}

// Imports `txt`, a UTF-8 TXT dictionary, into `db` through a file that lives
// in memory only, with a progress bar. The engine's result, or null (said on
// c.err) when the file can't be made.
const DB_RESULT* ImportPairs(const Context& c, DB_HANDLE db, const std::string& txt,
                             std::uint32_t primary_locale, std::uint32_t secondary_locale) {
    errno = 0;
    const DB_RESULT* result = nullptr;
    {
        ProgressBar bar(db, c.err, c.progress, "Importing");
        result = exchange::ImportTxtInMemory(db, txt, primary_locale, secondary_locale);
    }
    if (result == nullptr) {
        c.err << "wordbay-cli: Can't hold the pairs in memory: " << std::strerror(errno) << '\n';
    }
    return result;
}

// A Windows code page number (1 to 65535) in `text`.
bool ParseCodePage(const std::string& text, std::uint32_t* code_page) {
    char* end = nullptr;
    const unsigned long n = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n == 0 || n > 65535) return false;
    *code_page = static_cast<std::uint32_t>(n);
    return true;
}

}  // namespace

int RunFreedict(const Context& c, const Arguments& args, const std::string& dictd_directory) {
    KeepFreedMemoryForReuse();
    TargetFile target(args.positional[1]);
    std::string base, error, from, to;
    if (!exchange::LocateDictd(args.positional[0], dictd_directory, &base, &error)) {
        c.err << "wordbay-cli: " << error << '\n';
        return kExitFailed;
    }
    if (!exchange::LanguageCodes(base, &from, &to)) {
        c.err << "wordbay-cli: Cannot tell the languages from the name " << base << '\n';
        return kExitFailed;
    }
    const bool swap = args.Has("swap");
    if (swap) std::swap(from, to);
    exchange::SourceDictionary source;
    if (!exchange::ReadDictd(base, &source, &error)) {
        c.err << "wordbay-cli: " << error << '\n';
        return kExitFailed;
    }
    const Language primary = LanguageOfCode(from);
    const Language secondary = LanguageOfCode(to);
    // Both sides go to the import in UTF-8, which puts each list into its
    // language's code page when every text fits and keeps it UTF-8 when not.
    std::uint32_t cp1 = platform::kUtf8CodePage;
    std::uint32_t cp2 = platform::kUtf8CodePage;
    const bool txt = args.values.count("txt-code-page") != 0;
    if (txt && !ParseCodePage(args.Value("txt-code-page"), &cp1)) {
        return UsageError(c, "--txt-code-page needs a Windows code page number, e.g. 1250.");
    }
    if (txt) cp2 = cp1;
    // The kept texts may be those of `pairs`, which stay until the import is done.
    const EncodedPairs encoded = exchange::EncodePairs(source.pairs, cp1, cp2, swap);
    const auto report = [&] {
        c.out << "Pairs kept: " << encoded.kept << ", dropped: " << encoded.dropped << ".\n";
        if (encoded.dropped > 0) c.out << "Dropped: " << encoded.Reasons() << ".\n";
        if (source.repeated > 0) {
            c.out << "Repeated pairs kept once: " << source.repeated << ".\n";
        }
    };
    if (encoded.kept == 0) {
        c.err << "wordbay-cli: No translation pair could be kept (" << encoded.dropped
              << " dropped: " << encoded.Reasons() << ").\n";
        return kExitFailed;
    }
    if (txt) {
        if (!target.LockUnchanged(c) || !WriteWholeFile(c, target.path(), encoded.Txt())) {
            return kExitFailed;
        }
        report();
        return kExitOk;
    }
    Handle db;
    const DB_RESULT* result = ImportPairs(c, db.get(), encoded.Txt(), primary.lcid, secondary.lcid);
    if (result == nullptr) return kExitFailed;
    if (result->status == 0) return Fail(c, result);

    const std::string names = std::string(primary.name) + " - " + secondary.name;
    result = exchange::DescribeImported(
        db.get(), {names, "FreeDict", names + " (FreeDict " + from + "-" + to + ")", primary.name,
                   secondary.name});
    if (result->status == 0) return Fail(c, result);
    DICTIONARY_INFO info{};
    result = DB_GetDictionaryInfo(db.get(), &info);
    if (result->status == 0) return Fail(c, result);
    cp1 = PrimaryCodePage(info);
    cp2 = SecondaryCodePage(info);
    if (!target.LockUnchanged(c) ||
        !SaveDictionary(c, db.get(), DB_FORMAT_V03_SAVE, target.path())) {
        return kExitFailed;
    }
    report();
    const auto encoding = [](std::uint32_t code_page) {
        return code_page == platform::kUtf8CodePage ? std::string("UTF-8")
                                                    : "code page " + std::to_string(code_page);
    };
    c.out << "Lists: " << primary.name << " in " << encoding(cp1) << ", " << secondary.name
          << " in " << encoding(cp2) << ".\n";
    return kExitOk;
}

}  // namespace cli
