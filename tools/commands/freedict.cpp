// wordbay-cli freedict: an installed FreeDict (dictd) database converted into
// a V03 dictionary, or into a TXT file of its pairs.
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_writer.h"
#include "platform/locale.h"
#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"
#include "tools/freedict_reader.h"
#include "tools/pair_encoding.h"
#include "tools/progress_bar.h"

namespace cli {
namespace {

// A file in memory holding `text`, open as the result (-1 with errno on
// failure); *path names it through /proc for as long as it stays open.
int TextInMemory(const std::string& text, std::string* path) {
    const int file = memfd_create("wordbay-freedict.txt", MFD_CLOEXEC);
    if (file < 0) return -1;
    errno = 0;
    if (!platform::WriteAll(file, text.data(), text.size())) {
        const int error = errno != 0 ? errno : ENOSPC;
        close(file);
        errno = error;
        return -1;
    }
    *path = "/proc/self/fd/" + std::to_string(file);
    return file;
}

// Imports `txt`, a UTF-8 TXT dictionary, into `db` through a file that lives
// in memory only: nothing touches the disk, and nothing is left behind
// however the tool ends. The engine's result, or null (said on c.err) when
// the file can't be made.
const DB_RESULT* ImportTxtInMemory(const Context& c, DB_HANDLE db, const std::string& txt,
                                   std::uint32_t primary_locale, std::uint32_t secondary_locale) {
    std::string path;
    const int fd = TextInMemory(txt, &path);
    if (fd < 0) {
        c.err << "wordbay-cli: Can't hold the pairs in memory: " << std::strerror(errno) << '\n';
        return nullptr;
    }
    const DB_RESULT* result = nullptr;
    {
        ProgressBar bar(db, c.err, c.progress, "Importing");
        result = DB_Load(db, DB_FORMAT_TXT_LOAD, path.c_str(), primary_locale, secondary_locale);
    }
    close(fd);
    return result;
}

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

// Names an imported FreeDict dictionary and its lists, and gives each list
// its language; *cp1 and *cp2 become the lists' code pages.
const DB_RESULT* DescribeFreedict(DB_HANDLE db, const Language& primary, const Language& secondary,
                                  const std::string& languages, std::uint32_t* cp1,
                                  std::uint32_t* cp2) {
    DICTIONARY_INFO info{};
    const DB_RESULT* result = DB_GetDictionaryInfo(db, &info);
    if (result->status == 0) return result;
    info.primary_locale = primary.lcid;
    info.secondary_locale = secondary.lcid;
    // An 8-bit list takes the character set of its code page; a UTF-8 list
    // keeps its mark.
    const auto charset = [](std::uint32_t locale, std::uint32_t current) {
        return current == platform::kUtf8Charset ? current
                                                 : CharsetOfCodePage(platform::CodePageOf(locale));
    };
    info.primary_charset = charset(primary.lcid, info.primary_charset);
    info.secondary_charset = charset(secondary.lcid, info.secondary_charset);
    *cp1 = PrimaryCodePage(info);
    *cp2 = SecondaryCodePage(info);
    const std::string names = std::string(primary.name) + " - " + secondary.name;
    SetField(info.name, sizeof info.name, *cp1, names);
    SetField(info.author, sizeof info.author, *cp1, "FreeDict");
    SetField(info.description, sizeof info.description, *cp1,
             names + " (FreeDict " + languages + ")");
    SetField(info.primary_list_name, sizeof info.primary_list_name, *cp1, primary.name);
    SetField(info.secondary_list_name, sizeof info.secondary_list_name, *cp2, secondary.name);
    return DB_SetDictionaryInfo(db, &info);
}

}  // namespace

int RunFreedict(const Context& c, const Arguments& args, const std::string& dictd_directory) {
    KeepFreedMemoryForReuse();
    std::string base, error, from, to;
    if (!LocateDictd(args.positional[0], dictd_directory, &base, &error)) {
        c.err << "wordbay-cli: " << error << '\n';
        return kExitFailed;
    }
    if (!LanguageCodes(base, &from, &to)) {
        c.err << "wordbay-cli: Cannot tell the languages from the name " << base << '\n';
        return kExitFailed;
    }
    const bool swap = args.Has("swap");
    if (swap) std::swap(from, to);
    std::vector<TranslationPair> pairs;
    std::size_t repeated = 0;
    if (!ReadDictd(base, &pairs, &error, &repeated)) {
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
    if (txt) {
        const std::string page = args.Value("txt-code-page");
        char* end = nullptr;
        const unsigned long n = std::strtoul(page.c_str(), &end, 10);
        if (page.empty() || *end != '\0' || n == 0 || n > 65535) {
            return UsageError(c, "--txt-code-page needs a Windows code page number, e.g. 1250.");
        }
        cp1 = cp2 = static_cast<std::uint32_t>(n);
    }
    // The kept texts may be those of `pairs`, which stay until the import is done.
    const EncodedPairs encoded = EncodePairs(pairs, cp1, cp2, swap);
    const auto report = [&] {
        c.out << "Pairs kept: " << encoded.kept << ", dropped: " << encoded.dropped << ".\n";
        if (encoded.dropped > 0) c.out << "Dropped: " << encoded.Reasons() << ".\n";
        if (repeated > 0) c.out << "Repeated pairs kept once: " << repeated << ".\n";
    };
    if (encoded.kept == 0) {
        c.err << "wordbay-cli: No translation pair could be kept (" << encoded.dropped
              << " dropped: " << encoded.Reasons() << ").\n";
        return kExitFailed;
    }
    if (txt) {
        if (!WriteWholeFile(c, args.positional[1], encoded.Txt())) return kExitFailed;
        report();
        return kExitOk;
    }
    Handle db;
    const DB_RESULT* result =
        ImportTxtInMemory(c, db.get(), encoded.Txt(), primary.lcid, secondary.lcid);
    if (result == nullptr) return kExitFailed;
    if (result->status == 0) return Fail(c, result);

    result = DescribeFreedict(db.get(), primary, secondary, from + "-" + to, &cp1, &cp2);
    if (result->status == 0) return Fail(c, result);
    if (!SaveDictionary(c, db.get(), DB_FORMAT_V03_SAVE, args.positional[1])) return kExitFailed;
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
