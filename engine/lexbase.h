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
#define DB_LIST_ANAGRAM_1 4
#define DB_LIST_ANAGRAM_2 5
#define DB_LIST_ANAGRAM_EXACT 6

#define DB_FORMAT_V03_LOAD 1
#define DB_FORMAT_V02_LOAD 2
#define DB_FORMAT_FREELANG_LOAD 3
#define DB_FORMAT_FREELANG_DIR_LOAD 4
#define DB_FORMAT_TXT_LOAD 5
#define DB_FORMAT_V03_SAVE 6
#define DB_FORMAT_FREELANG_SAVE 7
#define DB_FORMAT_TXT_SAVE 8

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
** locales (LCIDs; 0, 1024 and 2048 mean the user's locale).
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
** changes the order only through DB_ResortList.
**   status 1   "Dictionary info successfully saved."
**   status 0   "Invalid parameter 2!\nNeed DICTIONARY_INFO!" or the closed message
*/
const DB_RESULT* DB_SetDictionaryInfo(DB_HANDLE db, const DICTIONARY_INFO* info);

/* DB_GetDictionaryInfoA: fills *info from the header of a dictionary file. */
const DB_RESULT* DB_GetDictionaryInfoA(DB_HANDLE db, const char* file_name,
                                       DICTIONARY_INFO* info);

/* DB_SetDictionaryInfoA: rewrites the description in a dictionary file. */
const DB_RESULT* DB_SetDictionaryInfoA(DB_HANDLE db, const char* file_name,
                                       const DICTIONARY_INFO* info);

/* ---- Files ------------------------------------------------------------- */

/* DB_Load: opens a dictionary from a file of one of the DB_FORMAT_*_LOAD formats. */
const DB_RESULT* DB_Load(DB_HANDLE db, int32_t format, const char* file_name,
                         uint32_t primary_locale, uint32_t secondary_locale);

/* DB_Save: writes the open dictionary in one of the DB_FORMAT_*_SAVE formats. */
const DB_RESULT* DB_Save(DB_HANDLE db, int32_t format, const char* file_name);

/* DB_Update: merges the dictionary in a file into the open one. */
const DB_RESULT* DB_Update(DB_HANDLE db, int32_t direction, int32_t format,
                           const char* file_name);

/* DB_GetPluginList: the load (which = 1) or save formats, as DB_FORMAT_RECORDs in items. */
const DB_RESULT* DB_GetPluginList(DB_HANDLE db, int32_t which);

/* ---- Search ------------------------------------------------------------ */

/* DB_List: writes matching words of a list into output[0 .. max_results-1]. */
const DB_RESULT* DB_List(DB_HANDLE db, int32_t list, const char* pattern, int32_t case_sensitive,
                         int32_t ignore_accents, uint32_t mode, const char** output,
                         int32_t max_results);

/* DB_ListIdenticalWords: writes the words spelled alike in both lists into output. */
const DB_RESULT* DB_ListIdenticalWords(DB_HANDLE db, int32_t ignore_accents,
                                       int32_t case_sensitive, const char** output);

/* DB_Translate: writes the translations of a word into output. */
const DB_RESULT* DB_Translate(DB_HANDLE db, int32_t direction, const char* word,
                              int32_t case_sensitive, int32_t ignore_accents,
                              const char** output, int32_t max_results);

/* ---- Editing ----------------------------------------------------------- */

const DB_RESULT* DB_AddWord(DB_HANDLE db, int32_t list, const char* word);
const DB_RESULT* DB_AddTranslation(DB_HANDLE db, int32_t direction, const char* word,
                                   const char* translation);
const DB_RESULT* DB_DeleteWord(DB_HANDLE db, int32_t list, const char* word);
const DB_RESULT* DB_DeleteTranslation(DB_HANDLE db, int32_t direction, const char* word,
                                      const char* translation);
const DB_RESULT* DB_ChangeWord(DB_HANDLE db, int32_t list, const char* old_word,
                               const char* new_word);
const DB_RESULT* DB_SwapTranslations(DB_HANDLE db, int32_t list, const char* word,
                                     const char* translation1, const char* translation2);
const DB_RESULT* DB_ResortList(DB_HANDLE db, int32_t list, uint32_t locale);

#ifdef __cplusplus
}
#endif

#endif /* LEXBASE_H */
