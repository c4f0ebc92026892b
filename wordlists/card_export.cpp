#include "wordlists/card_export.h"

#include <cctype>
#include <ctime>

namespace wordlists {
namespace {

std::string JoinedTranslations(const Favourite& f) {
    std::string joined;
    for (const std::string& t : f.translations) {
        if (t.empty()) continue;
        if (!joined.empty()) joined += "; ";
        joined += t;
    }
    return joined;
}

std::string TabField(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

}  // namespace

std::string LocalDate(std::int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) return {};
    char text[16];
    if (std::strftime(text, sizeof text, "%Y-%m-%d", &local) == 0) return {};
    return text;
}

std::string ExportCards(const std::vector<Favourite>& newest_first, CardFormat format) {
    std::string out;
    if (format == CardFormat::kCsv) out += "word,translations,dictionary,date\r\n";
    for (auto f = newest_first.rbegin(); f != newest_first.rend(); ++f) {
        const std::string fields[] = {f->key.word, JoinedTranslations(*f), f->key.dictionary,
                                      LocalDate(f->time)};
        for (std::size_t i = 0; i < 4; ++i) {
            if (format == CardFormat::kCsv) {
                if (i > 0) out += ',';
                out += CsvField(fields[i]);
            } else {
                if (i > 0) out += '\t';
                out += TabField(fields[i]);
            }
        }
        out += format == CardFormat::kCsv ? "\r\n" : "\n";
    }
    return out;
}

CardFormat CardFormatForName(const std::string& file_name) {
    std::string tail = file_name.size() >= 4 ? file_name.substr(file_name.size() - 4) : "";
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".csv" ? CardFormat::kCsv : CardFormat::kTabText;
}

}  // namespace wordlists
