#include "forms/stored_stems.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>

namespace forms {
namespace {

// The layout, little-endian: 0 magic, 8 version, 12 the CRC-32 of the rest
// of the header; 16 the owner, the locale, the .aff's and the .dic's paths
// (each a 32-bit length and its bytes), the two files' stamps (device, inode,
// size, seconds, nanoseconds: 64 bits each), the count of words, the count
// of chunks and a CRC-32 per chunk. The data: per word the 32-bit offset of
// its record from the first record; the records, sorted by word bytes: the
// word, the count of its stems, the stems. Each 4 KiB chunk of the data has
// its CRC checked the first time a look-up reads from it, so that a look-up
// reads a few pages of the file, not all of it.
constexpr char kMagic[8] = {'W', 'B', 'S', 'T', 'E', 'M', 'S', '\0'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kFixedSize = 16;
constexpr unsigned kChunkShift = 12;
constexpr std::uint64_t kChunkSize = std::uint64_t{1} << kChunkShift;
// Far beyond what the largest dictionary's forms take.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;

std::uint32_t Crc(const char* data, std::size_t size) {
    return static_cast<std::uint32_t>(libdeflate_crc32(0, data, size));
}

void Put32(std::string* out, std::uint32_t v) { out->append(reinterpret_cast<char*>(&v), 4); }
void Put64(std::string* out, std::uint64_t v) { out->append(reinterpret_cast<char*>(&v), 8); }
void PutText(std::string* out, std::string_view text) {
    Put32(out, static_cast<std::uint32_t>(text.size()));
    out->append(text);
}
void PutStamp(std::string* out, const platform::FileStamp& s) {
    for (const std::uint64_t v :
         {std::uint64_t{s.device}, std::uint64_t{s.inode}, std::uint64_t{s.size},
          static_cast<std::uint64_t>(s.modified_s), static_cast<std::uint64_t>(s.modified_ns)}) {
        Put64(out, v);
    }
}

}  // namespace

// Reads from the file's bytes, every read checked against their end.
struct StoredStems::Cursor {
    const StoredStems* stems;
    std::uint64_t at;

