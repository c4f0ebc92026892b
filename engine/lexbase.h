/*
** lexbase: the bilingual dictionary engine.
**
** A handle holds at most one open dictionary: a primary word list in one
** language and a secondary list in another, with translations linking words of
** one list to words of the other. Texts are 8-bit, in the Windows code page of
** their list's language; identity is byte-exact, order is the collation of the
** list's locale (a Windows LCID).
**
** Nearly every function returns the address of a DB_RESULT. For a valid handle
** it is the record inside that handle, rewritten by the next call on the same
** handle; a null handle gets a static record with status 0 and the message
** "Invalid database handle!". status is 0 for failure, 1 for success and 2 for
** a success that added or changed data; message is always a readable text.
** Word pointers handed out (word, word2, the output arrays of DB_List and
** DB_Translate) point into the dictionary and stay valid until the dictionary
** is edited, re-sorted or closed.
**
** Calls on one handle are made by one thread at a time, except that
** DB_EndLoop and DB_GetExecutionProgress may be called from another thread
** while DB_List, DB_ListIdenticalWords or DB_Update runs. Different handles are
** independent.
*/
#ifndef LEXBASE_H
#define LEXBASE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct DB_CONTEXT* DB_HANDLE; /* opaque */

typedef struct DB_RESULT {
    int32_t status;      /* 0 failure, 1 success, 2 success that changed data */
    const char* word;    /* stored text of the word concerned (editing) */
    const char* word2;   /* stored text of the second word (DB_AddTranslation) */
    const char* message; /* the handle's message buffer, at most 520 characters */
    DB_HANDLE handle;    /* the handle itself */
    int32_t added;       /* translations added by the last DB_Update */
    int32_t count;       /* number of items in items, or of results written */
    const void* items;   /* first item of a list made by the call */
} DB_RESULT;

typedef struct DICTIONARY_INFO {
    uint32_t primary_word_count, secondary_word_count;
    uint32_t primary_index_size, secondary_index_size; /* word count x 4 */
    uint32_t primary_translation_count, secondary_translation_count;
    uint32_t memory_size; /* links x 12 + words x 20 + text bytes of both lists */
    char name[100], author[100], description[100];
    char primary_list_name[40], secondary_list_name[40];
    uint32_t primary_locale, secondary_locale;   /* Windows LCIDs */
    uint32_t primary_charset, secondary_charset; /* font character sets, kept as given */
} DICTIONARY_INFO;

typedef struct DB_FORMAT_RECORD {
    int32_t direction; /* 1 load, 2 save */
    int32_t format;    /* the DB_FORMAT_ number */
    char extension[4]; /* file extension without the dot */
    int32_t folder;    /* 1 when the format reads a folder rather than a file */
    int32_t asks_for_description;
    char name[100], description[100], author[100];
    uint8_t version_major, version_minor;
} DB_FORMAT_RECORD;

#define DB_PRIMARY_LIST 1
#define DB_SECONDARY_LIST 2
#define DB_TRANS_PRIMARY_TO_SECONDARY 1
#define DB_TRANS_SECONDARY_TO_PRIMARY 2

#define DB_LIST_PREFIX 0
#define DB_LIST_WILDCARDS 1
#define DB_LIST_REGEX 2
#define DB_LIST_PALINDROME 3
#define DB_LIST_ANAGRAM_REUSE 4
#define DB_LIST_ANAGRAM_ONCE 5
#define DB_LIST_ANAGRAM_EXACT 6

#define DB_FORMAT_V03_LOAD 1
#define DB_FORMAT_V02_LOAD 2
#define DB_FORMAT_FREELANG_LOAD 3
#define DB_FORMAT_FREELANG_DIR_LOAD 4
#define DB_FORMAT_TXT_LOAD 5
#define DB_FORMAT_V03_SAVE 6
#define DB_FORMAT_FREELANG_SAVE 7
#define DB_FORMAT_TXT_SAVE 8

/* A list whose charset is DB_CHARSET_UTF8 keeps its words in UTF-8; every
** other list in the ANSI code page of its locale. A new or emptied list of a
** language that has no 8-bit code page (Hindi, Georgian, ...) or only a
** double-byte one (Japanese, Chinese, Korean) is UTF-8 by itself. */
#define DB_CHARSET_UTF8 65001
/* Or'ed into a locale of DB_Load's TXT import (format 5): that list is UTF-8
** whatever its language. */
#define DB_LOCALE_UTF8 0x80000000u

