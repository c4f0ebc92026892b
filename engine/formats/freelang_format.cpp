#include "engine/formats/freelang_format.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "engine/formats/file_input.h"
#include "engine/formats/pair_build.h"
#include "engine/formats/replacement.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "platform/locale.h"

namespace lexbase {
namespace {

constexpr std::size_t kWordField = 31;         // bytes 0 to 30
constexpr std::size_t kTranslationField = 53;  // bytes 31 to 83
constexpr std::size_t kWordMax = 30;
constexpr std::size_t kTranslationsMax = 52;
constexpr std::uint32_t kDefaultLocale = 1024;  // the user's locale
constexpr std::uint32_t kEnglishLocale = 1033;
constexpr std::uint32_t kFreelangCharset = 1;

// Byte-wise comparison without regard to ASCII case.
bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && !(x < 128 && y < 128 && std::tolower(x) == std::tolower(y))) return false;
    }
    return true;
}

std::string_view UpToNul(const char* text, std::size_t size) {
    const void* nul = std::memchr(text, '\0', size);
    return std::string_view(text, nul == nullptr ? size : static_cast<const char*>(nul) - text);
}

// Applies reading rules 1 to 3 to one record in place and hands each
// translation to `take`; returns how many there were.
template <typename Take>
std::size_t CutRecord(char* record, Take take) {
    if (record[0] == '\0' || record[kWordField] == '\0') return 0;
    record[kWordMax] = '\0';
    record[kFreelangRecordSize - 1] = '\0';
    const std::string_view word = UpToNul(record, kWordField);
    char* field = record + kWordField;
    // The field ends at its NUL: bytes behind it are padding, never text.
    const std::size_t end = UpToNul(field, kTranslationField).size();
    std::size_t start = 0;
    std::size_t count = 0;
    std::size_t i = 1;
    while (i + 2 < end + 1 && i <= 50) {
        if (field[i] == ',' && field[i + 1] == ' ' && field[i + 2] != '\0') {
            field[i] = '\0';
            take(word, std::string_view(field + start, i - start));
            ++count;
            start = i + 2;
            i += 3;
        } else {
            ++i;
        }
    }
    take(word, std::string_view(field + start, end - start));
    return count + 1;
}

struct Description {
    std::string name = "Unknown - Unknown";
    std::string description = "Unknown dictionary";
    std::string primary = "Unknown";
    std::string secondary = "Unknown";
    std::uint32_t primary_charset = kFreelangCharset;
    std::uint32_t secondary_charset = kFreelangCharset;
    std::uint32_t primary_locale = kDefaultLocale;
    std::uint32_t secondary_locale = kDefaultLocale;
};

// The folder that holds the path's last component, or "" when there is none.
std::string_view Parent(std::string_view path, bool* found) {
    const std::size_t slash = path.rfind('/');
    *found = slash != std::string_view::npos;
    return *found ? path.substr(0, slash) : std::string_view();
}

// dict.ini read whole; empty when missing, unreadable, too large or not a
// regular file (a pipe would never end the read, /dev/zero never fill it).
std::string ReadDictIni(const std::string& path) {
    constexpr std::size_t kMaxDictIni = std::size_t{1} << 20;
    ReadBounds bounds;
    bounds.max_size = kMaxDictIni;
    WholeFile whole;
    if (ReadWholeFile(path.c_str(), bounds, &whole) != ReadStatus::kRead) return {};
    return std::string(whole.block.get(), whole.size);
}

