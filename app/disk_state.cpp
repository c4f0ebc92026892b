#include "app/disk_state.h"

#include "lookup/lookup_image.h"

namespace wordbay {

DiskState ReadDiskState(const std::string& path) {
    DiskState state;
    // The stamp before and after the CRC must agree, so that both tell of
    // the same file; a file replaced in between is read again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        state.stamp = platform::StampOf(path.c_str());
        lookup::SourceKey key;
        state.crc = state.stamp.exists && lookup::ReadSourceKey(path, &key) ? key.crc : 0;
        if (platform::StampOf(path.c_str()) == state.stamp) break;
    }
    return state;
}

}  // namespace wordbay
