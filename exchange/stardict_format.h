// What the StarDict reader and writer share. A StarDict dictionary is
//   NAME.ifo      text: the line "StarDict's dict ifo file", then key=value
//                 lines (version, bookname, wordcount, idxfilesize,
//                 synwordcount, sametypesequence, author, description...)
//   NAME.idx      per word: the word (UTF-8, NUL-terminated, under 256
//                 bytes), its data's offset (32 bits, or 64 with
//                 idxoffsetbits=64) and size (32 bits), big-endian, sorted by
//                 StarDictLess
//   NAME.dict.dz  the data of every word, dictzip-compressed (or NAME.dict)
//   NAME.syn      optional, per synonym: the synonym (NUL-terminated) and the
//                 number of its word in the .idx (32 bits, big-endian)
#pragma once

#include <string>
#include <string_view>

namespace exchange {

inline constexpr std::string_view kIfoMagic = "StarDict's dict ifo file";
// A word of the .idx and the .syn takes fewer bytes than this.
inline constexpr std::size_t kStarDictWordLimit = 256;

// The order of the .idx and .syn: ASCII letters compared without case, then
// byte by byte (unsigned), as StarDict's readers search them.
bool StarDictLess(std::string_view a, std::string_view b);

// `utf8` with accents taken off its letters ("kuća" -> "kuca"), or also
// folded to one case when `fold_case`.
std::string PlainForm(std::string_view utf8, bool fold_case);

// The base of the StarDict dictionary that `path` names: its ".ifo", ".idx",
// ".idx.gz", ".dict.dz", ".dict" or ".syn" file, or the base itself.
std::string StarDictBase(const std::string& path);

}  // namespace exchange
