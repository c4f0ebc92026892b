// Blocks of memory taken with std::malloc and owned by a std::unique_ptr: the
// engine's bulk storage and file buffers, which must fail softly (a null
// pointer) rather than throw when memory runs out.
#pragma once

#include <cstdlib>
#include <memory>

namespace lexbase {

// Frees a block taken with std::malloc, std::calloc or std::realloc.
struct FreeDeleter {
    void operator()(void* block) const { std::free(block); }
};

// A malloc'd array of T, freed when it goes.
template <typename T>
using MallocBlock = std::unique_ptr<T, FreeDeleter>;

}  // namespace lexbase