// Finds the first "longname,X,Y,Z" line of a "[language]" section whose Z
// equals `a` or else `b`, and fills the description from it.
void ApplyDictIni(std::string_view ini, std::string_view a, std::string_view b, Description* out) {
    bool in_section = false;
    std::size_t pos = 0;
    while (pos <= ini.size()) {
        std::size_t next = ini.find_first_of("\r\n", pos);
        if (next == std::string_view::npos) next = ini.size();
        std::string line;
        for (char c : ini.substr(pos, next - pos)) {
            if (c != ' ' && c != '\t') line += c;
        }
        pos = next + 1;
        if (line == "[language]") {
            in_section = true;
            continue;
        }
        if (!line.empty() && line[0] == '[') {
            in_section = false;
            continue;
        }
        constexpr std::string_view kPrefix = "longname,";
        if (!in_section || line.size() < kPrefix.size() ||
            !EqualNoCase(std::string_view(line).substr(0, kPrefix.size()), kPrefix)) {
            continue;
        }
        const std::string_view rest = std::string_view(line).substr(kPrefix.size());
        const std::size_t c1 = rest.find(',');
        if (c1 == std::string_view::npos) continue;
        const std::size_t c2 = rest.find(',', c1 + 1);
        if (c2 == std::string_view::npos) continue;
        const std::string_view x = rest.substr(0, c1);
        const std::string_view y = rest.substr(c1 + 1, c2 - c1 - 1);
        const std::string_view z = rest.substr(c2 + 1);
        const bool is_a = EqualNoCase(z, a);
        if (!is_a && !EqualNoCase(z, b)) continue;
        std::uint32_t charset = 0;
        for (char c : y) {
            if (c < '0' || c > '9') break;
            charset =
                charset > 100000000 ? charset : charset * 10 + static_cast<std::uint32_t>(c - '0');
        }
        const std::uint32_t locale = FreelangLanguageLocale(x);
        out->description = std::string(z);
        if (is_a) {
            out->primary = std::string(z);
            out->secondary = "English";
            out->primary_charset = charset;
            out->secondary_charset = 0;
            out->primary_locale = locale;
            out->secondary_locale = kEnglishLocale;
        } else {
            out->primary = "English";
            out->secondary = std::string(z);
            out->primary_charset = 0;
            out->secondary_charset = charset;
            out->primary_locale = kEnglishLocale;
            out->secondary_locale = locale;
        }
        return;
    }
}

// The description of a file name A_B.ext (see SplitImportFileName).
Description DescribeFile(const char* file) {
    Description out;
    const std::string_view path(file);
    std::string_view a, b;
    if (!SplitImportFileName(path, &a, &b)) return out;
    out.name = std::string(a) + " - " + std::string(b);
    out.description = out.name;
    out.primary = std::string(a);
    out.secondary = std::string(b);

    bool has_folder = false;
    const std::string_view folder = Parent(path, &has_folder);
    if (!has_folder) return out;
    bool has_parent = false;
    const std::string_view parent = Parent(folder, &has_parent);
    const std::string_view folder_name = has_parent ? folder.substr(parent.size() + 1) : folder;
    if (!EqualNoCase(folder_name, "language")) return out;
    const std::string ini_path =
        has_parent ? std::string(parent) + "/dict.ini" : std::string("dict.ini");
    ApplyDictIni(ReadDictIni(ini_path), a, b, &out);
    return out;
}

}  // namespace

std::uint32_t FreelangLanguageLocale(std::string_view name) {
    return platform::FreelangLanguageLocale(name);
}

