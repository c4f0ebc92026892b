// UTF-8 text read character by character, without ICU's libraries (its
// header macros only), for processes that answer without loading them.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// True when `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// The characters of UTF-8 `text` into *out (cleared first); each malformed
// sequence gives U+FFFD.
void DecodeUtf8(std::string_view text, std::u32string* out);

}  // namespace platform
