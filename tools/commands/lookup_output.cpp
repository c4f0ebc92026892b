#include "tools/commands/lookup_output.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace cli {
namespace {

void WriteJsonString(std::ostream& out, std::string_view text) {
    out << '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out << "\\\"";
                break;
            case '\\':
                out << "\\\\";
                break;
            case '\n':
                out << "\\n";
                break;
            case '\t':
                out << "\\t";
                break;
            default:
                if (c < 0x20) {
                    static const char kHex[] = "0123456789abcdef";
                    out << "\\u00" << kHex[c >> 4] << kHex[c & 15];
                } else {
                    out << ch;
                }
        }
    }
    out << '"';
}

void WriteJsonList(std::ostream& out, const std::vector<std::string>& list) {
    out << '[';
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) out << ',';
        WriteJsonString(out, list[i]);
    }
    out << ']';
}

std::string Joined(const std::vector<std::string>& list, const char* separator) {
    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) out += separator;
        out += list[i];
    }
    return out;
}

}  // namespace

// {"query", "headword", "how", "translations", "forms", "suggestions"}
void WriteJson(std::ostream& out, const forms::Answer& a) {
    out << "{\"query\":";
    WriteJsonString(out, a.query);
    out << ",\"headword\":";
    WriteJsonString(out, a.headword);
    out << ",\"how\":\"" << forms::HowName(a.how) << "\",\"translations\":";
    WriteJsonList(out, a.translations);
    out << ",\"forms\":[";
    for (std::size_t i = 0; i < a.forms.size(); ++i) {
        out << (i > 0 ? "," : "") << "{\"word\":";
        WriteJsonString(out, a.forms[i].word);
        out << ",\"translations\":";
        WriteJsonList(out, a.forms[i].translations);
        out << '}';
    }
    out << "],\"suggestions\":";
    WriteJsonList(out, a.suggestions);
    out << "}\n";
}

// One word: the translations one a line, each base word named on a line of
// its own before its translations; suggestions on one line.
void WritePlainWord(std::ostream& out, const forms::Answer& a) {
    if (a.how == forms::How::kForm) out << a.query << ": form of " << a.headword << '\n';
    for (const auto& t : a.translations) out << t << '\n';
    for (const auto& f : a.forms) {
        out << a.query << ": a form of " << f.word << '\n';
        for (const auto& t : f.translations) out << t << '\n';
    }
    if (a.how == forms::How::kSuggestion) {
        out << "Did you mean: " << Joined(a.suggestions, ", ") << '\n';
    }
}

// A line of standard input: its translations separated by TABs, a base word
// in brackets before its own; suggestions after "Did you mean:".
void WritePlainLine(std::ostream& out, const forms::Answer& a) {
    std::vector<std::string> fields;
    if (a.how == forms::How::kForm) fields.push_back("(" + a.headword + ")");
    fields.insert(fields.end(), a.translations.begin(), a.translations.end());
    for (const auto& f : a.forms) {
        fields.push_back("(" + f.word + ")");
        fields.insert(fields.end(), f.translations.begin(), f.translations.end());
    }
    if (a.how == forms::How::kSuggestion) {
        fields.push_back("Did you mean: " + Joined(a.suggestions, ", "));
    }
    out << Joined(fields, "\t") << '\n';
}

}  // namespace cli
