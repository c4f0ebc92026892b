// Fuzz target of the language-file reader. The input is a language file;
// every value read from it must be UTF-8 without a line end other than the
// line breaks of "\n" escapes, and a valid file must load into a message table
// whose every text is readable.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "app/language_file.h"
#include "app/message_table.h"
#include "platform/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const wordbay::LanguageFile file = wordbay::LanguageFile::FromBytes(bytes);
    for (int i = 0; i < wordbay::kMessageRowCount; ++i) {
        const std::string* value = file.Find(wordbay::MessageKey(i));
        if (value == nullptr) continue;
        if (value->empty() || !platform::IsValidUtf8(*value)) __builtin_trap();
        if (value->find_first_of(std::string_view("\r\0\"", 3)) != std::string::npos) {
            __builtin_trap();
        }
    }
    (void)file.info();

    wordbay::MessageTable table;
    if (table.LoadLanguage(file) != file.valid()) __builtin_trap();
    std::size_t total = 0;
    for (int i = 0; i < wordbay::kMessageRowCount; ++i) total += std::strlen(table.Text(i));
    if (total == 0) __builtin_trap();
    return 0;
}
