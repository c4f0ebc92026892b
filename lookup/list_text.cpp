#include "lookup/list_text.h"

#include "platform/code_page.h"

namespace lookup {

bool DecodeListText(std::uint32_t code_page, std::string_view text, std::u32string* out) {
    platform::DecodeToCodePoints(code_page, text, out);
    return true;
}

}  // namespace lookup
