// Stored stems: what the language's speller gives as stems for many words,
// kept in a file beside a dictionary's look-up image, so that a later
// look-up of one of those words gets the very same stems without loading the
// speller (German's takes a tenth of a second and more).
//
// The file names the state of the dictionary it was made for (an owner text
// its caller composes) and the speller's two files by path, device, inode,
// size and modification time. A word the file does not hold, a changed or
// removed speller, or a file that is not whole (CRC-32s check its header,
// and each 4 KiB of its data the first time it is read) leave the answer to
// the loaded speller. Any bytes at all are safe to parse.
// One object serves one thread at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/speller_files.h"
#include "platform/file_writer.h"
#include "platform/mapped_file.h"

namespace forms {

class Speller;

class StoredStems {
public:
    StoredStems() = default;
    StoredStems(const StoredStems&) = delete;
    StoredStems& operator=(const StoredStems&) = delete;

    // Takes `bytes` as a stems file; false (holding nothing) when they are
    // not a whole one made for `owner`.
    bool Parse(std::string bytes, std::string_view owner);
    // Maps the file `path` and checks it as Parse does; false when there is
    // none or it is not fit. A file cut short while mapped holds no more
    // words from then on.
    bool Read(const std::string& path, std::string_view owner);

    // The locale of the list the stems were asked for ("en_US").
    const std::string& locale() const { return locale_; }
    // Whether the speller FindSpeller(locale()) gives now is the one whose
    // stems these are, its files unchanged.
    bool SpellerCurrent() const;

    // The stems of `word`, as Speller::Stems gives them, into *stems; false
    // when the file does not hold the word.
    bool Find(std::string_view word, std::vector<std::string>* stems) const;
    std::size_t size() const { return count_; }

private:
    struct Cursor;
    static void RunCrc(void* argument);
    // Checks the CRC and reads the header of the bytes in hand.
    bool Check(std::string_view owner);
    // Copies `count` bytes at `offset` of the file; false when they lie
    // outside it, a chunk of data they touch fails its CRC, or the mapped
    // file no longer holds them.
    bool Get(std::uint64_t offset, void* out, std::size_t count) const;
    // The CRC-32 of the bytes [begin, end); false when the mapped file no
    // longer holds them.
    bool CrcOf(std::uint64_t begin, std::uint64_t end, std::uint32_t* crc) const;

    std::string owned_;           // the bytes given to Parse
    platform::MappedFile file_;   // or the file mapped by Read
    const char* data_ = nullptr;  // whichever of them holds the bytes
    std::uint64_t size_ = 0;
    std::string locale_;
    SpellerFiles files_;
    platform::FileStamp aff_stamp_;
    platform::FileStamp dic_stamp_;
    std::uint32_t count_ = 0;
    std::uint64_t offsets_ = 0;  // where the records' offsets begin
    std::uint64_t records_ = 0;  // where the records begin
    std::uint64_t data_start_ = 0;
    std::vector<std::uint32_t> chunk_crcs_;
    mutable std::vector<std::uint8_t> checked_;  // per chunk: 0 unchecked, 1 good
};

// Writes to `path` the stems `speller` gives for each of `words` (any order,
// repeats allowed), for `owner` and the list's `locale`; false when it can't
// be written.
bool WriteStoredStems(const std::string& path, std::string_view owner, std::string_view locale,
                      Speller& speller, std::vector<std::string> words);

}  // namespace forms
