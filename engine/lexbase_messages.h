// The engine's fixed answers (the `message` of a DB_RESULT) as a table that
// gives each an enumerator, for callers that act on which answer they got
// instead of only showing it. The engine spells its answers from this same
// table, so a caller's test can't drift from the text the engine gives.
// The texts are part of the interface: callers show them unchanged, so they
// are spelled exactly as they stand, stray spaces and all. Texts holding
// "%.*s" are formats that take a file name.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

// X(name, text, kind) for every answer; kind is kSystemFailure for an answer
// that a failed system call on the named file gives ("Can't open file:..."),
// after which the caller may add what the system said, else kPlain.
#define LEXBASE_MESSAGES(X)                                                                        \
    /* Handles and state */                                                                        \
    X(InvalidHandle, "Invalid database handle!", kPlain)                                           \
    X(HandleDestroyed, "Database handle successfully destroyed.", kPlain)                          \
    X(HandleCreated, "New handle successfully created.", kPlain)                                   \
    X(Closed, "Dictionary is successfully closed!", kPlain)                                        \
    X(DictionaryClosed, "Dictionary is closed!\nLoad dictionary first or create new one!", kPlain) \
    X(BadList, "Invalid parameter 2!\nUse DB_PRIMARY_LIST or DB_SECONDARY_LIST.", kPlain)          \
    X(BadDirection,                                                                                \
      "Invalid parameter 2!\nUse DB_TRANS_PRIMARY_TO_SECONDARY or DB_TRANS_SECONDARY_TO_PRIMARY",  \
      kPlain)                                                                                      \
    X(MemoryError, "Memory allocation error!", kPlain)                                             \
    X(MemoryErrorSpaced, "Memory allocation error !", kPlain)                                      \
    /* Dictionary description */                                                                   \
    X(AlreadyOpen,                                                                                 \
      "This handle points to already loaded dictionary!\nClose this dictionary first!", kPlain)    \
    X(NewCreated, "New dictionary successfully created.", kPlain)                                  \
    X(InfoNeedPointer, "Invalid parameter 2!\nNeed pointer to DICTIONARY_INFO.", kPlain)           \
    X(InfoNeedRecord, "Invalid parameter 2!\nNeed DICTIONARY_INFO!", kPlain)                       \
    X(InfoExtracted, "Dictionary info successfully extracted.", kPlain)                            \
    X(InfoSaved, "Dictionary info successfully saved.", kPlain)                                    \
    /* Plain-text import and export */                                                             \
    X(TxtCantOpen, "Can't open file:\n%.*s", kSystemFailure)                                       \
    X(TxtCantGetSize, "Can't get file size:\n%.*s", kSystemFailure)                                \
    X(TxtTooSmall, "File is too small:\n%.*s", kPlain)                                             \
    X(TxtNoPairs, "Invalid database format:\n%.*s", kPlain)                                        \
    X(TxtCantCreate, "Can't create file:\n%.*s!", kSystemFailure)                                  \
    X(TxtCantWrite, "Can't write to file:\n%.*s", kSystemFailure)                                  \
    /* Dictionary editing */                                                                       \
    X(AddEmptyWord3, "Invalid parameter 3!\nCan't add empty word.", kPlain)                        \
    X(AddEmptyWord4, "Invalid parameter 4!\nCan't add empty word.", kPlain)                        \
    X(DeleteEmptyWord3, "Invalid parameter 3!\nCan't delete empty word.", kPlain)                  \
    X(DeleteEmptyWord4, "Invalid parameter 4!\nCan't delete empty word.", kPlain)                  \
    X(ChangeEmptyWord, "Invalid parameter 3!\nCan't change empty word.", kPlain)                   \
    X(SearchEmptyWord3, "Invalid parameter 3!\nCan't use empty word as searching parameter.",      \
      kPlain)                                                                                      \
    X(SearchEmptyWord4, "Invalid parameter 4!\nCan't use empty word as searching parameter.",      \
      kPlain)                                                                                      \
    X(SearchEmptyWord5, "Invalid parameter 5!\nCan't use empty word as searching parameter.",      \
      kPlain)                                                                                      \
    X(WordTooLong3, "Invalid parameter 3!\nWord is too long.", kPlain)                             \
    X(WordTooLong4, "Invalid parameter 4!\nWord is too long.", kPlain)                             \
    X(WordExists, "This word already exists in dictionary.", kPlain)                               \
    X(WordAdded, "Word successfully added.", kPlain)                                               \
    X(TranslationExists, "This translation already exists in dictionary.", kPlain)                 \
    X(TranslationAdded, "Translation successfully added.", kPlain)                                 \
    X(WordDeleted, "Word successfully deleted.", kPlain)                                           \
    X(WordHasTranslations, "This word has translations!\nDelete all translations first", kPlain)   \
    X(NothingToDelete, "Nothing to delete!\nDictionary is empty.", kPlain)                         \
    X(EditWordMissing, "This word isn't in dictionary!", kPlain)                                   \
    X(EditWordOutOfRange, "This word isn't in dictionary 1!", kPlain)                              \
    X(TranslationDeleted, "Translation successfully deleted.", kPlain)                             \
    X(TranslationMissing, "This translation isn't in dictionary!", kPlain)                         \
    X(NothingToChange, "Nothing to change.\nOld word is equal to new word.", kPlain)               \
    X(WordChanged, "Word successfully changed.", kPlain)                                           \
    X(Trans1Missing, "Trans1 isn't in dictionary!", kPlain)                                        \
    X(Trans2Missing, "Trans2 isn't in dictionary!", kPlain)                                        \
    X(SameTranslations, "Nothing to do!\nTrans1 and trans2 are the same.", kPlain)                 \
    X(TranslationsSwapped, "Translations successfully swaped", kPlain)                             \
    X(NothingToResort, "Nothing to resort!\nList is empty", kPlain)                                \
    X(ListResorted, "List successfully resorted.", kPlain)                                         \
    /* Word listing and translation lookup */                                                      \
    X(SearchEmptyPattern, "Invalid paramater 3!\nCan't use empty word as searching parameter.",    \
      kPlain)                                                                                      \
    X(ListNeedOutput, "Invalid parameter 7!\nNeed valid output_buffer.", kPlain)                   \
    X(ListBadMode, "Invalid parameter 6!\nInvalid pattern search mode.", kPlain)                   \
    X(WordsFound, "Words found.", kPlain)                                                          \
    X(PcreError, "PCRE error!", kPlain)                                                            \
    X(RegexIncomplete,                                                                             \
      "Search incomplete: the regular expression needed too much work on some words.", kPlain)     \
    X(IdenticalNeedOutput, "Invalid parameter 4!\nNeed valid output_buffer.", kPlain)              \
    X(TranslateNeedOutput, "Invalid parameter 6!\nNeed valid output_buffer.", kPlain)              \
    X(TranslateBadDirection,                                                                       \
      "Invalid parameter 2!\nUse DB_TRANS_PRIMARY_TO_SECONDARY or DB_TRANS_SECONDARY_TO_PRIMARY.", \
      kPlain)                                                                                      \
    X(TranslationsFound, "Translations found.", kPlain)                                            \
    X(TranslationsNotFound, "Translations not found.", kPlain)                                     \
    /* Dictionary files: loading, saving and the description in a file */                          \
    X(LoadAlreadyOpen,                                                                             \
      "This handle points to already loaded dictionary !\nClose this dictionary first !", kPlain)  \
    X(LoadFormatZero, "Invalid parameter 2 !\nFormat can't be 0 !", kPlain)                        \
    X(LoadNeedFileName, "Invalid parameter 3 !\nNeed database filename !", kPlain)                 \
    X(LoadBadFormat, "Invalid parameter 2 !", kPlain)                                              \
    X(Loaded, "Dictionary successfully loaded.", kPlain)                                           \
    /* An import that failed without a reason of its own. */                                       \
    X(ImportFailed, "Can't import file:\n%.*s\nIt can't be read or is not in the chosen format.",  \
      kSystemFailure)                                                                              \
    X(SaveNeedFileName, "Invalid parameter 3!\nNeed database filename!", kPlain)                   \
    X(SaveFormatZero, "Invalid parameter 2!\nNeed database format!", kPlain)                       \
    X(SaveBadFormat, "Invalid database format !", kPlain)                                          \
    X(Saved, "Dictionary successfully saved.", kPlain)                                             \
    X(GetInfoNeedFileName, "Invalid parameter 2 !\nNeed database filename!", kPlain)               \
    X(GetInfoNeedInfo, "Invalid parameter 3 !\nNeed dictionary info!", kPlain)                     \
    X(SetInfoNeedFileName, "Invalid parameter 2 !\nNeed database filename !", kPlain)              \
    X(SetInfoNeedInfo, "Invalid parameter 3 !\nNeed dictionary info !", kPlain)                    \
    X(FileCantOpen, "Can't open file:\n%.*s", kSystemFailure)                                      \
    X(FileCantOpenRewrite, "Can't open file:\n%.*s!", kSystemFailure)                              \
    X(FileCantGetSize, "Can't get file size:\n%.*s", kSystemFailure)                               \
    X(FileCantGetSizeRewrite, "Can't get file size:\n%.*s!", kSystemFailure)                       \
    X(FileTooSmall, "File is too small:\n%.*s", kPlain)                                            \
    X(FileCantMap, "Can't map file:\n%.*s", kSystemFailure)                                        \
    X(FileCrcError, "Database CRC error:\n%.*s", kPlain)                                           \
    X(FileInvalidFormat, "Invalid database format:\n%.*s", kPlain)                                 \
    X(UncompressError, "Uncompress database error !", kPlain)                                      \
    X(DamagedDatabase, "Damaged database !", kPlain)                                               \
    X(FileCantOpenForWriting, "Can't open file for writing:\n%.*s", kSystemFailure)                \
    X(FileCantWrite, "Can't write to file:\n%.*s", kSystemFailure)                                 \
    X(FileCantWriteCounts, "Can't write to file\n%.*s", kSystemFailure)                            \
    X(FileCantCopy, "Can't copy to file:\n%.*s", kSystemFailure)                                   \
    X(FileLocked,                                                                                  \
      "Can't lock file for writing:\n%.*s\nAnother program is saving it; try again later.",        \
      kSystemFailure)                                                                              \
    X(CompressionError, "Compression error !", kPlain)                                             \
    X(DatabaseIsDamaged, "Database is damaged !", kPlain)                                          \
    X(TooManyTranslations, "Can't save a word with more than 65535 translations !", kPlain)        \
    /* Format list and dictionary update */                                                        \
    X(PluginsFound, "Plugins found!", kPlain)                                                      \
    X(UpdateNeedFileName, "Invalid function parameter 4 !", kPlain)                                \
    X(UpdateCantCreateHandle, "Can't create new database handle!", kPlain)                         \
    X(UpdatedWithNew, "Dictionary successfully updated.\nNew translations added.", kPlain)         \
    X(UpdatedNothingNew, "Dictionary successfully updated.\nNo translations added.", kPlain)

