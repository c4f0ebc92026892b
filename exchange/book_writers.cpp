#include "exchange/book_writers.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "exchange/dictd_format.h"
#include "exchange/dictzip.h"
#include "exchange/entry_text.h"
#include "exchange/file_input.h"
#include "exchange/file_set.h"
#include "exchange/stardict_format.h"

namespace exchange {
namespace {

void PutBigEndian32(std::string* out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) *out += static_cast<char>(value >> shift & 0xFF);
}

// `text` on one line: line breaks and TABs become spaces.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    }
    return line;
}

std::string WithoutSuffix(const std::string& path, std::string_view suffix) {
    if (path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(),
                                                     suffix.data(), suffix.size()) == 0) {
        return path.substr(0, path.size() - suffix.size());
    }
    return path;
}

// The senses of an entry, counted in *report when they would read back
// otherwise.
std::string Senses(const BookEntry& entry, WriteReport* report) {
    bool exact = true;
    std::string text = SenseText(entry.translations, &exact);
    if (!exact) ++report->inexact;
    return text;
}

// The .ifo text of a StarDict dictionary.
std::string IfoText(const Book& book, std::size_t words, std::size_t idx_size,
                    std::size_t synonyms) {
    std::string description = book.description;
    for (std::size_t at; (at = description.find('\n')) != std::string::npos;) {
        description.replace(at, 1, "<br>");
    }
    std::string ifo = std::string(kIfoMagic) + "\nversion=2.4.2\n";
    ifo += "bookname=" + OneLine(book.name) + "\n";
    ifo += "wordcount=" + std::to_string(words) + "\n";
    if (synonyms > 0) ifo += "synwordcount=" + std::to_string(synonyms) + "\n";
    ifo += "idxfilesize=" + std::to_string(idx_size) + "\n";
    if (!book.author.empty()) ifo += "author=" + OneLine(book.author) + "\n";
    if (!description.empty()) ifo += "description=" + OneLine(description) + "\n";
    ifo += "sametypesequence=m\n";
    return ifo;
}

// The .syn records of the written words, `order` naming them in .idx order:
// each word's form without accents, where no word is written so.
std::string SynBytes(const Book& book, const std::vector<std::size_t>& order, std::size_t* count) {
    std::unordered_set<std::string_view> written;
    for (const std::size_t i : order) written.insert(book.entries[i].word);
    std::vector<std::pair<std::string, std::uint32_t>> synonyms;
    for (std::size_t n = 0; n < order.size(); ++n) {
        const std::string& word = book.entries[order[n]].word;
        std::string plain = PlainForm(word, false);
        if (plain == word || plain.empty() || plain.size() >= kStarDictWordLimit ||
            plain.find('\0') != std::string::npos || written.count(plain) != 0) {
            continue;
        }
        synonyms.emplace_back(std::move(plain), static_cast<std::uint32_t>(n));
    }
    std::sort(synonyms.begin(), synonyms.end(), [](const auto& a, const auto& b) {
        return StarDictLess(a.first, b.first) || (a.first == b.first && a.second < b.second);
    });
    std::string bytes;
    for (const auto& [synonym, number] : synonyms) {
        bytes += synonym;
        bytes += '\0';
        PutBigEndian32(&bytes, number);
    }
    *count = synonyms.size();
    return bytes;
}

// Both formats keep their text in NAME.dict.dz: false, said in *error, when
// the other format's dictionary NAME`other` (".ifo", ".index") is there,
// whose text the export would replace.
bool DataIsFree(const std::string& base, std::string_view other, std::string* error) {
    const std::string path = base + std::string(other);
    if (!IsRegularFile(path)) return true;
    *error =
        "The dictionary " + path + " keeps its text in " + base + ".dict.dz: choose another name";
    return false;
}

// Removes `path` when it is there; a failure leaves it, which readers then
// may still find, and is not worth failing a written dictionary for.
void RemoveLeftover(const std::string& path) { ::unlink(path.c_str()); }

// One line of a dictd index: the key dictd searches, the place of the
// entry's text, and the word as written (none for the database's own
// entries).
struct IndexLine {
    std::string key;
    std::string place;  // TAB, offset, TAB, length
    std::string word;
};

