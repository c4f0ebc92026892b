// Fuzz target of the INI reader and writer. The input is split at its first
// three NUL bytes into the text, a section, a key and a value. Whatever the
// text, a value that SetProfileValue accepts must read back unchanged, another
// key of the section must keep its value, and a refused write must leave the
// text alone.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/profile_file.h"

namespace {

// The part of `rest` before its first NUL, which is then dropped from `rest`;
// `fallback` when `rest` holds no NUL.
std::string_view TakePart(std::string_view* rest, std::string_view fallback) {
    const std::size_t nul = rest->find('\0');
    if (nul == std::string_view::npos) return fallback;
    const std::string_view part = rest->substr(0, nul);
    rest->remove_prefix(nul + 1);
    return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view text = TakePart(&rest, rest);
    const std::string_view section = TakePart(&rest, "options");
    const std::string_view key = TakePart(&rest, "deepsearch");
    const std::string_view value = rest;

    // A second key that differs from `key` however that is spelled.
    std::string_view trimmed = key;
    while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t')) {
        trimmed.remove_prefix(1);
    }
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t')) {
        trimmed.remove_suffix(1);
    }
    const std::string other_key = trimmed == "k" || trimmed == "K" ? "j" : "k";
    const auto other_before = platform::FindProfileValue(text, section, other_key);
    (void)platform::FindProfileValue(text, section, key);

    std::string changed(text);
    if (platform::SetProfileValue(&changed, section, key, value)) {
        if (platform::FindProfileValue(changed, section, key) != value) __builtin_trap();
        if (platform::FindProfileValue(changed, section, other_key) != other_before) {
            __builtin_trap();
        }
    } else if (changed != text) {
        __builtin_trap();
    }
    return 0;
}