/* ---- Handles, state and progress ------------------------------------- */

/*
** DB_CreateHandle: makes a new, empty handle.
**   status 1   "New handle successfully created."; the handle is in "handle"
**   status 0   no memory: the static invalid-handle record
*/
const DB_RESULT* DB_CreateHandle(void);

/*
** DB_DestroyHandle: closes the dictionary of "db" and frees the handle, which
** must not be used again. Returns a static record: status 1 "Database handle
** successfully destroyed.", or the invalid-handle record for a null handle.
*/
const DB_RESULT* DB_DestroyHandle(DB_HANDLE db);

/*
** DB_Close: frees the open dictionary, if any, and empties the handle for
** reuse. Always status 1, "Dictionary is successfully closed!".
*/
const DB_RESULT* DB_Close(DB_HANDLE db);

/* DB_IsReady: 1 while a dictionary is open, else 0 (0 for a null handle). */
int32_t DB_IsReady(DB_HANDLE db);

/*
** DB_IsChanged: 1 once the open dictionary differs from what was last loaded
** or saved, else 0 (0 for a null handle). Empties the message buffer.
*/
int32_t DB_IsChanged(DB_HANDLE db);

/*
** DB_GetLastErrorMessage: the handle's message buffer, holding the message of
** the last call that set one; null for a null handle.
*/
const char* DB_GetLastErrorMessage(DB_HANDLE db);

/* DB_GetExecutionProgress: 0..100 for the running or last long operation. */
int32_t DB_GetExecutionProgress(DB_HANDLE db);

/*
** DB_EndLoop: asks a running listing or merge loop on "db" to stop at its next
** word; may be called from another thread. Returns 1, or 0 for a null handle.
*/
int32_t DB_EndLoop(DB_HANDLE db, int32_t ignored);

/* ---- Dictionary description ------------------------------------------ */

/*
** DB_CreateNewDictionary: opens an empty dictionary whose lists use the two
** locales (LCIDs; 0, 1024 and 2048 mean the user's locale). The charsets are
** 0, or DB_CHARSET_UTF8 for a language without an 8-bit code page.
**   status 1   "New dictionary successfully created."
**   status 0   "This handle points to already loaded dictionary!\nClose this
**              dictionary first!", or "Memory allocation error!"
*/
const DB_RESULT* DB_CreateNewDictionary(DB_HANDLE db, uint32_t primary_locale,
                                        uint32_t secondary_locale);

/*
** DB_GetDictionaryInfo: fills *info from the open dictionary; strings are cut
** to 99 (name, author, description) or 39 (list names) characters.
**   status 1   "Dictionary info successfully extracted."
**   status 0   "Invalid parameter 2!\nNeed pointer to DICTIONARY_INFO." (null
**              info) or the closed-dictionary message
*/
const DB_RESULT* DB_GetDictionaryInfo(DB_HANDLE db, DICTIONARY_INFO* info);

/*
** DB_SetDictionaryInfo: takes the five strings, the locales and the charsets of
** *info (counts are ignored) and marks the dictionary changed. A new locale
** changes the order only through DB_ResortList. Words are never converted: a
** list that holds words keeps its encoding (a UTF-8 list stays DB_CHARSET_UTF8,
** an 8-bit list does not take it); an empty list takes the charset asked for,
** or DB_CHARSET_UTF8 where its language has no 8-bit code page.
**   status 1   "Dictionary info successfully saved."
**   status 0   "Invalid parameter 2!\nNeed DICTIONARY_INFO!" or the closed message
*/
const DB_RESULT* DB_SetDictionaryInfo(DB_HANDLE db, const DICTIONARY_INFO* info);

/*
** DB_GetDictionaryInfoA: fills *info from the header of the V03 file
** "file_name" without loading it; the dictionary of "db", if any, stays as it
** is. The file passes the checks of a V03 load first (size, CRC, format);
** strings are cut to 99 or 39 characters, index sizes are word counts x 4.
**   status 1   "Dictionary info successfully extracted."
**   status 0   "Invalid parameter 2 !\nNeed database filename!" (null or empty),
**              "Invalid parameter 3 !\nNeed dictionary info!", or one of the
**              file messages of DB_Load, each followed by the file name:
**              "Can't open file:\n", "Can't get file size:\n", "File is too
**              small:\n", "Can't map file:\n", "Database CRC error:\n",
**              "Invalid database format:\n"
*/
const DB_RESULT* DB_GetDictionaryInfoA(DB_HANDLE db, const char* file_name, DICTIONARY_INFO* info);

