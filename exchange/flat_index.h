// Numbering things seen before, for the conversion's passes over hundreds of
// thousands of texts: an open-addressing table of numbers, in one block,
// without an allocation per entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace exchange {

class FlatIndex {
public:
    // Room for `most` entries; more are never added.
    explicit FlatIndex(std::size_t most) {
        std::size_t capacity = 16;
        while (capacity < 2 * most) capacity *= 2;
        slots_.assign(capacity, 0);
        mask_ = capacity - 1;
    }

    // The number of the entry of `hash` that `same(number)` accepts, or
    // `fresh` when there is none, which then becomes that entry's number.
    template <typename Same>
    std::uint32_t FindOrAdd(std::uint64_t hash, std::uint32_t fresh, Same same) {
        // A slot holds the upper half of its entry's hash and the number + 1; 0 is free.
        const std::uint64_t tag = hash >> 32 << 32;
        for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
            const std::uint64_t entry = slots_[slot];
            if (entry == 0) {
                slots_[slot] = tag | (std::uint64_t{fresh} + 1);
                return fresh;
            }
            const auto number = static_cast<std::uint32_t>((entry & 0xFFFFFFFFu) - 1);
            if ((entry & ~std::uint64_t{0xFFFFFFFFu}) == tag && same(number)) return number;
        }
    }

private:
    std::vector<std::uint64_t> slots_;
    std::size_t mask_ = 0;
};

inline std::uint64_t HashText(std::string_view text) { return std::hash<std::string_view>{}(text); }

}  // namespace exchange
