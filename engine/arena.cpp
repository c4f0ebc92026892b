#include "engine/arena.h"

#include <sys/mman.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/arena_region.h"

#if defined(__SANITIZE_ADDRESS__)
#define LEXBASE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LEXBASE_ASAN 1
#endif
#endif
#ifdef LEXBASE_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace lexbase {
namespace arena {

std::uintptr_t region_start = 0;
std::uint64_t region_size = 0;

namespace {

constexpr std::size_t kPage = 4096;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kCommitStep = kHugePage;  // pages are taken from the system in steps
constexpr std::size_t kPieceChunk = std::size_t{64} << 10;  // pieces are cut from chunks this large
constexpr std::uint64_t kSmallestRegion = std::uint64_t{64} << 20;

std::size_t RoundUp(std::size_t n, std::size_t to) { return (n + to - 1) / to * to; }

// Freed memory is unreadable to the address sanitizer, as the heap's is, so
// that a use after free still shows in the sanitizer build.
void Poison(const void* at, std::size_t bytes) {
#ifdef LEXBASE_ASAN
    ASAN_POISON_MEMORY_REGION(at, bytes);
#else
    (void)at;
    (void)bytes;
#endif
}

void Unpoison(const void* at, std::size_t bytes) {
#ifdef LEXBASE_ASAN
    ASAN_UNPOISON_MEMORY_REGION(at, bytes);
#else
    (void)at;
    (void)bytes;
#endif
}

// The address space to ask for: what 32-bit numbers reach, less where the
// process's address space is bounded, so that the rest of the process keeps
// room.
std::uint64_t WantedRegion() {
    std::uint64_t want = kMaxRegion;
    rlimit address_space{};
    if (::getrlimit(RLIMIT_AS, &address_space) == 0 && address_space.rlim_cur != RLIM_INFINITY) {
        want = std::min<std::uint64_t>(want, address_space.rlim_cur / 4 / kHugePage * kHugePage);
    }
    return want;
}

// Address space alone, at `hint` if given: no memory is taken until pages
// are committed. Null when the system refuses or puts it elsewhere than
// below `end`.
char* ReserveRange(std::uint64_t hint, std::uint64_t size, std::uint64_t end) {
    void* start = ::mmap(reinterpret_cast<void*>(hint), size, PROT_NONE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (start == MAP_FAILED) return nullptr;
    if (reinterpret_cast<std::uintptr_t>(start) + size > end) {
        ::munmap(start, size);
        return nullptr;
    }
    return static_cast<char*>(start);
}

}  // namespace

Region::Region(std::uint64_t wanted, Placement placement) {
    constexpr std::uint64_t kGB = std::uint64_t{1} << 30;
    if (placement == Placement::kBelowReach) wanted = std::min(wanted, kMaxRegion - kGB);
    for (std::uint64_t size = wanted; size >= kSmallestRegion && start_ == nullptr; size /= 2) {
        if (placement == Placement::kAnywhere) {
            start_ = ReserveRange(0, size, UINT64_MAX);
            reserved_ = size;
            continue;
        }
        // Above what a program without position-independent code occupies.
        for (std::uint64_t hint = kGB; hint + size <= kMaxRegion && start_ == nullptr; hint *= 2) {
            start_ = ReserveRange(hint, size, kMaxRegion);
            reserved_ = size;
        }
    }
    if (start_ == nullptr) reserved_ = 0;
    // The first page is never handed out: a region at 0 would have number 0 in it.
    top_ = kPage;
}

Region::~Region() {
    if (start_ != nullptr) ::munmap(start_, reserved_);
}

Usage Region::CurrentUsage() {
    std::lock_guard<std::mutex> lock(mutex_);
    return {reserved_, committed_, in_use_};
}

// The lowest freed range that holds `size` bytes at an `align`ed offset.
bool Region::TakeFree(std::size_t size, std::size_t align, std::size_t* offset) {
    for (auto it = free_.begin(); it != free_.end(); ++it) {
        const std::size_t begin = it->first, end = it->first + it->second;
        const std::size_t at = RoundUp(begin, align);
        if (at > end || end - at < size) continue;
        free_.erase(it);
        if (at > begin) free_.emplace(begin, at - begin);
        if (end > at + size) free_.emplace(at + size, end - at - size);
        *offset = at;
        return true;
    }
    return false;
}

// New room at the top of what was handed out, committing pages as needed.
bool Region::TakeTop(std::size_t size, std::size_t align, std::size_t* offset) {
    const std::uint64_t at = RoundUp(top_, align);
    if (at > reserved_ || reserved_ - at < size) return false;
    const std::uint64_t end = at + size;
    if (end > committed_) {
        const std::uint64_t target = std::min<std::uint64_t>(RoundUp(end, kCommitStep), reserved_);
        if (::mprotect(start_ + committed_, target - committed_, PROT_READ | PROT_WRITE) != 0) {
            return false;
        }
        Poison(start_ + committed_, target - committed_);
        committed_ = target;
    }
    if (at > top_) GiveBack(top_, at - top_);
    top_ = end;
    *offset = at;
    return true;
}

// Returns a range to the free ones, joined with its neighbours; the pages
// wholly inside it go back to the system.
void Region::GiveBack(std::size_t offset, std::size_t size) {
    const std::size_t first_page = RoundUp(offset, kPage);
    const std::size_t end_page = (offset + size) / kPage * kPage;
    if (end_page > first_page) ::madvise(start_ + first_page, end_page - first_page, MADV_DONTNEED);
    Poison(start_ + offset, size);
    auto next = free_.lower_bound(offset);
    if (next != free_.end() && next->first == offset + size) {
        size += next->second;
        next = free_.erase(next);
    }
    if (next != free_.begin()) {
        auto prev = std::prev(next);
        if (prev->first + prev->second == offset) {
            offset = prev->first;
            size += prev->second;
            free_.erase(prev);
        }
    }
    if (offset + size == top_) {
        top_ = offset;
    } else {
        free_.emplace(offset, size);
    }
}

void* Region::NewBlock(std::size_t size) {
    const std::size_t align = size >= 2 * kHugePage ? kHugePage : kPage;
    std::size_t offset = 0;
    if (start_ == nullptr) return nullptr;
    try {
        if (!TakeFree(size, align, &offset) && !TakeTop(size, align, &offset)) return nullptr;
        blocks_.emplace(offset, size);
    } catch (const std::bad_alloc&) {
        return nullptr;  // the bookkeeping found no memory: the range stays out of use
    }
    in_use_ += size;
    return start_ + offset;
}

void* Region::AllocateBlock(std::size_t bytes) {
    const std::size_t size = RoundUp(std::max<std::size_t>(bytes, 1), kPage);
    void* block = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        block = NewBlock(size);
    }
    if (block == nullptr) return nullptr;
    Unpoison(block, bytes);
    // No huge pages are asked for: in a virtual machine the first touch of a
    // 2 MB huge page took up to 15 ms where 512 small pages take under one,
    // which made a load of 50 ms take up to 300 at random.
    return block;
}

void Region::FreeBlock(void* block) {
    if (block == nullptr) return;
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = blocks_.find(static_cast<std::size_t>(static_cast<char*>(block) - start_));
    assert(it != blocks_.end());
    if (it == blocks_.end()) return;
    const std::size_t offset = it->first, size = it->second;
    blocks_.erase(it);
    in_use_ -= size;
    try {
        GiveBack(offset, size);
    } catch (const std::bad_alloc&) {
        // No memory to note the range as free: it stays out of use, its pages given back.
    }
}

void* Region::AllocatePiece(std::size_t bytes) {
    assert(bytes >= kUnit && bytes <= kMaxPiece && bytes % kUnit == 0);
    void*& head = pieces_[bytes / kUnit - 1];
    std::lock_guard<std::mutex> lock(mutex_);
    void* piece = head;
    if (piece != nullptr) {
        Unpoison(piece, bytes);
        std::memcpy(&head, piece, sizeof head);
    } else {
        if (chunk_left_ < bytes) {
            chunk_ = static_cast<char*>(NewBlock(kPieceChunk));
            chunk_left_ = chunk_ != nullptr ? kPieceChunk : 0;
            if (chunk_ == nullptr) return nullptr;
            // The chunk counts as it is cut, not as a whole.
            in_use_ -= kPieceChunk;
        }
        piece = chunk_;
        chunk_ += bytes;
        chunk_left_ -= bytes;
        Unpoison(piece, bytes);
    }
    in_use_ += bytes;
    return piece;
}

void Region::FreePiece(void* piece, std::size_t bytes) {
    if (piece == nullptr) return;
    assert(bytes >= kUnit && bytes <= kMaxPiece && bytes % kUnit == 0);
    void*& head = pieces_[bytes / kUnit - 1];
    std::lock_guard<std::mutex> lock(mutex_);
    std::memcpy(piece, &head, sizeof head);
    head = piece;
    Poison(piece, bytes);
    in_use_ -= bytes;
}

namespace {

// Never destroyed: blocks may still be freed while the process exits.
Region& TheRegion() {
    static Region& region = []() -> Region& {
        Region* made = new Region(WantedRegion(), Region::Placement::kBelowReach);
        region_start = reinterpret_cast<std::uintptr_t>(made->start());
        region_size = made->size();
        return *made;
    }();
    return region;
}

// Reserved while the engine is loaded, before any thread can read the start.
[[maybe_unused]] const bool reserved_at_load = (TheRegion(), true);

}  // namespace

void* AllocateBlock(std::size_t bytes) { return TheRegion().AllocateBlock(bytes); }
void FreeBlock(void* block) { TheRegion().FreeBlock(block); }
void* AllocatePiece(std::size_t bytes) { return TheRegion().AllocatePiece(bytes); }
void FreePiece(void* piece, std::size_t bytes) { TheRegion().FreePiece(piece, bytes); }
Usage CurrentUsage() { return TheRegion().CurrentUsage(); }

void ZeroPages(void* memory, std::size_t bytes) {
    const auto begin = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t first = RoundUp(begin, kPage);
    const std::uintptr_t end = (begin + bytes) / kPage * kPage;
    if (end <= first ||
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED) != 0) {
        std::memset(memory, 0, bytes);
        return;
    }
    std::memset(memory, 0, first - begin);
    std::memset(reinterpret_cast<void*>(end), 0, begin + bytes - end);
}

}  // namespace arena
}  // namespace lexbase
