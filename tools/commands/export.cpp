// wordbay-cli export: a V03 dictionary written as TXT (in the lists' code
// pages or in UTF-8), as a Freelang database, or in either direction as a
// StarDict dictionary or a dictd database.
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "exchange/import_export.h"
#include "platform/code_page.h"
#include "platform/file_writer.h"
#include "tools/cli_commands.h"
#include "tools/commands/command_support.h"
#include "tools/commands/commands.h"

namespace cli {
namespace {

// Rewrites a TXT export in the lists' code pages as UTF-8 with LF line ends.
// `to` is replaced only by a complete file, as a save replaces one.
bool ExportAsUtf8(const std::string& from, const std::string& to, std::uint32_t cp1,
                  std::uint32_t cp2) {
    std::ifstream in(from, std::ios::binary);
    platform::FileWriter out;
    errno = 0;
    if (!in || out.CreateBeside(to.c_str()) != platform::OpenResult::kOpened) return false;
    constexpr std::size_t kBatch = std::size_t{1} << 16;
    std::string text;
    std::string line;
    bool written = true;
    while (written && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        text += platform::DecodeToUtf8(cp1, std::string_view(line).substr(0, tab));
        text += '\t';
        text += platform::DecodeToUtf8(cp2, std::string_view(line).substr(tab + 1));
        text += '\n';
        if (text.size() >= kBatch) {
            written = out.Write(text.data(), text.size());
            text.clear();
        }
    }
    if (in.bad()) {
        errno = EIO;
        return false;
    }
    return written && out.Write(text.data(), text.size()) && out.Commit();
}

std::string WithoutSuffix(const std::string& path, const std::string& suffix) {
    const bool ends = path.size() >= suffix.size() &&
                      path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
    return ends ? path.substr(0, path.size() - suffix.size()) : path;
}

// Every file a StarDict or dictd export to `path` writes or deletes.
std::vector<std::string> TravellingFiles(exchange::Format format, const std::string& path) {
    if (format == exchange::Format::kStarDict) {
        const std::string base = WithoutSuffix(path, ".ifo");
        return {base + ".ifo", base + ".idx", base + ".dict.dz", base + ".syn", base + ".idx.gz"};
    }
    const std::string base = WithoutSuffix(path, ".index");
    return {base + ".index", base + ".dict.dz"};
}

// Writes the dictionary `args` names as a StarDict dictionary or a dictd
// database, in its own direction or, with --reverse, the other.
int ExportTravelling(const Context& c, const Arguments& args, exchange::Format format) {
    if (args.values.count("encoding") != 0) {
        return UsageError(c, "--encoding utf-8 needs --format txt.");
    }
    // Each of the files is replaced only as it was when the command began.
    std::deque<TargetFile> targets;
    for (const std::string& path : TravellingFiles(format, args.positional[1]))
        targets.emplace_back(path);
    Handle db;
    DICTIONARY_INFO info{};
    if (!LoadDictionary(c, db.get(), args.positional[0], &info)) return kExitFailed;
    for (TargetFile& target : targets) {
        if (!target.LockUnchanged(c)) return kExitFailed;
    }
    const int32_t direction =
        args.Has("reverse") ? DB_TRANS_SECONDARY_TO_PRIMARY : DB_TRANS_PRIMARY_TO_SECONDARY;
    exchange::WriteReport report;
    std::string error;
    if (!exchange::ExportDictionary(db.get(), format, direction, args.positional[1], &report,
                                    &error)) {
        c.err << "wordbay-cli: " << error << '\n';
        return kExitFailed;
    }
    c.out << "Exported " << report.words << " words";
    if (report.synonyms > 0) c.out << " and " << report.synonyms << " forms without accents";
    c.out << ".\n";
    if (report.left_out > 0) {
        c.out << "Left out: " << report.left_out
              << (format == exchange::Format::kStarDict
                      ? " words of 256 bytes or more.\n"
                      : " words without a letter or digit, which dictd can't look up.\n");
    }
    if (report.inexact > 0) {
        c.out << "Words whose translations will read back otherwise: " << report.inexact << ".\n";
    }
    return kExitOk;
}

}  // namespace

int RunExport(const Context& c, const Arguments& args) {
    const std::string name = args.Value("format");
    if (name == "stardict") return ExportTravelling(c, args, exchange::Format::kStarDict);
    if (name == "dictd") return ExportTravelling(c, args, exchange::Format::kDictd);
    const int32_t format = name == "txt"        ? DB_FORMAT_TXT_SAVE
                           : name == "freelang" ? DB_FORMAT_FREELANG_SAVE
                                                : 0;
    if (format == 0) {
        return UsageError(c, "export needs --format txt, freelang, stardict or dictd.");
    }
    if (args.Has("reverse")) {
        return UsageError(c, "--reverse needs --format stardict or dictd.");
    }
    const std::string encoding = args.Value("encoding", "code-page");
    if (encoding != "code-page" && encoding != "utf-8") {
        return UsageError(c, "--encoding is code-page or utf-8.");
    }
    if (encoding == "utf-8" && format != DB_FORMAT_TXT_SAVE) {
        return UsageError(c, "--encoding utf-8 needs --format txt.");
    }
    TargetFile target(args.positional[1]);
    Handle db;
    DICTIONARY_INFO info{};
    if (!LoadDictionary(c, db.get(), args.positional[0], &info)) return kExitFailed;
    if (encoding == "code-page") {
        return target.LockUnchanged(c) && SaveDictionary(c, db.get(), format, target.path())
                   ? kExitOk
                   : kExitFailed;
    }
    // The engine writes the lists' own bytes; they are converted afterwards.
    const std::string raw = args.positional[1] + ".code-page.tmp";
    const bool saved = SaveDictionary(c, db.get(), format, raw);
    if (saved && !target.LockUnchanged(c)) {
        unlink(raw.c_str());
        return kExitFailed;
    }
    const bool converted =
        saved && ExportAsUtf8(raw, target.path(), PrimaryCodePage(info), SecondaryCodePage(info));
    unlink(raw.c_str());
    if (saved && !converted) {
        const int error = errno;
        c.err << "wordbay-cli: Can't write to file " << args.positional[1]
              << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
    }
    return converted ? kExitOk : kExitFailed;
}

}  // namespace cli
