// Every fixed text the engine answers with, in one place. The texts are part
// of the interface: callers show them unchanged, so they are spelled exactly
// as they stand, stray spaces and all. Texts containing "%.*s" are formats
// that take the file name cut to 520 characters.
#pragma once

namespace lexbase::msg {

// Handles and state
inline constexpr char kInvalidHandle[] = "Invalid database handle!";
inline constexpr char kHandleDestroyed[] = "Database handle successfully destroyed.";
inline constexpr char kHandleCreated[] = "New handle successfully created.";
inline constexpr char kClosed[] = "Dictionary is successfully closed!";
inline constexpr char kDictionaryClosed[] =
    "Dictionary is closed!\nLoad dictionary first or create new one!";
inline constexpr char kBadList[] =
    "Invalid parameter 2!\nUse DB_PRIMARY_LIST or DB_SECONDARY_LIST.";
inline constexpr char kBadDirection[] =
    "Invalid parameter 2!\nUse DB_TRANS_PRIMARY_TO_SECONDARY or DB_TRANS_SECONDARY_TO_PRIMARY";
inline constexpr char kMemoryError[] = "Memory allocation error!";
inline constexpr char kMemoryErrorSpaced[] = "Memory allocation error !";

// Dictionary description
inline constexpr char kAlreadyOpen[] =
    "This handle points to already loaded dictionary!\nClose this dictionary first!";
inline constexpr char kNewCreated[] = "New dictionary successfully created.";
inline constexpr char kInfoNeedPointer[] = "Invalid parameter 2!\nNeed pointer to DICTIONARY_INFO.";
inline constexpr char kInfoNeedRecord[] = "Invalid parameter 2!\nNeed DICTIONARY_INFO!";
inline constexpr char kInfoExtracted[] = "Dictionary info successfully extracted.";
inline constexpr char kInfoSaved[] = "Dictionary info successfully saved.";

// Plain-text import and export
inline constexpr char kTxtCantOpen[] = "Can't open file:\n%.*s";
inline constexpr char kTxtCantGetSize[] = "Can't get file size:\n%.*s";
inline constexpr char kTxtTooSmall[] = "File is too small:\n%.*s";
inline constexpr char kTxtNoPairs[] = "Invalid database format:\n%.*s";
inline constexpr char kTxtCantCreate[] = "Can't create file:\n%.*s!";
inline constexpr char kTxtCantWrite[] = "Can't write to file:\n%.*s";

// Dictionary editing
inline constexpr char kAddEmptyWord3[] = "Invalid parameter 3!\nCan't add empty word.";
inline constexpr char kAddEmptyWord4[] = "Invalid parameter 4!\nCan't add empty word.";
inline constexpr char kDeleteEmptyWord3[] = "Invalid parameter 3!\nCan't delete empty word.";
inline constexpr char kDeleteEmptyWord4[] = "Invalid parameter 4!\nCan't delete empty word.";
inline constexpr char kChangeEmptyWord[] = "Invalid parameter 3!\nCan't change empty word.";
inline constexpr char kSearchEmptyWord3[] =
    "Invalid parameter 3!\nCan't use empty word as searching parameter.";
inline constexpr char kSearchEmptyWord4[] =
    "Invalid parameter 4!\nCan't use empty word as searching parameter.";
inline constexpr char kSearchEmptyWord5[] =
    "Invalid parameter 5!\nCan't use empty word as searching parameter.";
inline constexpr char kWordTooLong3[] = "Invalid parameter 3!\nWord is too long.";
inline constexpr char kWordTooLong4[] = "Invalid parameter 4!\nWord is too long.";
inline constexpr char kWordExists[] = "This word already exists in dictionary.";
inline constexpr char kWordAdded[] = "Word successfully added.";
inline constexpr char kTranslationExists[] = "This translation already exists in dictionary.";
inline constexpr char kTranslationAdded[] = "Translation successfully added.";
inline constexpr char kWordDeleted[] = "Word successfully deleted.";
inline constexpr char kWordHasTranslations[] =
    "This word has translations!\nDelete all translations first";
inline constexpr char kNothingToDelete[] = "Nothing to delete!\nDictionary is empty.";
inline constexpr char kEditWordMissing[] = "This word isn't in dictionary!";
inline constexpr char kEditWordOutOfRange[] = "This word isn't in dictionary 1!";
inline constexpr char kTranslationDeleted[] = "Translation successfully deleted.";
inline constexpr char kTranslationMissing[] = "This translation isn't in dictionary!";
inline constexpr char kNothingToChange[] = "Nothing to change.\nOld word is equal to new word.";
inline constexpr char kWordChanged[] = "Word successfully changed.";
inline constexpr char kTrans1Missing[] = "Trans1 isn't in dictionary!";
inline constexpr char kTrans2Missing[] = "Trans2 isn't in dictionary!";
inline constexpr char kSameTranslations[] = "Nothing to do!\nTrans1 and trans2 are the same.";
inline constexpr char kTranslationsSwapped[] = "Translations successfully swaped";
inline constexpr char kNothingToResort[] = "Nothing to resort!\nList is empty";
inline constexpr char kListResorted[] = "List successfully resorted.";

// Word listing and translation lookup
inline constexpr char kSearchEmptyPattern[] =
    "Invalid paramater 3!\nCan't use empty word as searching parameter.";
inline constexpr char kListNeedOutput[] = "Invalid parameter 7!\nNeed valid output_buffer.";
inline constexpr char kListBadMode[] = "Invalid parameter 6!\nInvalid pattern search mode.";
inline constexpr char kWordsFound[] = "Words found.";
inline constexpr char kPcreError[] = "PCRE error!";
inline constexpr char kRegexIncomplete[] =
    "Search incomplete: the regular expression needed too much work on some words.";
inline constexpr char kIdenticalNeedOutput[] = "Invalid parameter 4!\nNeed valid output_buffer.";
inline constexpr char kTranslateNeedOutput[] = "Invalid parameter 6!\nNeed valid output_buffer.";
inline constexpr char kTranslateBadDirection[] =
    "Invalid parameter 2!\nUse DB_TRANS_PRIMARY_TO_SECONDARY or DB_TRANS_SECONDARY_TO_PRIMARY.";
inline constexpr char kTranslationsFound[] = "Translations found.";
inline constexpr char kTranslationsNotFound[] = "Translations not found.";

// Dictionary files: loading, saving and the description in a file
inline constexpr char kLoadAlreadyOpen[] =
    "This handle points to already loaded dictionary !\nClose this dictionary first !";
inline constexpr char kLoadFormatZero[] = "Invalid parameter 2 !\nFormat can't be 0 !";
inline constexpr char kLoadNeedFileName[] = "Invalid parameter 3 !\nNeed database filename !";
inline constexpr char kLoadBadFormat[] = "Invalid parameter 2 !";
inline constexpr char kLoaded[] = "Dictionary successfully loaded.";
// An import that failed without a reason of its own.
inline constexpr char kImportFailed[] =
    "Can't import file:\n%.*s\nIt can't be read or is not in the chosen format.";
inline constexpr char kSaveNeedFileName[] = "Invalid parameter 3!\nNeed database filename!";
inline constexpr char kSaveFormatZero[] = "Invalid parameter 2!\nNeed database format!";
inline constexpr char kSaveBadFormat[] = "Invalid database format !";
inline constexpr char kSaved[] = "Dictionary successfully saved.";
inline constexpr char kGetInfoNeedFileName[] = "Invalid parameter 2 !\nNeed database filename!";
inline constexpr char kGetInfoNeedInfo[] = "Invalid parameter 3 !\nNeed dictionary info!";
inline constexpr char kSetInfoNeedFileName[] = "Invalid parameter 2 !\nNeed database filename !";
inline constexpr char kSetInfoNeedInfo[] = "Invalid parameter 3 !\nNeed dictionary info !";
inline constexpr char kFileCantOpen[] = "Can't open file:\n%.*s";
inline constexpr char kFileCantOpenRewrite[] = "Can't open file:\n%.*s!";
inline constexpr char kFileCantGetSize[] = "Can't get file size:\n%.*s";
inline constexpr char kFileCantGetSizeRewrite[] = "Can't get file size:\n%.*s!";
inline constexpr char kFileTooSmall[] = "File is too small:\n%.*s";
inline constexpr char kFileCantMap[] = "Can't map file:\n%.*s";
inline constexpr char kFileCrcError[] = "Database CRC error:\n%.*s";
inline constexpr char kFileInvalidFormat[] = "Invalid database format:\n%.*s";
inline constexpr char kUncompressError[] = "Uncompress database error !";
inline constexpr char kDamagedDatabase[] = "Damaged database !";
inline constexpr char kFileCantOpenForWriting[] = "Can't open file for writing:\n%.*s";
inline constexpr char kFileCantWrite[] = "Can't write to file:\n%.*s";
inline constexpr char kFileCantWriteCounts[] = "Can't write to file\n%.*s";
inline constexpr char kFileCantCopy[] = "Can't copy to file:\n%.*s";
inline constexpr char kFileLocked[] =
    "Can't lock file for writing:\n%.*s\nAnother program is saving it; try again later.";
inline constexpr char kCompressionError[] = "Compression error !";
inline constexpr char kDatabaseIsDamaged[] = "Database is damaged !";
inline constexpr char kTooManyTranslations[] =
    "Can't save a word with more than 65535 translations !";

// Format list and dictionary update
inline constexpr char kPluginsFound[] = "Plugins found!";
inline constexpr char kUpdateNeedFileName[] = "Invalid function parameter 4 !";
inline constexpr char kUpdateCantCreateHandle[] = "Can't create new database handle!";
inline constexpr char kUpdatedWithNew[] =
    "Dictionary successfully updated.\nNew translations added.";
inline constexpr char kUpdatedNothingNew[] =
    "Dictionary successfully updated.\nNo translations added.";

}  // namespace lexbase::msg
