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
inline constexpr char kBadList[] = "Invalid parameter 2!\nUse DB_PRIMARY_LIST or DB_SECONDARY_LIST.";
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

}  // namespace lexbase::msg
