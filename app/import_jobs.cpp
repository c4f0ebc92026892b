#include "app/import_jobs.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "app/dictionary_creation.h"
#include "app/engine_handle.h"
#include "app/message_box_style.h"
#include "exchange/import_export.h"
#include "platform/code_page.h"

namespace wordbay {
namespace {

constexpr char kV03FilterName[] = "KX3 database";
constexpr char kV03Extension[] = "v03";

std::string Labelled(TextId label, const std::string& value) {
    return std::string(UiText(label)) + ": " + value;
}

// `utf8` in `code_page`, whole characters dropped from its end until it
// takes at most `max_bytes`.
std::string EncodeCut(std::uint32_t code_page, std::string_view utf8, std::size_t max_bytes) {
    std::string bytes = platform::EncodeFromUtf8(code_page, utf8);
    while (bytes.size() > max_bytes && !utf8.empty()) {
        std::size_t end = utf8.size() - 1;
        while (end > 0 && (static_cast<std::uint8_t>(utf8[end]) & 0xC0) == 0x80) --end;
        utf8 = utf8.substr(0, end);
        bytes = platform::EncodeFromUtf8(code_page, utf8);
    }
    return bytes;
}

// Puts the typed texts into `info`, each in the code page of the list it
// belongs to (the dictionary's own texts in the primary list's).
void SetTexts(DICTIONARY_INFO* info, const DescriptionTexts& texts) {
    const std::uint32_t primary = DictionarySlot::CodePage(*info, ListSide::kPrimary);
    const std::uint32_t secondary = DictionarySlot::CodePage(*info, ListSide::kSecondary);
    SetField(info->primary_list_name, EncodeCut(primary, texts.primary_list_name, 39));
    SetField(info->secondary_list_name, EncodeCut(secondary, texts.secondary_list_name, 39));
    SetField(info->name, EncodeCut(primary, texts.name, 99));
    SetField(info->author, EncodeCut(primary, texts.author, 99));
    SetField(info->description, EncodeCut(primary, texts.description, 99));
}

// Reads the file `request` names into `db`: the engine loads its own
// formats, the exchange layer StarDict and dictd. False with the message.
bool LoadSource(DB_HANDLE db, const ImportRequest& request, exchange::ImportReport* report,
                std::string* message) {
    std::uint32_t locales[2] = {request.primary_locale, request.secondary_locale};
    const auto travelling = exchange::FormatOfNumber(request.format);
    if (request.info && (request.format == DB_FORMAT_TXT_LOAD || travelling)) {
        // A list read from text becomes UTF-8 when the user chose that for it.
        if (request.info->primary_charset == DB_CHARSET_UTF8) locales[0] |= DB_LOCALE_UTF8;
        if (request.info->secondary_charset == DB_CHARSET_UTF8) locales[1] |= DB_LOCALE_UTF8;
    }
    if (travelling) {
        return exchange::ImportDictionary(db, *travelling, request.path, locales[0], locales[1], {},
                                          report, message);
    }
    const DB_RESULT* r = DB_Load(db, request.format, request.path.c_str(), locales[0], locales[1]);
    *message = r->message;
    return r->status != 0;
}

// `typed` with each empty name, author or description taken from what the
// dictionary just read into `db` calls itself: a StarDict or dictd
// dictionary brings its own.
DescriptionTexts WithOwnTexts(DB_HANDLE db, DescriptionTexts typed) {
    DICTIONARY_INFO own{};
    if (DB_GetDictionaryInfo(db, &own)->status == 0) return typed;
    const std::uint32_t code_page = DictionarySlot::CodePage(own, ListSide::kPrimary);
    const auto fill = [code_page](std::string* text, const auto& field) {
        if (!text->empty()) return;
        *text = platform::DecodeToUtf8(code_page,
                                       std::string_view(field, strnlen(field, sizeof field)));
    };
    fill(&typed.name, own.name);
    fill(&typed.author, own.author);
    fill(&typed.description, own.description);
    return typed;
}

}  // namespace

void ImportJobs::Import(const ImportRequest& request) {
    if (request.format != DB_FORMAT_FREELANG_DIR_LOAD || request.freelang.empty()) {
        ImportFile(request);
        return;
    }
    auto db = std::make_shared<EngineHandle>();
    if (db->get() == nullptr) {
        report_->ShowMessage(UiText(TextId::MSG_CANTGETHANDLE_ERROR),
                             UiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop);
        return;
    }
    ImportFreelang(request, 0, 0, std::move(db));
}

void ImportJobs::ConfirmTarget(const std::string& target, std::function<void(std::string)> then) {
    // A file that is not (or no longer) in the catalogue is asked about as
    // well: saving would replace it.
    if (!WouldReplaceFile(target, catalogue_)) {
        then(target);
        return;
    }
    const std::string question = std::string(UiText(TextId::MSG_FILENAME_EXISTS)) + "\n\n" +
                                 target + "\n\n" +
                                 UiText(TextId::MSG_OVERWRITE_DICTIONARY_QUESTION);
    questions_->Ask(
        {question, UiText(TextId::MSG_SAVE_DICTIONARY), kMbYesNoCancel | kMbIconQuestion},
        [this, target, then](const Answer& answer) {
            if (answer.button == kIdYes) {
                then(target);
            } else if (answer.button == kIdNo) {
                questions_->ChooseSaveFile({UiText(TextId::MSG_SAVE), kV03FilterName, kV03Extension,
                                            paths_->database_dir + "/"},
                                           [then](const Answer& chosen) { then(chosen.path); });
            } else {
                then("");
            }
        });
}

bool ImportJobs::LoadFile(const ImportRequest& request, DB_HANDLE db, DICTIONARY_INFO* info,
                          exchange::ImportReport* import_report) {
    const std::size_t slash = request.path.find_last_of('/');
    const std::string file_name =
        slash == std::string::npos ? request.path : request.path.substr(slash + 1);
    report_->SetStatus(Labelled(TextId::MSG_LOADING, file_name));
    report_->BeginProgress(db);
    std::string message;
    bool ok = LoadSource(db, request, import_report, &message);
    const DB_RESULT* r = nullptr;
    report_->EndProgress();
    std::optional<DescriptionTexts> texts = request.texts;
    if (ok && texts && exchange::FormatOfNumber(request.format)) texts = WithOwnTexts(db, *texts);
    if (ok && request.info) {
        r = DB_SetDictionaryInfo(db, &*request.info);
        ok = r->status != 0;
        message = r->message;
    }
    if (ok) {
        r = DB_GetDictionaryInfo(db, info);
        ok = r->status != 0;
        message = r->message;
    }
    if (ok && request.info && texts) {
        // The lists' encodings are settled now: the typed texts go into them.
        SetTexts(info, *texts);
        r = DB_SetDictionaryInfo(db, info);
        ok = r->status != 0;
        message = r->message;
    }
    if (!ok) {
        report_->EngineError(TextId::MSG_DICTIONARY_LOADING_ERROR, request.path, message.c_str());
    }
    return ok;
}

bool ImportJobs::SaveTo(DB_HANDLE db, const std::string& target) {
    report_->BeginProgress(db);
    const DB_RESULT* r = DB_Save(db, DB_FORMAT_V03_SAVE, target.c_str());
    const bool ok = r->status != 0;
    const std::string message = r->message;
    report_->EndProgress();
    if (!ok) report_->EngineError(TextId::MSG_DICTIONARY_SAVING_ERROR, target, message.c_str());
    return ok;
}

void ImportJobs::ImportFile(const ImportRequest& request) {
    auto db = std::make_shared<EngineHandle>();
    if (db->get() == nullptr) {
        report_->ShowMessage(UiText(TextId::MSG_CANTGETHANDLE_ERROR),
                             UiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop);
        return;
    }
    DICTIONARY_INFO info{};
    exchange::ImportReport import_report;
    if (!LoadFile(request, db->get(), &info, &import_report)) return;
    std::string done = UiText(TextId::MSG_DICTIONARY_IMPORTED);
    if (import_report.dropped > 0) {
        done += "\n\n" +
                Labelled(TextId::MSG_PAIRS_LEFT_OUT, std::to_string(import_report.dropped)) + " (" +
                import_report.reasons + ")";
    }
    const std::string name = NewDictionaryFileName(info);
    report_->SetStatus(Labelled(TextId::MSG_SAVING, name));
    ConfirmTarget(paths_->database_dir + "/" + name, [this, db, done](const std::string& target) {
        if (target.empty() || !SaveTo(db->get(), target)) return;
        DB_Close(db->get());
        catalogue_->Scan(paths_->database_dir, status_);
        report_->ShowMessage(done, UiText(TextId::MSG_INFO), kMbOk | kMbIconInformation);
        Finish();
    });
}

bool ImportJobs::LoadFreelangEntry(const FreelangEntry& entry, DB_HANDLE db) {
    DB_Close(db);  // each language loads into an empty handle
    report_->SetStatus(Labelled(TextId::MSG_LOADING, entry.short_name + "_English.wb"));
    const std::uint32_t locale = FreelangLocale(entry.language_name);
    report_->BeginProgress(db);
    const DB_RESULT* r =
        DB_Load(db, DB_FORMAT_FREELANG_LOAD, entry.source_path.c_str(), locale, 1033);
    bool ok = r->status != 0;
    const std::string message = r->message;
    report_->EndProgress();
    if (!ok) {
        report_->EngineError(TextId::MSG_DICTIONARY_LOADING_ERROR, entry.source_path,
                             message.c_str());
        return false;
    }
    DICTIONARY_INFO info{};
    r = DB_GetDictionaryInfo(db, &info);
    ok = r->status != 0;
    if (ok) {
        const std::string title = entry.short_name + " - English";
        SetField(info.name, title);
        SetField(info.description, title);
        SetField(info.author, "Freelang");
        SetField(info.primary_list_name, entry.short_name);
        SetField(info.secondary_list_name, "English");
        info.primary_charset = entry.charset;
        info.secondary_charset = 0;
        info.primary_locale = locale;
        info.secondary_locale = 1033;
        r = DB_SetDictionaryInfo(db, &info);
        ok = r->status != 0;
    }
    if (!ok)
        report_->EngineError(TextId::MSG_DICTIONARY_LOADING_ERROR, entry.source_path, r->message);
    return ok;
}

void ImportJobs::ImportFreelang(const ImportRequest& request, std::size_t index, int imported,
                                Handle db) {
    for (; index < request.freelang.size(); ++index) {
        const FreelangEntry& entry = request.freelang[index];
        if (!entry.chosen || !LoadFreelangEntry(entry, db->get())) continue;
        const std::string name = entry.short_name + "_English.v03";
        report_->SetStatus(Labelled(TextId::MSG_SAVING, name));
        // The next entries wait for this one's target.
        ConfirmTarget(paths_->database_dir + "/" + name,
                      [this, request, index, imported, db](const std::string& target) {
                          int saved = imported;
                          if (!target.empty() && SaveTo(db->get(), target)) {
                              ++saved;
                              catalogue_->Scan(paths_->database_dir, status_);
                          }
                          ImportFreelang(request, index + 1, saved, db);
                      });
        return;
    }
    DB_Close(db->get());
    catalogue_->Scan(paths_->database_dir, status_);
    // Success is reported only when some language was saved.
    if (imported > 0) {
        report_->ShowMessage(UiText(TextId::MSG_DICTIONARY_IMPORTED), UiText(TextId::MSG_INFO),
                             kMbOk | kMbIconInformation);
    }
    Finish();
}

void ImportJobs::Finish() {
    if (!dictionaries_->main().loaded()) window_->OpenDictionaryChooser();
}

}  // namespace wordbay
