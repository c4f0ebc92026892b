#include "ui/main/qt_font_catalog.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QString>
#include <algorithm>

namespace {

// The script a Windows character set stands for.
QFontDatabase::WritingSystem writingSystemOf(std::uint32_t charset) {
    switch (charset) {
        case 128:
            return QFontDatabase::Japanese;
        case 129:
            return QFontDatabase::Korean;
        case 134:
            return QFontDatabase::SimplifiedChinese;
        case 136:
            return QFontDatabase::TraditionalChinese;
        case 161:
            return QFontDatabase::Greek;
        case 163:
            return QFontDatabase::Vietnamese;
        case 177:
            return QFontDatabase::Hebrew;
        case 178:
            return QFontDatabase::Arabic;
        case 204:
            return QFontDatabase::Cyrillic;
        case 222:
            return QFontDatabase::Thai;
        case 1:      // default character set
        case 2:      // symbol
        case 255:    // OEM
        case 65001:  // a UTF-8 list: any script
            return QFontDatabase::Any;
        default:
            return QFontDatabase::Latin;  // ANSI, Central European, Turkish, Baltic
    }
}

}  // namespace

bool QtFontCatalog::HasFace(std::string_view face, std::uint32_t charset) const {
    const QString wanted = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
    const QStringList families = QFontDatabase::families(writingSystemOf(charset));
    for (const QString& family : families) {
        if (family.compare(wanted, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

std::string QtFontCatalog::FirstFace(std::uint32_t charset) const {
    const QStringList families = QFontDatabase::families(writingSystemOf(charset));
    return families.isEmpty() ? std::string() : families.first().toStdString();
}

std::string QtFontCatalog::DesktopFace(std::uint32_t charset) const {
    // The family the font matcher really gives for the desktop's general
    // font, then for the generic sans family: the names themselves may be
    // aliases ("Sans Serif") that no installed family carries.
    const QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    QFont sans(QStringLiteral("sans-serif"));
    sans.setStyleHint(QFont::SansSerif);
    for (const QFont& font : {general, sans}) {
        const std::string family = QFontInfo(font).family().toStdString();
        if (!family.empty() && HasFace(family, charset)) return family;
    }
    return std::string();
}

QFont fontFromSetting(const wordbay::FontSetting& setting) {
    QFont font(QString::fromStdString(setting.face));
    font.setPointSize(setting.size > 0 ? setting.size : 8);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(setting.weight, 100, 900)));
    font.setItalic(setting.italic);
    font.setUnderline(setting.underline);
    font.setStrikeOut(setting.strikeout);
    return font;
}

QColor colorFromSetting(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}