/*
** DB_SetDictionaryInfoA: rewrites the description in the header of the V03
** file "file_name" in place: the list names (39 characters at most), the name,
** author and description (100 at most), the locales and the charsets of
** *info (each list keeping its encoding as with DB_SetDictionaryInfo); then
** the CRC. Nothing else in the file changes. Empties the message
** buffer first.
**   status 1   "Dictionary info successfully saved."
**   status 0   "Invalid parameter 2 !\nNeed database filename !", "Invalid
**              parameter 3 !\nNeed dictionary info !", or a file message as for
**              DB_GetDictionaryInfoA, except "Can't open file:\n<file>!" and
**              "Can't get file size:\n<file>!" and that files of 568 bytes and
**              more are large enough; "Can't write to file:\n<file>" when a
**              write fails, which may leave the file failing its CRC
*/
const DB_RESULT* DB_SetDictionaryInfoA(DB_HANDLE db, const char* file_name,
                                       const DICTIONARY_INFO* info);

/* ---- Files ------------------------------------------------------------- */

/*
** DB_Load: opens the dictionary in "file_name" in "db", which must hold none.
** "format" is DB_FORMAT_V03_LOAD (1), DB_FORMAT_V02_LOAD (2, "file_name"
** names the folder of the set), DB_FORMAT_FREELANG_LOAD (3),
** DB_FORMAT_FREELANG_DIR_LOAD (4, read as one database file) or
** DB_FORMAT_TXT_LOAD (5). The locales (LCIDs) serve formats 3, 4 and 5 only.
** Progress runs from 0 to 100; a V03 load passes 10, 14, 15, 45, 75, 77, 80,
** 85, 90, 92, 96 and 98. After a failure the handle holds no dictionary and
** can try another file.
**   status 1   "Dictionary successfully loaded."; DB_IsChanged answers 0
**   status 0   "This handle points to already loaded dictionary !\nClose this
**              dictionary first !", "Invalid parameter 2 !\nFormat can't be 0 !",
**              "Invalid parameter 3 !\nNeed database filename !" (null or empty),
**              "Invalid parameter 2 !" (no such format), or the loader's message.
**              A V03 file answers, followed by the file name: "Can't open
**              file:\n" (also for a folder), "Can't get file size:\n", "File is
**              too small:\n" (below 572 bytes), "Can't map file:\n" (also when
**              the file changes size while it is read), "Database CRC
**              error:\n", "Invalid database format:\n"; or, without it,
**              "Uncompress database error !", "Damaged database !", "Memory
**              allocation error !". The imports answer as their formats say,
**              often without a message of their own. A TXT file (5) answers
**              "Can't open file:\n<file>" (also when it can't be read), "Can't
**              get file size:\n<file>", "File is too small:\n<file>" (below 3
**              bytes), "Invalid database format:\n<file>" (no line holds a
**              pair) or "Memory allocation error !".
** A TXT import names the dictionary after a file name A_B.ext ("A - B", lists
** A and B; otherwise "Unknown - Unknown" and "Unknown"), author "TXT
** dictionary", charset 1 for both lists and locale 1024 for both when both
** locales are 0. Lines "primary TAB secondary" ending in CR LF or LF carry
** the pairs; a pair with a word longer than 65535 bytes is skipped. A file
** that begins with a UTF-8 byte-order mark is UTF-8, and so is a column (the
** primary or the secondary words) that is valid UTF-8 with a byte above 127:
** its texts are converted into their list's code page, and a list whose
** texts don't all fit its code page becomes UTF-8 (DB_CHARSET_UTF8) instead.
** Any other column is in its list's code page.
*/
const DB_RESULT* DB_Load(DB_HANDLE db, int32_t format, const char* file_name,
                         uint32_t primary_locale, uint32_t secondary_locale);

