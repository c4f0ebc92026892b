// DiskState: what the program remembers of the dictionary file it loaded or
// saved, to tell when another program saved it since: the file's stamp
// (which file the path names, its size and its modification time to the
// nanosecond) and the CRC-32 stored in its last four bytes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_writer.h"

namespace wordbay {

struct DiskState {
    platform::FileStamp stamp;
    std::uint32_t crc = 0;
    bool operator==(const DiskState&) const = default;
};

// The state of the file `path` now (stamp.exists false when there is none).
// It reads the file's last bytes, which drops a FileLock this process holds
// on it.
DiskState ReadDiskState(const std::string& path);

}  // namespace wordbay
