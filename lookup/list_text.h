// How the image reader turns a list's texts into characters for the folds of
// a list that folds by character. The look-up library decodes every code
// page the engine knows; wordbay-cli's lean process links a decoder of UTF-8
// alone, so that it runs without ICU's libraries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lookup {

// The characters of `text`, in `code_page`, into *out; false when this
// process can't decode that code page (the image then can't answer).
bool DecodeListText(std::uint32_t code_page, std::string_view text, std::u32string* out);

}  // namespace lookup
