#include "ui/widgets/code_page_text.h"

#include "platform/code_page.h"

QString decodeText(std::uint32_t codePage, std::string_view text) {
    const std::u16string utf16 = platform::DecodeToUtf16(codePage, text);
    return QString(reinterpret_cast<const QChar*>(utf16.data()), qsizetype(utf16.size()));
}

std::string encodeText(std::uint32_t codePage, const QString& text, bool* lossy) {
    const std::u16string_view utf16(reinterpret_cast<const char16_t*>(text.utf16()),
                                    std::size_t(text.size()));
    return platform::EncodeFromUtf16(codePage, utf16, lossy);
}
