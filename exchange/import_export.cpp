#include "exchange/import_export.h"

#include <cerrno>
#include <cstring>

#include "exchange/book.h"
#include "exchange/dictd_reader.h"
#include "exchange/pair_encoding.h"
#include "exchange/stardict_reader.h"
#include "platform/code_page.h"

namespace exchange {
namespace {

constexpr char kMaker[] = "Ivana Kovacevic";

struct FormatRow {
    std::int32_t direction;
    std::int32_t number;
    Format format;
    const char* name;
    const char* description;
};

constexpr FormatRow kRows[] = {
    {1, kStarDictLoad, Format::kStarDict, "StarDict dictionary",
     "Input plugin for StarDict dictionary"},
    {1, kDictdLoad, Format::kDictd, "dictd database", "Input plugin for dictd database"},
    {2, kStarDictSave, Format::kStarDict, "StarDict dictionary",
     "Output plugin for StarDict dictionary"},
    {2, kDictdSave, Format::kDictd, "dictd database", "Output plugin for dictd database"},
};

template <std::size_t N>
void CopyField(char (&field)[N], std::string_view text) {
    const std::size_t n = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}

// The first line of `text`, which a description field of 100 bytes holds.
std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace

std::optional<Format> FormatOfNumber(std::int32_t number) {
    for (const FormatRow& row : kRows) {
        if (row.number == number) return row.format;
    }
    return std::nullopt;
}

std::vector<DB_FORMAT_RECORD> FormatRecords(std::int32_t direction) {
    std::vector<DB_FORMAT_RECORD> records;
    for (const FormatRow& row : kRows) {
        if (row.direction != direction) continue;
        DB_FORMAT_RECORD record{};
        record.direction = row.direction;
        record.format = row.number;
        // ".index" is longer than the record's field holds.
        CopyField(record.extension, row.format == Format::kStarDict ? "ifo" : "");
        record.asks_for_description = row.direction == 1 ? 1 : 0;
        CopyField(record.name, row.name);
        CopyField(record.description, row.description);
        CopyField(record.author, kMaker);
        record.version_major = 1;
        records.push_back(record);
    }
    return records;
}

const char* FileExtension(Format format) { return format == Format::kStarDict ? "ifo" : "index"; }

bool LanguageCodesOfPath(const std::string& path, std::string* from, std::string* to) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    name = name.substr(0, name.find('.'));
    return LanguageCodes(name, from, to);
}

bool ImportDictionary(DB_HANDLE db, Format format, const std::string& path,
                      std::uint32_t primary_locale, std::uint32_t secondary_locale,
                      const ImportTexts& texts, ImportReport* report, std::string* error) {
    *report = ImportReport{};
    SourceDictionary source;
    const bool read = format == Format::kStarDict ? ReadStarDict(path, &source, error)
                                                  : ReadDictd(DictdBase(path), &source, error);
    if (!read) return false;
    report->repeated = source.repeated;
    // Both sides go to the import in UTF-8, which puts each list into its
    // language's code page when every text fits and keeps it UTF-8 when not.
    const EncodedPairs encoded =
        EncodePairs(source.pairs, platform::kUtf8CodePage, platform::kUtf8CodePage, false);
    report->kept = encoded.kept;
    report->dropped = encoded.dropped;
    report->reasons = encoded.Reasons();
    if (encoded.kept == 0) {
        *error = "The dictionary holds no translation pair that can be kept: " + path;
        if (encoded.dropped > 0) error->append(" (" + report->reasons + ")");
        return false;
    }
    errno = 0;
    const DB_RESULT* result =
        ImportTxtInMemory(db, encoded.Txt(), primary_locale, secondary_locale);
    if (result == nullptr) {
        *error = std::string("Can't hold the pairs in memory: ") + std::strerror(errno);
        return false;
    }
    if (result->status != 0) {
        const std::string primary =
            texts.primary_list_name.empty() ? "Unknown" : texts.primary_list_name;
        const std::string secondary =
            texts.secondary_list_name.empty() ? "Unknown" : texts.secondary_list_name;
        ImportTexts named{texts.name, texts.author, texts.description, primary, secondary};
        if (named.name.empty()) named.name = source.name;
        if (named.name.empty()) named.name = primary + " - " + secondary;
        if (named.author.empty()) named.author = source.author;
        if (named.author.empty()) named.author = format == Format::kStarDict ? "StarDict" : "dictd";
        if (named.description.empty()) named.description = FirstLine(source.description);
        if (named.description.empty()) named.description = named.name;
        result = DescribeImported(db, named);
    }
    if (result->status == 0) {
        *error = result->message;
        DB_Close(db);
        return false;
    }
    return true;
}

bool ExportDictionary(DB_HANDLE db, Format format, std::int32_t direction, const std::string& path,
                      WriteReport* report, std::string* error) {
    Book book;
    if (!ReadBook(db, direction, &book, error)) return false;
    return format == Format::kStarDict ? WriteStarDict(book, path, report, error)
                                       : WriteDictd(book, path, report, error);
}

}  // namespace exchange
