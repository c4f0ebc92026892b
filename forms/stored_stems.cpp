#include "forms/stored_stems.h"

#include <algorithm>
#include <cstring>

#include "forms/stored_stems_layout.h"

namespace forms {
namespace {

using namespace stems_layout;

// Far beyond what the largest dictionary's forms take.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;

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

}  // namespace forms
