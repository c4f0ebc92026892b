// The installed fonts as the dictionary settings ask for them: a face exists
// for a Windows character set when Qt's font database has that family and it
// can show the set's script. Also the conversion of a stored font and colour
// into Qt's.
#pragma once

#include <QColor>
#include <QFont>
#include <cstdint>

#include "app/dictionary_settings.h"

class QtFontCatalog : public wordbay::FontCatalog {
public:
    bool HasFace(std::string_view face, std::uint32_t charset) const override;
    std::string FirstFace(std::uint32_t charset) const override;
    std::string DesktopFace(std::uint32_t charset) const override;
};

// The font of a stored setting (its face is already the chosen one), sized in
// points.
QFont fontFromSetting(const wordbay::FontSetting& setting);
// A stored colour, 0x00BBGGRR.
QColor colorFromSetting(std::uint32_t bgr);
