#include "exchange/pair_import.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "exchange/pair_encoding.h"
#include "platform/code_page.h"
#include "platform/file_writer.h"
#include "platform/locale.h"

namespace exchange {

const DB_RESULT* ImportTxtInMemory(DB_HANDLE db, const std::string& txt,
                                   std::uint32_t primary_locale, std::uint32_t secondary_locale) {
    const int file = memfd_create("wordbay-pairs.txt", MFD_CLOEXEC);
    if (file < 0) return nullptr;
    errno = 0;
    if (!platform::WriteAll(file, txt.data(), txt.size())) {
        const int error = errno != 0 ? errno : ENOSPC;
        close(file);
        errno = error;
        return nullptr;
    }
    // The file is named through /proc for as long as it stays open.
    const std::string path = "/proc/self/fd/" + std::to_string(file);
    const DB_RESULT* result =
        DB_Load(db, DB_FORMAT_TXT_LOAD, path.c_str(), primary_locale, secondary_locale);
    close(file);
    return result;
}

void SetInfoText(char* field, std::size_t size, std::uint32_t code_page, std::string_view text) {
    std::string bytes = platform::EncodeFromUtf8(code_page, text);
    while (bytes.size() >= size && !text.empty()) {
        std::size_t end = text.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        text = text.substr(0, end);
        bytes = platform::EncodeFromUtf8(code_page, text);
    }
    const std::size_t n = std::min(bytes.size(), size - 1);
    std::memcpy(field, bytes.data(), n);
    std::memset(field + n, 0, size - n);
}

const DB_RESULT* DescribeImported(DB_HANDLE db, const ImportTexts& texts) {
    DICTIONARY_INFO info{};
    const DB_RESULT* result = DB_GetDictionaryInfo(db, &info);
    if (result->status == 0) return result;
    // An 8-bit list takes the character set of its code page; a UTF-8 list
    // keeps its mark.
    const auto charset = [](std::uint32_t locale, std::uint32_t current) {
        return current == platform::kUtf8Charset ? current
                                                 : CharsetOfCodePage(platform::CodePageOf(locale));
    };
    info.primary_charset = charset(info.primary_locale, info.primary_charset);
    info.secondary_charset = charset(info.secondary_locale, info.secondary_charset);
    const std::uint32_t primary = platform::ListCodePage(info.primary_locale, info.primary_charset);
    const std::uint32_t secondary =
        platform::ListCodePage(info.secondary_locale, info.secondary_charset);
    SetInfoText(info.name, sizeof info.name, primary, texts.name);
    SetInfoText(info.author, sizeof info.author, primary, texts.author);
    SetInfoText(info.description, sizeof info.description, primary, texts.description);
    SetInfoText(info.primary_list_name, sizeof info.primary_list_name, primary,
                texts.primary_list_name);
    SetInfoText(info.secondary_list_name, sizeof info.secondary_list_name, secondary,
                texts.secondary_list_name);
    return DB_SetDictionaryInfo(db, &info);
}

}  // namespace exchange
