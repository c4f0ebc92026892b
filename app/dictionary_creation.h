// Creating dictionaries in the database folder: the file name a new
// dictionary gets, whether saving there would replace a file, and the
// creation of an empty dictionary from the description the user gave.
//
// The user-interface thread may call these while no job runs: they work on
// engine handles of their own.
#pragma once

#include <functional>
#include <string>

#include "app/catalogue.h"
#include "app/message_table.h"
#include "engine/lexbase.h"

namespace wordbay {

// "<primary list>_<secondary list>.v03": the two list names of `info` in
// UTF-8, each '/' made '_' so that the name never leads out of its folder.
std::string NewDictionaryFileName(const DICTIONARY_INFO& info);

// Whether saving to `path` would replace something: a dictionary of
// `catalogue` (may be null), or any file that is there now.
bool WouldReplaceFile(const std::string& path, const Catalogue* catalogue);

// How a creation ended. On failure, `failure` is the message to show, with
// `detail` (a path, or "") and the engine's own message after it.
struct CreationResult {
    bool created = false;
    bool cancelled = false;  // the user chose not to replace a file
    std::string path;        // created: the file written
    TextId failure = TextId::MSG_CANT_CREATE_NEW_DICTIONARY;
    std::string detail;
    std::string engine_message;
};

// Asked when the proposed file would replace one: answers the path to save to
// (the proposed one to replace it, or another), or "" to cancel.
using ConfirmReplace = std::function<std::string(const std::string& proposed)>;

// Creates an empty dictionary with the locales, list names and description
// of `info` and saves it in `database_dir` under NewDictionaryFileName(info),
// asking `confirm` first when that would replace a file.
CreationResult CreateDictionary(const DICTIONARY_INFO& info, const std::string& database_dir,
                                const Catalogue* catalogue, const ConfirmReplace& confirm);

}  // namespace wordbay
