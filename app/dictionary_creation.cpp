#include "app/dictionary_creation.h"

#include <sys/stat.h>

#include "app/dictionary_slot.h"
#include "app/engine_handle.h"

namespace wordbay {
namespace {

// A list name as part of a file name: UTF-8, with no folder separator.
std::string FileNamePart(const DICTIONARY_INFO& info, ListSide side) {
    std::string name = DictionarySlot::ListNameUtf8(info, side);
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    return name;
}

CreationResult Failure(TextId message, std::string detail, const char* engine_message) {
    CreationResult result;
    result.failure = message;
    result.detail = std::move(detail);
    if (engine_message != nullptr) result.engine_message = engine_message;
    return result;
}

}  // namespace

std::string NewDictionaryFileName(const DICTIONARY_INFO& info) {
    return FileNamePart(info, ListSide::kPrimary) + "_" + FileNamePart(info, ListSide::kSecondary) +
           ".v03";
}

bool WouldReplaceFile(const std::string& path, const Catalogue* catalogue) {
    if (catalogue != nullptr && catalogue->IsInCatalogue(path)) return true;
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

CreationResult CreateDictionary(const DICTIONARY_INFO& info, const std::string& database_dir,
                                const Catalogue* catalogue, const ConfirmReplace& confirm) {
    const EngineHandle db;
    if (db.get() == nullptr) return Failure(TextId::MSG_CANTGETHANDLE_ERROR, "", db.message());
    const DB_RESULT* r =
        DB_CreateNewDictionary(db.get(), info.primary_locale, info.secondary_locale);
    if (r->status == 0) return Failure(TextId::MSG_CANT_CREATE_NEW_DICTIONARY, "", r->message);
    r = DB_SetDictionaryInfo(db.get(), &info);
    if (r->status == 0) return Failure(TextId::MSG_CANT_SET_DICTIONARY_INFO, "", r->message);

    std::string target = database_dir + "/" + NewDictionaryFileName(info);
    if (WouldReplaceFile(target, catalogue)) {
        target = confirm ? confirm(target) : std::string();
        if (target.empty()) {
            CreationResult cancelled;
            cancelled.cancelled = true;
            return cancelled;
        }
    }
    r = DB_Save(db.get(), DB_FORMAT_V03_SAVE, target.c_str());
    if (r->status == 0) return Failure(TextId::MSG_DICTIONARY_SAVING_ERROR, target, r->message);
    CreationResult created;
    created.created = true;
    created.path = target;
    return created;
}

}  // namespace wordbay