/*
** DB_Save: writes the open dictionary of "db" to "file_name" as
** DB_FORMAT_V03_SAVE (6), DB_FORMAT_FREELANG_SAVE (7) or DB_FORMAT_TXT_SAVE
** (8). A V03 save writes "file_name" followed by ".tmp" and then puts it in
** the place of "file_name" in one step: after a failure the old file is as it
** was and no ".tmp" file remains. The dictionary never changes. Progress runs
** from 0 to 100.
**   status 1   "Dictionary successfully saved."; DB_IsChanged answers 0
**   status 0   "Invalid parameter 3!\nNeed database filename!" (null or empty),
**              "Invalid parameter 2!\nNeed database format!" (0), the closed
**              message, "Invalid database format !" (no such format), or the
**              writer's message. A V03 save answers "Can't open file for
**              writing:\n<file>.tmp", "Can't write to file:\n<file>.tmp" (or
**              "Can't write to file\n<file>.tmp" for the translation counts),
**              "Can't copy to file:\n<file>" (the replacement failed),
**              "Compression error !", "Memory allocation error !", "Database is
**              damaged !" (the lists contradict their counts), or "Can't save a
**              word with more than 65535 translations !". A TXT export writes
**              one line "primary TAB secondary CR LF" per translation of every
**              primary word (words without translations, the description and
**              the locales are not kept) and answers "Can't create
**              file:\n<file>!" or "Can't write to file:\n<file>".
*/
const DB_RESULT* DB_Save(DB_HANDLE db, int32_t format, const char* file_name);

/*
** DB_Update: merges the dictionary in "file_name" (a file or folder of load
** format "format", read with both locales 0) into the open dictionary. Every
** pair of the other dictionary is added with DB_AddTranslation(db, direction,
** word, translation), walking its primary words in list order: with
** DB_TRANS_PRIMARY_TO_SECONDARY its primary words join the primary list, with
** DB_TRANS_SECONDARY_TO_PRIMARY the secondary list. The description, locales
** and charsets of the open dictionary stay. DB_GetExecutionProgress counts the
** other dictionary's words; DB_EndLoop stops after the current word, keeping
** what was added, and the call then answers as a normal success.
**   status 2   "Dictionary successfully updated.\nNew translations added."
**   status 1   "Dictionary successfully updated.\nNo translations added."
**              in both, "added" = the pairs that were new; it keeps that value
**              until the next DB_Update on "db"
**   status 0   the invalid-handle record, "Dictionary is closed!\nLoad
**              dictionary first or create new one!", the direction message of
**              DB_AddTranslation, "Invalid function parameter 4 !" (null or
**              empty name), "Can't create new database handle!", the load's
**              own message when the other file can't be loaded (a load without
**              one leaves the buffer as it was; the open dictionary is
**              unchanged), or the message of an addition that failed (memory;
**              "added" counts what was added before it)
*/
const DB_RESULT* DB_Update(DB_HANDLE db, int32_t direction, int32_t format, const char* file_name);

/*
** DB_GetPluginList: describes the formats of DB_Load (which = 1: formats 1, 2,
** 3, 4, 5, "count" 5) or of DB_Save (any other value: formats 6, 8, 7,
** "count" 3) as DB_FORMAT_RECORDs, the first at "items". Needs no open
** dictionary. Always status 1 "Plugins found!" for a valid handle. The records
** belong to "db" and stay valid until the next DB_GetPluginList on "db" or
** until "db" is destroyed.
*/
const DB_RESULT* DB_GetPluginList(DB_HANDLE db, int32_t which);

/* ---- Search ------------------------------------------------------------ */

/*
** The search functions hand back pointers to word texts inside the dictionary
** (never copies) in the caller's array, in list order, and put their number in
** "count" of the record. The pointers stay valid until the dictionary is
** edited, re-sorted or closed. Two switches choose how bytes compare:
** "case_sensitive" (nonzero: case counts) and "ignore_accents" (nonzero: a
** letter matches its forms with and without accents), each through the
** folding tables of the list's language. Each function checks, in this order:
** the handle (null: the static invalid-handle record), then its arguments and
** the open dictionary as listed; every failure answers status 0 with count 0.
** While a search runs, another thread may call DB_EndLoop to stop it after
** the current word (the words found so far are returned with status 1) and
** DB_GetExecutionProgress, which counts words in the modes that walk the whole
** list and reads 0 otherwise and between calls.
*/

