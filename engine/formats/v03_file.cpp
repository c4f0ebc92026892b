// Validation of a V03 file, shared by the load and the two description
// functions, and the description read from and written into the header.
#include "engine/formats/v03_file.h"

#include <libdeflate.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cstring>

#include "engine/arena.h"
#include "engine/char_text.h"
#include "engine/formats/file_input.h"
#include "engine/formats/replacement.h"
#include "engine/formats/v03_image.h"
#include "engine/messages.h"
#include "engine/result.h"
#include "platform/file_writer.h"

namespace lexbase {
namespace v03 {
namespace {

thread_local int tls_fail_allocation_at = 0;

struct CrcJob {
    const std::uint8_t* bytes;
    std::uint64_t count;
    std::uint32_t crc;
};

void RunCrc(void* argument) {
    auto* job = static_cast<CrcJob*>(argument);
    // The same CRC-32 as zlib's, several times faster on a whole file.
    job->crc = libdeflate_crc32(job->crc, job->bytes, static_cast<std::size_t>(job->count));
}

}  // namespace

void* Allocate(std::size_t size) {
    if (tls_fail_allocation_at > 0 && --tls_fail_allocation_at == 0) return nullptr;
    // Small pages only, as in the arena (see arena::AllocateBlock).
    return std::malloc(size > 0 ? size : 1);
}

void* AllocateInArena(std::size_t size) {
    if (tls_fail_allocation_at > 0 && --tls_fail_allocation_at == 0) return nullptr;
    return arena::AllocateBlock(size);
}

bool CrcOfMapping(const platform::MappedFile& file, std::uint64_t offset, std::uint64_t count,
                  std::uint32_t* crc) {
    if (file.data() == nullptr || offset > file.size() || count > file.size() - offset) {
        return false;
    }
    CrcJob job{file.data() + offset, count, *crc};
    if (!file.Guarded(RunCrc, &job)) return false;
    *crc = job.crc;
    return true;
}

bool OpenImage(DB_CONTEXT* db, const char* file, Purpose purpose, Image* image) {
    const bool rewrite = purpose == Purpose::kRewriteInfo;
    auto fail = [&](const char* format) {
        FormatFileMessage(db, format, file);
        return false;
    };
    ReadBounds bounds;
    bounds.min_size = rewrite ? kMinRewriteSize : kMinFileSize;
    bounds.max_size = UINT64_MAX;
    using Access = platform::MappedFile::Access;
    switch (
        MapWholeFile(file, bounds, rewrite ? Access::kReadWrite : Access::kRead, &image->file)) {
        case ReadStatus::kRead:
            break;
        case ReadStatus::kCantOpen:
            return fail(rewrite ? msg::kFileCantOpenRewrite : msg::kFileCantOpen);
        case ReadStatus::kCantGetSize:
            return fail(rewrite ? msg::kFileCantGetSizeRewrite : msg::kFileCantGetSize);
        case ReadStatus::kTooSmall:
            return fail(msg::kFileTooSmall);
        case ReadStatus::kBadSize:
        case ReadStatus::kNoMemory:
        case ReadStatus::kCantRead:
        case ReadStatus::kCantMap:
            return fail(msg::kFileCantMap);
    }
    const std::uint64_t size = image->file.size();

    // The CRC comes first: a file that is not a dictionary at all fails it.
    SetProgress(db, 10);
    std::uint32_t crc = 0;
    std::uint8_t stored[kCrcSize];
    if (!CrcOfMapping(image->file, 0, size - kCrcSize, &crc) ||
        !image->file.Read(size - kCrcSize, stored, kCrcSize)) {
        return fail(msg::kFileCantMap);
    }
    if (purpose == Purpose::kLoad) SetProgress(db, 14);
    if (crc != GetU32(stored)) return fail(msg::kFileCrcError);

    const std::uint64_t trailer_at = size - kCrcSize - kTrailerSize;
    if (!image->file.Read(0, image->header, kHeaderSize) ||
        !image->file.Read(trailer_at, image->trailer, kTrailerSize)) {
        return fail(msg::kFileCantMap);
    }
    if (std::memcmp(image->header, kMagic, kMagicSize) != 0 ||
        std::memcmp(image->trailer + kTrailerMagic, kMagic, kMagicSize) != 0 ||
        image->Trailer(kTotalSize) != size) {
        return fail(msg::kFileInvalidFormat);
    }
    // Every block and table offset, the secondary tables' included.
    for (std::size_t b = 0; b < kBlockCount; ++b) {
        if (image->Trailer(kBlockOffset + 4 * b) > size) return fail(msg::kFileInvalidFormat);
    }
    for (int list = 0; list < 2; ++list) {
        for (int kind = 0; kind < 4; ++kind) {
            if (image->TableOffset(list, kind) > size) return fail(msg::kFileInvalidFormat);
        }
    }
    return true;
}

}  // namespace v03

void FailV03AllocationForTesting(int n) { v03::tls_fail_allocation_at = n; }

bool ReadV03Info(DB_CONTEXT* db, const char* file, DICTIONARY_INFO* info) {
    v03::Image image;
    if (!v03::OpenImage(db, file, v03::Purpose::kReadInfo, &image)) return false;
    std::memset(info, 0, sizeof *info);
    const std::uint32_t text_bytes[2] = {image.Header(v03::kTextBytes),
                                         image.Header(v03::kTextBytes + 8)};
    info->primary_word_count = image.Header(v03::kWordCount);
    info->secondary_word_count = image.Header(v03::kWordCount + 8);
    info->primary_index_size = info->primary_word_count * 4;
    info->secondary_index_size = info->secondary_word_count * 4;
    info->primary_translation_count = image.Header(v03::kTranslationCount);
    info->secondary_translation_count = image.Header(v03::kTranslationCount + 4);
    // Counts from a file may be anything: the sum wraps like the original's.
    info->memory_size = (info->primary_translation_count + info->secondary_translation_count) * 12 +
                        (info->primary_word_count + info->secondary_word_count) * 20 +
                        text_bytes[0] + text_bytes[1];
    v03::CopyDescription(image.header, info);
    info->primary_locale = image.Header(v03::kLocale);
    info->secondary_locale = image.Header(v03::kLocale + 4);
    info->primary_charset = image.Header(v03::kCharset);
    info->secondary_charset = image.Header(v03::kCharset + 4);
    return true;
}

namespace {

// Copies at most `count` bytes of `text` (up to its NUL) into `field`, padding
// with zeros up to `count` bytes. Bytes of the field past `count` stay.
void PutText(std::uint8_t* field, std::size_t count, const char* text) {
    const std::size_t length = strnlen(text, count);
    std::memcpy(field, text, length);
    std::memset(field + length, 0, count - length);
}

}  // namespace

bool WriteV03Info(DB_CONTEXT* db, const char* file, const DICTIONARY_INFO* info) {
    v03::Image first;
    if (!v03::OpenImage(db, file, v03::Purpose::kRewriteInfo, &first)) return false;
    // The new file is complete before it replaces the old one: the header and
    // its CRC change together or not at all.
    platform::FileWriter out;
    if (!StartReplacement(db, &out, file, msg::kFileCantOpenForWriting)) return false;
    // Another writer may have replaced the file before the lock was ours.
    v03::Image second;
    v03::Image* current = &first;
    struct stat opened {
    }, now{};
    if (::fstat(first.file.descriptor(), &opened) != 0 || ::stat(out.target(), &now) != 0 ||
        opened.st_ino != now.st_ino || opened.st_dev != now.st_dev) {
        if (!v03::OpenImage(db, file, v03::Purpose::kRewriteInfo, &second)) return false;
        current = &second;
    }
    v03::Image& image = *current;
    std::uint8_t header[v03::kHeaderSize];
    std::memcpy(header, image.header, sizeof header);
    // List names keep the last byte of their 40; the long fields take all 100.
    PutText(header + v03::kListName, kShortField - 1, info->primary_list_name);
    PutText(header + v03::kListName + kShortField, kShortField - 1, info->secondary_list_name);
    PutText(header + v03::kName, kLongField, info->name);
    PutText(header + v03::kDescription, kLongField, info->description);
    PutText(header + v03::kAuthor, kLongField, info->author);
    v03::PutU32(header + v03::kLocale, info->primary_locale);
    v03::PutU32(header + v03::kLocale + 4, info->secondary_locale);
    // Words are not converted: a list keeps its encoding (see ChosenCharset).
    const std::uint32_t wanted[2] = {info->primary_charset, info->secondary_charset};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::uint32_t charset = ChosenCharset(image.Header(v03::kCharset + 4 * i),
                                                    image.Header(v03::kWordCount + 8 * i) > 0,
                                                    image.Header(v03::kLocale + 4 * i), wanted[i]);
        v03::PutU32(header + v03::kCharset + 4 * i, charset);
    }

    const std::uint64_t size = image.size();
    const std::uint64_t body = size - v03::kHeaderSize - v03::kCrcSize;
    std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, header, sizeof header));
    if (!v03::CrcOfMapping(image.file, v03::kHeaderSize, body, &crc)) {
        FormatFileMessage(db, msg::kFileCantMap, file);
        return false;
    }
    std::uint8_t stored_crc[v03::kCrcSize];
    v03::PutU32(stored_crc, crc);
    // A write from a part of the mapping that the file no longer holds fails
    // (EFAULT) rather than raising SIGBUS; the size check catches the rest.
    if (!out.Write(header, sizeof header) ||
        !out.Write(image.file.data() + v03::kHeaderSize, static_cast<std::size_t>(body)) ||
        !out.Write(stored_crc, sizeof stored_crc)) {
        FormatFileMessage(db, msg::kFileCantWrite, file);
        return false;
    }
    if (!image.file.SizeUnchanged()) {
        FormatFileMessage(db, msg::kFileCantMap, file);
        return false;
    }
    return FinishReplacement(db, &out, file, msg::kFileCantWrite, msg::kFileCantCopy);
}

}  // namespace lexbase
