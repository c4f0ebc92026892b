#include "exchange/stardict_format.h"

#include "platform/char_fold.h"
#include "platform/code_page.h"
#include "platform/collation.h"

namespace exchange {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool StarDictLess(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(AsciiLower(a[i]));
        const auto y = static_cast<unsigned char>(AsciiLower(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y;
    }
    return false;
}

std::string PlainForm(std::string_view utf8, bool fold_case) {
    std::u32string chars;
    platform::DecodeToCodePoints(platform::kUtf8CodePage, utf8, &chars);
    platform::FoldChars(
        &chars, platform::kNormIgnoreNonSpace | (fold_case ? platform::kNormIgnoreCase : 0u));
    std::string plain;
    platform::EncodeToUtf8(chars, &plain);
    return plain;
}

std::string StarDictBase(const std::string& path) {
    for (const std::string_view tail : {".ifo", ".idx.gz", ".idx", ".dict.dz", ".dict", ".syn"}) {
        if (path.size() >= tail.size() &&
            path.compare(path.size() - tail.size(), tail.size(), tail.data(), tail.size()) == 0) {
            return path.substr(0, path.size() - tail.size());
        }
    }
    return path;
}

}  // namespace exchange
