// The allocator behind the arena (arena.h): one reserved range of address
// space, committed as it fills, handing out page-aligned blocks and small
// pieces. The process has one, made when the engine is loaded; tests make
// their own. Thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>

#include "engine/arena.h"

namespace lexbase::arena {

class Region {
public:
    enum class Placement {
        kAnywhere,
        kBelowReach,  // wholly below kMaxRegion, where 32-bit references reach
    };
    // Reserves up to `wanted` bytes of address space (less when the system
    // refuses, halving down to 64 MB; none at all leaves every allocation
    // failing).
    Region(std::uint64_t wanted, Placement placement);
    ~Region();
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;

    char* start() const { return start_; }
    std::uint64_t size() const { return reserved_; }

    void* AllocateBlock(std::size_t bytes);
    void FreeBlock(void* block);
    void* AllocatePiece(std::size_t bytes);
    void FreePiece(void* piece, std::size_t bytes);
    Usage CurrentUsage();

private:
    bool TakeFree(std::size_t size, std::size_t align, std::size_t* offset);
    bool TakeTop(std::size_t size, std::size_t align, std::size_t* offset);
    void GiveBack(std::size_t offset, std::size_t size);
    void* NewBlock(std::size_t size);

    std::mutex mutex_;
    char* start_ = nullptr;
    std::uint64_t reserved_ = 0;
    std::uint64_t committed_ = 0;  // [0, committed_) is readable and writable
    std::uint64_t top_ = 0;        // nothing at or above it is handed out
    std::uint64_t in_use_ = 0;
    std::map<std::size_t, std::size_t> free_;    // freed ranges below top_: offset -> bytes
    std::map<std::size_t, std::size_t> blocks_;  // blocks handed out: offset -> bytes
    void* pieces_[kMaxPiece / kUnit] = {};       // per size: freed pieces, each naming the next
    char* chunk_ = nullptr;                      // where the next new piece is cut
    std::size_t chunk_left_ = 0;
};

}  // namespace lexbase::arena
