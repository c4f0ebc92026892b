// The lean process decodes the texts of UTF-8 lists only: it answers from no
// other (tools/front/image_answers.h), and needs no ICU converter for them.
#include "lookup/list_text.h"
#include "platform/utf8.h"

namespace lookup {

bool DecodeListText(std::uint32_t code_page, std::string_view text, std::u32string* out) {
    if (code_page != 65001) return false;
    platform::DecodeUtf8(text, out);
    return true;
}

}  // namespace lookup
