#include "app/settings_file.h"

#include <climits>

#include "platform/code_page.h"
#include "platform/profile_file.h"

namespace wordbay {

int ParseSettingInt(std::string_view text) {
    text = text.substr(0, kMaxIntSettingChars);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulates towards the sign's side, so that INT_MIN itself fits.
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        value = value * 10 + (negative ? -digit : digit);
        if (value > INT_MAX) return INT_MAX;
        if (value < INT_MIN) return INT_MIN;
    }
    return static_cast<int>(value);
}

std::string CutSettingText(std::string_view text, std::size_t max_bytes) {
    if (text.size() <= max_bytes) return std::string(text);
    std::size_t cut = max_bytes;
    if (platform::IsValidUtf8(text)) {
        // Back up over continuation bytes to the start of the cut character.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    }
    return std::string(text.substr(0, cut));
}

SettingsFile::~SettingsFile() { Flush(); }

bool SettingsFile::ReadValue(std::string_view section, std::string_view key,
                             std::string* text) const {
    if (!loaded_) return platform::ReadProfileString(path_, section, key, text);
    std::optional<std::string> found = platform::FindProfileValue(text_, section, key);
    if (!found) return false;
    *text = std::move(*found);
    return true;
}

bool SettingsFile::Flush() const {
    if (!changed_) return true;
    changed_ = false;
    return platform::WriteProfileText(path_, text_);
}

bool SettingsFile::ReadString(std::string_view section, std::string_view key, std::string* value,
                              std::size_t max_chars) const {
    std::string text;
    if (!ReadValue(section, key, &text) || text.empty()) return false;
    *value = CutSettingText(text, max_chars);
    return true;
}

bool SettingsFile::ReadInt(std::string_view section, std::string_view key, int* value) const {
    std::string text;
    if (!ReadString(section, key, &text, kMaxIntSettingChars)) return false;
    *value = ParseSettingInt(text);
    return true;
}

bool SettingsFile::ReadBool(std::string_view section, std::string_view key, bool* value) const {
    int number = 0;
    if (!ReadInt(section, key, &number)) return false;
    *value = number != 0;
    return true;
}

bool SettingsFile::ReadColor(std::string_view section, std::string_view key,
                             std::uint32_t* value) const {
    int number = 0;
    if (!ReadInt(section, key, &number)) return false;
    *value = static_cast<std::uint32_t>(number);
    return true;
}

bool SettingsFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view text) const {
    if (!loaded_) {
        bool missing = false;
        unreadable_ = !platform::ReadProfileText(path_, &text_, &missing) && !missing;
        loaded_ = true;
    }
    if (unreadable_ || !platform::SetProfileValue(&text_, section, key, text)) return false;
    changed_ = true;
    return true;
}

bool SettingsFile::WriteInt(std::string_view section, std::string_view key, int value) const {
    return WriteString(section, key, std::to_string(value));
}

bool SettingsFile::WriteBool(std::string_view section, std::string_view key, bool value) const {
    return WriteString(section, key, value ? "1" : "0");
}

bool SettingsFile::WriteColor(std::string_view section, std::string_view key,
                              std::uint32_t value) const {
    return WriteInt(section, key, static_cast<int>(value));
}

}  // namespace wordbay