// Appends an entry's text to *dict and its line to *lines.
void AddEntry(std::string key, std::string_view text, std::string word, std::string* dict,
              std::vector<IndexLine>* lines) {
    lines->push_back(
        {std::move(key),
         "\t" + EncodeDictdNumber(dict->size()) + "\t" + EncodeDictdNumber(text.size()),
         std::move(word)});
    dict->append(text);
}

// The index of `lines`, in the order dictd searches it: by the keys' bytes.
std::string IndexText(std::vector<IndexLine>* lines) {
    std::sort(lines->begin(), lines->end(), [](const IndexLine& a, const IndexLine& b) {
        return a.key < b.key || (a.key == b.key && a.word < b.word);
    });
    std::string index;
    for (const IndexLine& line : *lines) {
        index += line.key + line.place;
        if (!line.word.empty()) index += "\t" + line.word;
        index += '\n';
    }
    return index;
}

}  // namespace

bool WriteStarDict(const Book& book, const std::string& path, WriteReport* report,
                   std::string* error) {
    *report = WriteReport{};
    const std::string base = WithoutSuffix(path, ".ifo");
    if (!DataIsFree(base, ".index", error)) return false;
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < book.entries.size(); ++i) {
        const std::string& word = book.entries[i].word;
        if (word.empty() || word.size() >= kStarDictWordLimit) {
            ++report->left_out;
        } else {
            order.push_back(i);
        }
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return StarDictLess(book.entries[a].word, book.entries[b].word);
    });
    std::string text, idx;
    for (const std::size_t i : order) {
        const std::string senses = Senses(book.entries[i], report);
        idx += book.entries[i].word;
        idx += '\0';
        PutBigEndian32(&idx, static_cast<std::uint32_t>(text.size()));
        PutBigEndian32(&idx, static_cast<std::uint32_t>(senses.size()));
        text += senses;
        // Offsets are 32 bits.
        if (text.size() > UINT32_MAX) {
            *error = "The dictionary is too large for the StarDict format";
            return false;
        }
    }
    if (order.empty()) {
        *error = "There is no word with translations to export";
        return false;
    }
    std::vector<OutputFile> files(2);
    if (!Dictzip(text, &files[0].bytes, error)) return false;
    files[0].path = base + ".dict.dz";
    files[1] = {base + ".idx", std::move(idx)};
    const std::string syn = SynBytes(book, order, &report->synonyms);
    if (report->synonyms > 0) files.push_back({base + ".syn", syn});
    const std::string ifo = IfoText(book, order.size(), files[1].bytes.size(), report->synonyms);
    files.push_back({base + ".ifo", ifo});
    if (!WriteFileSet(files, error)) return false;
    RemoveLeftover(base + ".idx.gz");
    if (report->synonyms == 0) RemoveLeftover(base + ".syn");
    report->words = order.size();
    return true;
}

bool WriteDictd(const Book& book, const std::string& path, WriteReport* report,
                std::string* error) {
    *report = WriteReport{};
    const std::string base = WithoutSuffix(path, ".index");
    if (!DataIsFree(base, ".ifo", error)) return false;
    std::string dict;
    std::vector<IndexLine> lines;
    AddEntry("00databaseutf8", "\n", "", &dict, &lines);
    AddEntry("00databaseshort", OneLine(book.name) + "\n", "", &dict, &lines);
    std::string info = book.name;
    if (!book.description.empty() && book.description != book.name) {
        info += "\n\n" + book.description;
    }
    if (!book.author.empty()) info += "\n\nAuthor: " + book.author;
    AddEntry("00databaseinfo", info + "\n", "", &dict, &lines);
    for (const BookEntry& entry : book.entries) {
        std::string key = DictdKey(entry.word);
        if (key.empty()) {
            ++report->left_out;
            continue;
        }
        // The entry begins with its word, as dictd shows it; the index keeps
        // the word whole in its fourth field.
        std::string word = OneLine(entry.word);
        bool exact = true;
        std::string text = word + "\n" + SenseText(entry.translations, &exact) + "\n";
        if (!exact || word != entry.word) ++report->inexact;
        AddEntry(std::move(key), text, std::move(word), &dict, &lines);
        ++report->words;
    }
    if (report->words == 0) {
        *error = "There is no word with translations to export";
        return false;
    }
    std::vector<OutputFile> files(2);
    if (!Dictzip(dict, &files[0].bytes, error)) return false;
    files[0].path = base + ".dict.dz";
    files[1] = {base + ".index", IndexText(&lines)};
    return WriteFileSet(files, error);
}

}  // namespace exchange
