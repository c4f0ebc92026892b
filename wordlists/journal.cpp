#include "wordlists/journal.h"

#include <zlib.h>

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "platform/file_reader.h"
#include "platform/file_writer.h"

namespace wordlists {
namespace {

// The journals hold what the user looked up: readable by the user alone.
constexpr int kPrivateFileMode = 0600;
constexpr std::size_t kChecksumDigits = 8;
// The first record of a rewritten file: its kind and the format's version.
constexpr char kKindRecord[] = "#";
constexpr char kFormatVersion[] = "1";

std::uint32_t Checksum(std::string_view text) {
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}

void AppendEscaped(std::string* out, std::string_view field) {
    for (const char c : field) {
        switch (c) {
            case '\\':
                *out += "\\\\";
                break;
            case '\t':
                *out += "\\t";
                break;
            case '\n':
                *out += "\\n";
                break;
            case '\r':
                *out += "\\r";
                break;
            default:
                *out += c;
        }
    }
}

bool Unescape(std::string_view text, std::string* field) {
    field->clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            *field += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case '\\':
                *field += '\\';
                break;
            case 't':
                *field += '\t';
                break;
            case 'n':
                *field += '\n';
                break;
            case 'r':
                *field += '\r';
                break;
            default:
                return false;
        }
    }
    return true;
}

bool ParseHex(std::string_view digits, std::uint32_t* value) {
    *value = 0;
    for (const char c : digits) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            return false;
        }
        *value = *value << 4 | static_cast<std::uint32_t>(digit);
    }
    return true;
}

}  // namespace

std::string EncodeRecord(const Record& record) {
    std::string body;
    for (std::size_t i = 0; i < record.size(); ++i) {
        if (i > 0) body += '\t';
        AppendEscaped(&body, record[i]);
    }
    char checksum[kChecksumDigits + 1];
    std::snprintf(checksum, sizeof checksum, "%08x", static_cast<unsigned>(Checksum(body)));
    std::string line(checksum, kChecksumDigits);
    line += '\t';
    line += body;
    line += '\n';
    return line;
}

bool DecodeRecord(std::string_view line, Record* record) {
    record->clear();
    if (line.size() <= kChecksumDigits || line[kChecksumDigits] != '\t') return false;
    std::uint32_t expected = 0;
    if (!ParseHex(line.substr(0, kChecksumDigits), &expected)) return false;
    const std::string_view body = line.substr(kChecksumDigits + 1);
    if (Checksum(body) != expected) return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = body.find('\t', start);
        std::string field;
        if (!Unescape(body.substr(start, tab == std::string_view::npos ? tab : tab - start),
                      &field))
            return false;
        record->push_back(std::move(field));
        if (tab == std::string_view::npos) break;
        start = tab + 1;
    }
    return true;
}

bool ParseInteger(const std::string& field, std::int64_t* value) {
    const char* end = field.data() + field.size();
    const auto result = std::from_chars(field.data(), end, *value);
    return result.ec == std::errc() && result.ptr == end;
}

bool ParseDirection(const std::string& field, int* direction) {
    if (field != "1" && field != "2") return false;
    *direction = field[0] - '0';
    return true;
}

Journal::Journal(std::string path, std::string kind, std::uint64_t max_bytes)
    : path_(std::move(path)), kind_(std::move(kind)), max_bytes_(max_bytes) {}

bool Journal::Fail(JournalStatus::Problem problem, int error) {
    status_.problem = problem;
    status_.error = error;
    return false;
}

std::vector<Record> Journal::Load() {
    status_ = {};
    pending_.clear();
    pending_records_ = 0;
    records_in_file_ = 0;
    needs_rewrite_ = false;
    std::vector<Record> records;
    std::string bytes;
    errno = 0;
    const platform::ReadOutcome outcome =
        platform::ReadRegularFile(path_.c_str(), static_cast<std::size_t>(max_bytes_), &bytes);
    const int error = errno;
    switch (outcome) {
        case platform::ReadOutcome::kRead:
            break;
        case platform::ReadOutcome::kMissing:
            return records;
        case platform::ReadOutcome::kNotRegular:
            status_.detached = true;
            Fail(JournalStatus::Problem::kNotRegular, 0);
            return records;
        case platform::ReadOutcome::kTooLarge:
            status_.detached = true;
            Fail(JournalStatus::Problem::kTooLarge, 0);
            return records;
        case platform::ReadOutcome::kFailed:
            status_.detached = true;
            Fail(JournalStatus::Problem::kUnreadable, error);
            return records;
    }
    std::size_t start = 0;
    Record record;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            // A last line without its end: an append that a kill cut short.
            ++status_.dropped;
            break;
        }
        if (DecodeRecord(std::string_view(bytes).substr(start, end - start), &record)) {
            ++records_in_file_;
            if (record[0] != kKindRecord) records.push_back(std::move(record));
        } else {
            ++status_.dropped;
        }
        start = end + 1;
    }
    if (records_in_file_ == 0 && !bytes.empty()) {
        // Not one record: this is no journal, and it is left as it is.
        status_.detached = true;
        Fail(JournalStatus::Problem::kNotAJournal, 0);
        records.clear();
    }
    needs_rewrite_ = status_.dropped > 0 && !status_.detached;
    return records;
}

void Journal::Append(const Record& record) {
    pending_ += EncodeRecord(record);
    ++pending_records_;
}

bool Journal::Flush() {
    if (pending_.empty() || status_.detached) {
        pending_.clear();
        pending_records_ = 0;
        return true;
    }
    if (!platform::AppendToFile(path_.c_str(), pending_.data(), pending_.size(), kPrivateFileMode))
        return Fail(JournalStatus::Problem::kWriteFailed, errno);
    records_in_file_ += pending_records_;
    pending_.clear();
    pending_records_ = 0;
    status_.problem = JournalStatus::Problem::kNone;
    return true;
}

bool Journal::Rewrite(const std::vector<Record>& records) {
    pending_.clear();
    pending_records_ = 0;
    if (status_.detached) return true;
    std::string bytes = EncodeRecord({kKindRecord, kind_, kFormatVersion});
    for (const Record& record : records) bytes += EncodeRecord(record);
    errno = 0;
    if (!platform::WriteWholeFile(path_.c_str(), bytes.data(), bytes.size(), kPrivateFileMode)) {
        // The old file stays whole; the next flush tries the rewrite again.
        needs_rewrite_ = true;
        return Fail(JournalStatus::Problem::kWriteFailed, errno);
    }
    records_in_file_ = records.size() + 1;
    needs_rewrite_ = false;
    status_.problem = JournalStatus::Problem::kNone;
    return true;
}

}  // namespace wordlists