namespace lexbase {

enum class MessageKind { kPlain, kSystemFailure };

enum class Message {
#define LEXBASE_MESSAGE_ENUMERATOR(name, text, kind) k##name,
    LEXBASE_MESSAGES(LEXBASE_MESSAGE_ENUMERATOR)
#undef LEXBASE_MESSAGE_ENUMERATOR
        kUnknown,  // not an answer of the table
};

struct MessageEntry {
    Message message;
    std::string_view text;
    MessageKind kind;
};

inline constexpr MessageEntry kMessageTable[] = {
#define LEXBASE_MESSAGE_ENTRY(name, text, kind) {Message::k##name, text, MessageKind::kind},
    LEXBASE_MESSAGES(LEXBASE_MESSAGE_ENTRY)
#undef LEXBASE_MESSAGE_ENTRY
};

// Whether `text` is the answer `format`: the same text, or for a format, its
// parts before and after "%.*s" around any file name.
constexpr bool MessageMatches(std::string_view format, std::string_view text) {
    const std::size_t hole = format.find("%.*s");
    if (hole == std::string_view::npos) return text == format;
    const std::string_view head = format.substr(0, hole);
    const std::string_view tail = format.substr(hole + 4);
    return text.size() >= head.size() + tail.size() && text.substr(0, head.size()) == head &&
           text.substr(text.size() - tail.size()) == tail;
}

// The first entry of the table that `text` is, or null. Where two answers
// read alike (the same words from two functions), the first one is given.
constexpr const MessageEntry* FindMessage(std::string_view text) {
    for (const MessageEntry& entry : kMessageTable) {
        if (MessageMatches(entry.text, text)) return &entry;
    }
    return nullptr;
}

// Which answer `text` is; Message::kUnknown for null or any other text.
constexpr Message MessageOf(const char* text) {
    if (text == nullptr) return Message::kUnknown;
    const MessageEntry* entry = FindMessage(text);
    return entry != nullptr ? entry->message : Message::kUnknown;
}

// The text of `message` as the table spells it ("" for kUnknown). The
// enumerators follow the table's order, so this is one look at the table.
constexpr std::string_view MessageText(Message message) {
    const auto index = static_cast<std::size_t>(message);
    return index < std::size(kMessageTable) ? kMessageTable[index].text : std::string_view();
}

// Whether `text` is the answer `message`, without a look through the table:
// for a caller that asks after every call.
constexpr bool IsMessage(const char* text, Message message) {
    return text != nullptr && message != Message::kUnknown &&
           MessageMatches(MessageText(message), text);
}

}  // namespace lexbase
