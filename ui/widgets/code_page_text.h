// Conversion between the 8-bit texts of a word list (in its Windows code
// page) and the Unicode text the widgets show and the user types.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

// `text` decoded from `codePage`; a byte the page does not define shows as
// U+FFFD.
QString decodeText(std::uint32_t codePage, std::string_view text);
// `text` encoded in `codePage`; a character the page lacks becomes '?' and
// sets *lossy when given.
std::string encodeText(std::uint32_t codePage, const QString& text, bool* lossy = nullptr);