/*
** DB_List: lists the words of "list" (DB_PRIMARY_LIST or DB_SECONDARY_LIST)
** that match "pattern" under "mode":
**   DB_LIST_PREFIX         the word begins with the pattern
**   DB_LIST_WILDCARDS      the whole word matches the pattern, where '*' stands
**                          for any run of bytes and '?' for one byte
**   DB_LIST_REGEX          the (PCRE2) regular expression occurs in the word; one
**                          word that needs too much matching work counts as
**                          not matching, and the message then says that the
**                          search is incomplete
**   DB_LIST_PALINDROME     the word reads the same backwards; no pattern needed
**   DB_LIST_ANAGRAM_REUSE  each letter of the word occurs in the pattern
**   DB_LIST_ANAGRAM_ONCE   the word's letters are found among the pattern's,
**                          each pattern letter used once
**   DB_LIST_ANAGRAM_EXACT  as DB_LIST_ANAGRAM_ONCE, with the pattern's length
** At most "max_results" pointers are written to "output" (a negative value
** counts as 0); a match beyond them ends the search.
**   status 1   "Words found." (also when nothing matched); "Search incomplete:
**              the regular expression needed too much work on some words."
**              when a word was left out for that reason
**   status 0   "Invalid paramater 3!\nCan't use empty word as searching
**              parameter." (pattern null or empty, other than in
**              DB_LIST_PALINDROME), "Invalid parameter 7!\nNeed valid
**              output_buffer.", the closed-dictionary message, the list
**              message, "Invalid parameter 6!\nInvalid pattern search mode.",
**              "PCRE error!" (an expression PCRE2 refuses), "Memory allocation
**              error!"
*/
const DB_RESULT* DB_List(DB_HANDLE db, int32_t list, const char* pattern, int32_t case_sensitive,
                         int32_t ignore_accents, uint32_t mode, const char** output,
                         int32_t max_results);

/*
** DB_ListIdenticalWords: lists the primary words that the secondary list also
** holds, compared under the two switches (note their order: accents first).
** Each primary word appears at most once; "output" needs room for as many
** pointers as the primary list has words.
**   status 1   "Words found." (also when there is none)
**   status 0   "Invalid parameter 4!\nNeed valid output_buffer.", the
**              closed-dictionary message
*/
const DB_RESULT* DB_ListIdenticalWords(DB_HANDLE db, int32_t ignore_accents, int32_t case_sensitive,
                                       const char** output);

/*
** DB_Translate: writes the translations of "word" to "output", at most
** "max_results" of them (a negative value counts as 0). "direction" is
** DB_TRANS_PRIMARY_TO_SECONDARY (the word is primary) or
** DB_TRANS_SECONDARY_TO_PRIMARY. With both switches strict the word's own
** translations come back in their order; otherwise those of every word equal
** to it under the switches, variant after variant in list order. A
** translation shared by two variants comes back twice.
**   status 1   "Translations found." (at least one written)
**   status 0   "Translations not found." (the word is absent, has no
**              translation, or max_results is 0), "Invalid paramater 3!\nCan't
**              use empty word as searching parameter.", "Invalid parameter
**              6!\nNeed valid output_buffer.", the closed-dictionary message,
**              "Invalid parameter 2!\nUse DB_TRANS_PRIMARY_TO_SECONDARY or
**              DB_TRANS_SECONDARY_TO_PRIMARY." (with a full stop)
*/
const DB_RESULT* DB_Translate(DB_HANDLE db, int32_t direction, const char* word,
                              int32_t case_sensitive, int32_t ignore_accents, const char** output,
                              int32_t max_results);

/* ---- Editing ----------------------------------------------------------- */

/*
** The editing functions change the open dictionary of "db" in memory; a save
** writes the changes. Each checks, in this order: the handle (null: the static
** invalid-handle record), the open dictionary (status 0, "Dictionary is
** closed!\nLoad dictionary first or create new one!"), then its arguments as
** listed. "list" is DB_PRIMARY_LIST or DB_SECONDARY_LIST, else status 0,
** "Invalid parameter 2!\nUse DB_PRIMARY_LIST or DB_SECONDARY_LIST."; a
** "direction" is DB_TRANS_PRIMARY_TO_SECONDARY (the word is primary) or
** DB_TRANS_SECONDARY_TO_PRIMARY, else status 0, "Invalid parameter 2!\nUse
** DB_TRANS_PRIMARY_TO_SECONDARY or DB_TRANS_SECONDARY_TO_PRIMARY". Words are
** matched byte for byte; a stored word is 1 to 65,535 bytes. Running out of
** memory answers status 0, "Memory allocation error!". Every success that
** changes the dictionary makes DB_IsChanged answer 1.
**
** "word" and "word2" of the record point to stored texts, valid until that
** word is changed or deleted or the dictionary is closed; a call that does not
** set them leaves them as they were. Word pointers handed out earlier (by any
** function) stop being valid when their word is changed or deleted or the
** list is re-sorted.
*/

