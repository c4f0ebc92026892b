#include "engine/formats/file_input.h"

#include <unistd.h>

#include "platform/file_reader.h"

namespace lexbase {
namespace {

ReadStatus CheckSize(std::uint64_t size, const ReadBounds& bounds) {
    if (size < bounds.min_size) return ReadStatus::kTooSmall;
    if (size > bounds.max_size || (bounds.unit > 1 && size % bounds.unit != 0)) {
        return ReadStatus::kBadSize;
    }
    if (size > SIZE_MAX - bounds.front - bounds.back) return ReadStatus::kNoMemory;
    return ReadStatus::kRead;
}

}  // namespace

ReadStatus ReadWholeFile(const char* path, const ReadBounds& bounds, WholeFile* out) noexcept {
    int fd = -1;
    std::uint64_t size = 0;
    if (platform::OpenRegularFile(path, &fd, &size) != platform::ReadOutcome::kRead) {
        return ReadStatus::kCantOpen;
    }
    ReadStatus status = CheckSize(size, bounds);
    if (status == ReadStatus::kRead) {
        const auto bytes = static_cast<std::size_t>(size);
        const std::size_t total = bounds.front + bytes + bounds.back;
        MallocBlock<char> block(static_cast<char*>(std::malloc(total > 0 ? total : 1)));
        std::size_t done = 0;
        if (block == nullptr) {
            status = ReadStatus::kNoMemory;
        } else if (!platform::ReadUpTo(fd, block.get() + bounds.front, bytes, &done)) {
            status = ReadStatus::kCantRead;
        } else {
            out->block = std::move(block);
            out->size = done;
        }
    }
    ::close(fd);
    return status;
}

ReadStatus MapWholeFile(const char* path, const ReadBounds& bounds,
                        platform::MappedFile::Access access, platform::MappedFile* out) noexcept {
    if (!out->Open(path, access)) return ReadStatus::kCantOpen;
    std::uint64_t size = 0;
    ReadStatus status = ReadStatus::kCantGetSize;
    if (out->QuerySize(&size)) status = CheckSize(size, bounds);
    if (status == ReadStatus::kRead && !out->Map(size)) status = ReadStatus::kCantMap;
    if (status != ReadStatus::kRead) out->Close();
    return status;
}

bool SplitImportFileName(std::string_view path, std::string_view* a, std::string_view* b) {
    std::string_view name = path;
    if (const std::size_t slash = name.rfind('/'); slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) return false;
    const std::size_t underscore = name.substr(0, dot).find('_');
    if (underscore == std::string_view::npos) return false;
    *a = name.substr(0, underscore);
    *b = name.substr(underscore + 1, dot - underscore - 1);
    return true;
}

}  // namespace lexbase
