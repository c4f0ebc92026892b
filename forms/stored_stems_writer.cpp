#include <algorithm>
#include <cstring>

#include "forms/speller.h"
#include "forms/stored_stems.h"
#include "forms/stored_stems_layout.h"

namespace forms {
namespace {

using namespace stems_layout;

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