/*
** DB_AddWord: adds "word" to "list" at its place in the list's order.
**   status 1   "Word successfully added."; word = the stored text
**   status 1   "This word already exists in dictionary."; word = the stored text
**   status 0   "Invalid parameter 3!\nCan't add empty word." (null or empty),
**              "Invalid parameter 3!\nWord is too long." (over 65,535 bytes),
**              the list message, or the memory message
*/
const DB_RESULT* DB_AddWord(DB_HANDLE db, int32_t list, const char* word);

/*
** DB_AddTranslation: links "word" (of the list that "direction" names) and
** "translation" (of the other list), adding either word that is missing. The
** new translation goes last in both words' lists of translations.
**   status 2   "Translation successfully added."; word, word2 = the stored texts
**   status 1   "This translation already exists in dictionary."; word, word2 as
**              above (the dictionary counts as changed all the same)
**   status 0   "Invalid parameter 3!\nCan't add empty word.", "Invalid parameter
**              3!\nWord is too long.", the same two for parameter 4, the direction
**              message, or the memory message (a word added before memory ran out
**              stays)
*/
const DB_RESULT* DB_AddTranslation(DB_HANDLE db, int32_t direction, const char* word,
                                   const char* translation);

/*
** DB_DeleteWord: removes "word" from "list". A word with translations stays;
** deleting the last word of a list empties it completely.
**   status 1   "Word successfully deleted."
**   status 0   "Invalid parameter 3!\nCan't delete empty word.", the list message,
**              "This word has translations!\nDelete all translations first",
**              "Nothing to delete!\nDictionary is empty." (the list has no word),
**              "This word isn't in dictionary!"
*/
const DB_RESULT* DB_DeleteWord(DB_HANDLE db, int32_t list, const char* word);

/*
** DB_DeleteTranslation: removes the translation between "word" (of the list
** that "direction" names) and "translation"; both words stay.
**   status 1   "Translation successfully deleted."
**   status 0   "Invalid parameter 3!\nCan't delete empty word.", the same for
**              parameter 4, the direction message, or "This translation isn't in
**              dictionary!" (also when the translation's own side lacks the link
**              back, in which case the word's side is removed all the same)
*/
const DB_RESULT* DB_DeleteTranslation(DB_HANDLE db, int32_t direction, const char* word,
                                      const char* translation);

/*
** DB_ChangeWord: replaces the text "old_word" of "list" by "new_word", which
** takes its own place in the order and keeps the old word's translations in
** their order. When "new_word" is already in the list the two merge: it keeps
** its own translations and gains, after them, those of the old word it lacks.
**   status 2   "Word successfully changed."; word = the new stored text
**   status 1   "Nothing to change.\nOld word is equal to new word."; word = the
**              stored text
**   status 0   "Invalid parameter 3!\nCan't change empty word." (either word null
**              or empty), "Invalid parameter 4!\nWord is too long.", the list
**              message, "This word isn't in dictionary!", the memory message
*/
const DB_RESULT* DB_ChangeWord(DB_HANDLE db, int32_t list, const char* old_word,
                               const char* new_word);

/*
** DB_SwapTranslations: exchanges the places of "translation1" and
** "translation2" among the translations of "word" in "list"; the translations'
** own lists of translations stay as they are.
**   status 2   "Translations successfully swaped"; word = translation 1's text
**   status 1   "Nothing to do!\nTrans1 and trans2 are the same."; word as above
**   status 0   "Invalid parameter 3!\nCan't use empty word as searching
**              parameter.", the same for parameter 4 (empty or null) and 5 (null
**              only), the list message, "This word isn't in dictionary!" (no word
**              shares its first two bytes), "This word isn't in dictionary 1!",
**              "Trans1 isn't in dictionary!", "Trans2 isn't in dictionary!"
*/
const DB_RESULT* DB_SwapTranslations(DB_HANDLE db, int32_t list, const char* word,
                                     const char* translation1, const char* translation2);

/*
** DB_ResortList: sorts "list" by the collation of "locale" (an LCID), which
** becomes the list's locale with its case and accent tables. Use it after
** changing a list's locale with DB_SetDictionaryInfo. Progress runs from 0 to
** 100 (0 is set before the dictionary test).
**   status 2   "List successfully resorted."
**   status 1   "Nothing to resort!\nList is empty" (nothing changes)
**   status 0   the list message, or the memory message (when it comes after the
**              sort, the list stays sorted under the new locale)
*/
const DB_RESULT* DB_ResortList(DB_HANDLE db, int32_t list, uint32_t locale);

#ifdef __cplusplus
}
#endif

#endif /* LEXBASE_H */
