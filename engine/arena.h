// The region of address space that holds every word node and translation
// link of the process. The region lies in the lowest 32 GB of the address
// space, so nodes and links refer to each other by 32-bit numbers, their
// address in 8-byte units, instead of 64-bit pointers: a node takes 24 bytes
// and a link 8, and following a reference costs no more than a pointer. The
// region is reserved once, when the engine is loaded, and its pages are taken
// from the system as it fills; the blocks a load or import makes and the
// single nodes and links an edit makes both come from it. Every function here
// may be called from any thread.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>

namespace lexbase {
namespace arena {

// Where the region starts and how large it is; fixed before main() and never
// changed. Both 0 when the system gave no address space.
extern std::uintptr_t region_start;
extern std::uint64_t region_size;

// Every allocation is aligned to a unit; 32-bit numbers of units reach
// kMaxRegion.
inline constexpr std::size_t kUnit = 8;
inline constexpr std::uint64_t kMaxRegion = std::uint64_t{kUnit} << 32;

// A block of `bytes` bytes, aligned to a page (to 2 MB when large), or null
// when the region or the system has no room left. Freed blocks are given back
// to the system and their room is used again.
void* AllocateBlock(std::size_t bytes);
void FreeBlock(void* block);  // a block of AllocateBlock, or null

// Small pieces of 8 to 64 bytes, a multiple of 8: single nodes and links.
// FreePiece takes the size the piece was allocated with.
inline constexpr std::size_t kMaxPiece = 64;
void* AllocatePiece(std::size_t bytes);
void FreePiece(void* piece, std::size_t bytes);

// Sets `bytes` bytes at `memory` (private memory of the process: the heap,
// a stack, an anonymous mapping) to zero without writing the whole pages
// among them: those go back to the system and read as zeros again, so a
// large table that is mostly empty costs memory only where it is filled.
void ZeroPages(void* memory, std::size_t bytes);

// Whether `address` lies in the region.
inline bool Holds(const void* address) {
    return reinterpret_cast<std::uintptr_t>(address) - region_start < region_size;
}

// Frees an arena block held in a std::unique_ptr.
struct BlockDeleter {
    void operator()(void* block) const { FreeBlock(block); }
};

struct Usage {
    std::uint64_t reserved;   // bytes of address space
    std::uint64_t committed;  // bytes taken from the system so far
    std::uint64_t in_use;     // bytes handed out and not freed (blocks in whole pages)
};
Usage CurrentUsage();

}  // namespace arena

// A reference to a T that lies in the arena, in 32 bits: its address in
// 8-byte units, 0 for null. It converts to and from T* so that code reads as
// with pointers.
template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) : unit_(0) {}
    Ref(T* item) : unit_(UnitOf(item)) {}

    T* get() const { return reinterpret_cast<T*>(std::uintptr_t{unit_} * arena::kUnit); }
    operator T*() const { return get(); }
    T* operator->() const { return get(); }
    T& operator*() const { return *get(); }

    friend bool operator==(Ref a, Ref b) { return a.unit_ == b.unit_; }
    friend bool operator==(Ref a, std::nullptr_t) { return a.unit_ == 0; }
    friend bool operator==(Ref a, const T* b) { return a.get() == b; }

private:
    static std::uint32_t UnitOf(const T* item) {
        assert(item == nullptr ||
               (arena::Holds(item) && reinterpret_cast<std::uintptr_t>(item) % arena::kUnit == 0));
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(item) / arena::kUnit);
    }

    std::uint32_t unit_;
};

}  // namespace lexbase