    bool Get32(std::uint32_t* v) { return Take(v, 4); }
    bool Get64(std::uint64_t* v) { return Take(v, 8); }
    bool Take(void* out, std::size_t n) {
        if (!stems->Get(at, out, n)) return false;
        at += n;
        return true;
    }
    bool GetText(std::string* text) {
        std::uint32_t n = 0;
        if (!Get32(&n) || n > stems->size_ - at) return false;
        text->resize(n);
        return Take(text->data(), n);
    }
    bool GetStamp(platform::FileStamp* s) {
        std::uint64_t v[5];
        for (std::uint64_t& x : v) {
            if (!Get64(&x)) return false;
        }
        *s = {true, v[0], v[1], v[2], static_cast<long long>(v[3]), static_cast<long long>(v[4])};
        return true;
    }
};

namespace {
struct CrcJob {
    const char* data;
    std::uint64_t begin;
    std::uint64_t end;
    std::uint32_t crc;
};
}  // namespace

void StoredStems::RunCrc(void* argument) {
    auto* job = static_cast<CrcJob*>(argument);
    job->crc = Crc(job->data + job->begin, job->end - job->begin);
}

bool StoredStems::CrcOf(std::uint64_t begin, std::uint64_t end, std::uint32_t* crc) const {
    CrcJob job{data_, begin, end, 0};
    if (data_ == owned_.data()) {
        RunCrc(&job);
    } else if (!file_.Guarded(RunCrc, &job)) {
        return false;
    }
    *crc = job.crc;
    return true;
}

bool StoredStems::Get(std::uint64_t offset, void* out, std::size_t count) const {
    if (offset > size_ || count > size_ - offset) return false;
    if (count == 0) return true;
    if (offset >= data_start_) {
        const std::uint64_t first = (offset - data_start_) >> kChunkShift;
        const std::uint64_t last = (offset + count - 1 - data_start_) >> kChunkShift;
        for (std::uint64_t c = first; c <= last; ++c) {
            if (checked_[c]) continue;
            const std::uint64_t begin = data_start_ + (c << kChunkShift);
            std::uint32_t crc = 0;
            if (!CrcOf(begin, std::min(begin + kChunkSize, size_), &crc) || crc != chunk_crcs_[c]) {
                return false;
            }
            checked_[c] = 1;
        }
    }
    if (data_ == owned_.data()) {
        std::memcpy(out, data_ + offset, count);
        return true;
    }
    return file_.Read(offset, out, count);
}

bool StoredStems::Check(std::string_view owner) {
    count_ = 0;
    data_start_ = UINT64_MAX;  // no chunks until the header holds up
    char magic[8];
    if (size_ < kFixedSize || !Get(0, magic, 8) || std::memcmp(magic, kMagic, 8) != 0) {
        return false;
    }
    Cursor head{this, 8};
    std::uint32_t version = 0;
    std::uint32_t crc = 0;
    std::string stored_owner;
    std::uint32_t count = 0;
    std::uint32_t chunks = 0;
    if (!head.Get32(&version) || version != kVersion || !head.Get32(&crc) ||
        !head.GetText(&stored_owner) || !head.GetText(&locale_) || !head.GetText(&files_.aff) ||
        !head.GetText(&files_.dic) || !head.GetStamp(&aff_stamp_) || !head.GetStamp(&dic_stamp_) ||
        !head.Get32(&count) || !head.Get32(&chunks) || (size_ - head.at) / 4 < chunks) {
        return false;
    }
    chunk_crcs_.resize(chunks);
    std::uint32_t header_crc = 0;
    if (!head.Take(chunk_crcs_.data(), std::size_t{chunks} * 4) ||
        !CrcOf(kFixedSize, head.at, &header_crc) || header_crc != crc || stored_owner != owner ||
        (size_ - head.at) / 4 < count ||
        ((size_ - head.at) + kChunkSize - 1) >> kChunkShift != chunks) {
        return false;
    }
    data_start_ = head.at;
    checked_.assign(chunks, 0);
    offsets_ = head.at;
    records_ = head.at + std::uint64_t{count} * 4;
    count_ = count;
    return true;
}

bool StoredStems::Parse(std::string bytes, std::string_view owner) {
    file_.Close();
    owned_ = std::move(bytes);
    data_ = owned_.data();
    size_ = owned_.size();
    return Check(owner);
}

bool StoredStems::Read(const std::string& path, std::string_view owner) {
    owned_.clear();
    data_ = nullptr;
    size_ = 0;
    count_ = 0;
    std::uint64_t size = 0;
    if (!file_.Open(path.c_str(), platform::MappedFile::Access::kRead) || !file_.QuerySize(&size) ||
        size < kFixedSize || size > kMaxFileBytes || !file_.Map(size)) {
        return false;
    }
    data_ = reinterpret_cast<const char*>(file_.data());
    size_ = size;
    return Check(owner);
}

bool StoredStems::SpellerCurrent() const {
    const std::optional<SpellerFiles> now = FindSpeller(locale_);
    return now && now->aff == files_.aff && now->dic == files_.dic &&
           platform::StampOf(now->aff.c_str()) == aff_stamp_ &&
           platform::StampOf(now->dic.c_str()) == dic_stamp_;
}

bool StoredStems::Find(std::string_view word, std::vector<std::string>* stems) const {
    stems->clear();
    std::uint32_t low = 0;
    std::uint32_t high = count_;
    std::string stored;
    while (low < high) {
        const std::uint32_t mid = low + (high - low) / 2;
        std::uint32_t offset = 0;
        if (!Get(offsets_ + std::uint64_t{mid} * 4, &offset, 4)) return false;
        Cursor c{this, records_ + offset};
        if (!c.GetText(&stored)) return false;
        if (stored < word) {
            low = mid + 1;
        } else if (word < stored) {
            high = mid;
        } else {
            std::uint32_t n = 0;
            if (!c.Get32(&n) || n > (size_ - c.at) / 4) return false;
            std::vector<std::string> found(n);
            for (std::string& stem : found) {
                if (!c.GetText(&stem)) return false;
            }
            *stems = std::move(found);
            return true;
        }
    }
    return false;
}

bool WriteStoredStems(const std::string& path, std::string_view owner, std::string_view locale,
                      Speller& speller, std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    std::string records;
    std::vector<std::uint32_t> offsets;
    offsets.reserve(words.size());
    for (const std::string& word : words) {
        if (records.size() > UINT32_MAX - (std::size_t{1} << 20)) return false;
        offsets.push_back(static_cast<std::uint32_t>(records.size()));
        PutText(&records, word);
        const std::vector<std::string> stems = speller.Stems(word);
        Put32(&records, static_cast<std::uint32_t>(stems.size()));
        for (const std::string& stem : stems) PutText(&records, stem);
    }
    std::string data;
    for (const std::uint32_t offset : offsets) Put32(&data, offset);
    data += records;
    std::string file(kMagic, sizeof kMagic);
    Put32(&file, kVersion);
    Put32(&file, 0);  // the header's CRC, below
    PutText(&file, owner);
    PutText(&file, locale);
    PutText(&file, speller.files().aff);
    PutText(&file, speller.files().dic);
    PutStamp(&file, speller.aff_stamp());
    PutStamp(&file, speller.dic_stamp());
    Put32(&file, static_cast<std::uint32_t>(offsets.size()));
    const std::size_t chunks = (data.size() + kChunkSize - 1) >> kChunkShift;
    Put32(&file, static_cast<std::uint32_t>(chunks));
    for (std::size_t c = 0; c < chunks; ++c) {
        const std::size_t begin = c << kChunkShift;
        Put32(&file,
              Crc(data.data() + begin, std::min<std::size_t>(kChunkSize, data.size() - begin)));
    }
    const std::uint32_t crc = Crc(file.data() + kFixedSize, file.size() - kFixedSize);
    std::memcpy(file.data() + 12, &crc, 4);
    file += data;
    return platform::WriteWholeFile(path.c_str(), file.data(), file.size(), 0600);
}

}  // namespace forms