bool ImportFreelangBytes(DB_CONTEXT* db, std::string_view bytes, const char* file,
                         std::uint32_t primary_locale, std::uint32_t secondary_locale) {
    if (bytes.size() < kFreelangRecordSize || bytes.size() % kFreelangRecordSize != 0) {
        return false;
    }
    // The records are cut in place; the pairs point into this copy.
    MallocBlock<char> buffer(static_cast<char*>(std::malloc(bytes.size())));
    if (buffer == nullptr) return false;
    const std::size_t records = bytes.size() / kFreelangRecordSize;
    std::size_t count = 0;
    for (std::size_t r = 0; r < records; ++r) {
        char record[kFreelangRecordSize];
        std::memcpy(record, bytes.data() + r * kFreelangRecordSize, sizeof record);
        count += CutRecord(record, [](std::string_view, std::string_view) {});
    }
    if (count == 0) return false;
    PairArray pairs;
    if (!pairs.Reserve(count)) {
        CopyField(db->message, sizeof db->message, msg::kMemoryErrorSpaced);
        return false;
    }
    std::memcpy(buffer.get(), bytes.data(), bytes.size());
    for (std::size_t r = 0; r < records; ++r) {
        CutRecord(buffer.get() + r * kFreelangRecordSize,
                  [&pairs](std::string_view word, std::string_view translation) {
                      pairs.Add(word, translation);
                  });
    }
    const Description description = DescribeFile(file);
    if (primary_locale == 0 && secondary_locale == 0) {
        primary_locale = description.primary_locale;
        secondary_locale = description.secondary_locale;
    }
    db->lists[0].locale = primary_locale;
    db->lists[1].locale = secondary_locale;
    if (!BuildFromPairs(db, pairs.data(), pairs.size())) return false;  // lists are empty again
    CopyField(db->name, sizeof db->name, description.name.c_str());
    CopyField(db->author, sizeof db->author, "Freelang");
    CopyField(db->description, sizeof db->description, description.description.c_str());
    CopyField(db->primary_list_name, sizeof db->primary_list_name, description.primary.c_str());
    CopyField(db->secondary_list_name, sizeof db->secondary_list_name,
              description.secondary.c_str());
    db->lists[0].charset = description.primary_charset;
    db->lists[1].charset = description.secondary_charset;
    return true;
}

bool LoadFreelang(DB_CONTEXT* db, const char* file, std::uint32_t primary_locale,
                  std::uint32_t secondary_locale) {
    ReadBounds bounds;
    bounds.min_size = kFreelangRecordSize;
    bounds.unit = kFreelangRecordSize;
    WholeFile whole;
    if (ReadWholeFile(file, bounds, &whole) != ReadStatus::kRead) return false;
    return ImportFreelangBytes(db, std::string_view(whole.block.get(), whole.size), file,
                               primary_locale, secondary_locale);
}

bool SaveFreelang(DB_CONTEXT* db, const char* file) {
    platform::FileWriter out;
    if (!StartReplacement(db, &out, file, msg::kTxtCantCreate)) return false;
    // Records go out in batches of many.
    constexpr std::size_t kBatch = 1 << 16;
    std::string pending;
    const WordList& primary = db->lists[0];
    std::uint64_t done = 0;
    bool ok = true;
    for (const WordNode* word = primary.head; word != nullptr && ok; word = word->next) {
        char record[kFreelangRecordSize] = {};
        std::memcpy(record, word->text, std::min<std::size_t>(word->length, kWordMax));
        char* field = record + kWordField;
        std::size_t used = 0;
        long room = static_cast<long>(kTranslationsMax);
        for (const TransLink* link = word->links; link != nullptr && room > 3; link = link->next) {
            if (link != word->links) {
                std::memcpy(field + used, ", ", 2);
                used += 2;
                room -= 2;
            }
            const std::size_t length = link->target->length;
            const std::size_t copied = std::min(length, static_cast<std::size_t>(room));
            std::memcpy(field + used, link->target->text, copied);
            used += copied;
            room -= static_cast<long>(length);
        }
        pending.append(record, sizeof record);
        if (pending.size() >= kBatch) {
            ok = out.Write(pending.data(), pending.size());
            pending.clear();
        }
        if (primary.word_count != 0) {
            SetProgress(db, static_cast<std::uint32_t>(done * 100 / primary.word_count));
        }
        ++done;
    }
    ok = ok && out.Write(pending.data(), pending.size());
    if (!ok) {
        FormatFileMessage(db, msg::kTxtCantWrite, file);
        return false;
    }
    // A full disk may show only when the file is flushed.
    return FinishReplacement(db, &out, file, msg::kTxtCantWrite, msg::kTxtCantWrite);
}

}  // namespace lexbase
