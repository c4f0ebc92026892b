#include "exchange/source_dictionary.h"

#include <cstdint>
#include <utility>

#include "exchange/flat_index.h"
#include "platform/side_by_side.h"

namespace exchange {

std::size_t KeepPairsOnce(std::vector<TranslationPair>* pairs) {
    std::vector<TranslationPair>& p = *pairs;
    std::vector<char> keep(p.size(), 0);
    // A repeat has the lengths of its first, so pairs of odd and of even total
    // length are looked at side by side.
    std::size_t odd = 0;
    for (const TranslationPair& pair : p) odd += (pair.word.size() + pair.translation.size()) % 2;
    const auto mark = [&](std::size_t parity) {
        FlatIndex seen(parity == 1 ? odd : p.size() - odd);
        for (std::size_t i = 0; i < p.size(); ++i) {
            if ((p[i].word.size() + p[i].translation.size()) % 2 != parity) continue;
            const std::uint64_t h = HashText(p[i].word);
            const std::uint64_t hash =
                h ^ (HashText(p[i].translation) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2));
            const auto number = static_cast<std::size_t>(
                seen.FindOrAdd(hash, static_cast<std::uint32_t>(i), [&](std::uint32_t n) {
                    return p[n].word == p[i].word && p[n].translation == p[i].translation;
                }));
            keep[i] = number == i;
        }
    };
    platform::SideBySide([&] { mark(0); }, [&] { mark(1); });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (!keep[i]) continue;
        if (kept != i) p[kept] = std::move(p[i]);
        ++kept;
    }
    const std::size_t dropped = p.size() - kept;
    p.resize(kept);
    return dropped;
}

}  // namespace exchange
