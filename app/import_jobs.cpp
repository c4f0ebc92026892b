// The import job (21): a foreign dictionary file, or every chosen language of
// a Freelang installation, saved as a dictionary of the database folder.
#include <cstring>

#include "app/message_box_style.h"
#include "app/search_controller.h"
#include "platform/code_page.h"

namespace wordbay {
namespace {

constexpr char kV03FilterName[] = "KX3 database";
constexpr char kV03Extension[] = "v03";

std::string Labelled(TextId label, const std::string& value) {
    return std::string(UiText(label)) + ": " + value;
}

// A list name as part of a file name: UTF-8, with no folder separator.
std::string FileNamePart(const DICTIONARY_INFO& info, ListSide side) {
    std::string name = DictionarySlot::ListNameUtf8(info, side);
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    return name;
}

// Copies `text` into a fixed field, cut to leave room for the final zero.
template <std::size_t N>
void SetField(char (&field)[N], const std::string& text, std::size_t max_chars = N - 1) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min({text.size(), max_chars, N - 1}));
}

// An engine handle that lives for one import.
class TemporaryHandle {
public:
    TemporaryHandle() {
        const DB_RESULT* r = DB_CreateHandle();
        handle_ = r->status != 0 ? r->handle : nullptr;
    }
    ~TemporaryHandle() {
        if (handle_ != nullptr) DB_DestroyHandle(handle_);
    }
    TemporaryHandle(const TemporaryHandle&) = delete;
    TemporaryHandle& operator=(const TemporaryHandle&) = delete;
    DB_HANDLE get() const { return handle_; }

private:
    DB_HANDLE handle_ = nullptr;
};

}  // namespace

void SearchController::ImportJob() {
    ImportRequest request;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        request = import_;
    }
    if (request.format == DB_FORMAT_FREELANG_DIR_LOAD && !request.freelang.empty()) {
        ImportFreelang(request);
    } else {
        ImportFile(request);
    }
}

std::string SearchController::ConfirmImportTarget(const std::string& target) {
    if (!catalogue_->IsInCatalogue(target)) return target;
    const std::string question = std::string(UiText(TextId::MSG_FILENAME_EXISTS)) + "\n\n" +
                                 target + "\n\n" +
                                 UiText(TextId::MSG_OVERWRITE_DICTIONARY_QUESTION);
    const int answer = view_->MessageBox(question, UiText(TextId::MSG_SAVE_DICTIONARY),
                                         kMbYesNoCancel | kMbIconQuestion);
    if (answer == kIdYes) return target;
    if (answer != kIdNo) return "";
    return view_->ChooseSaveFile(UiText(TextId::MSG_SAVE), kV03FilterName, kV03Extension,
                                 paths_.database_dir + "/");
}

void SearchController::ImportFile(const ImportRequest& request) {
    TemporaryHandle db;
    if (db.get() == nullptr) {
        view_->MessageBox(UiText(TextId::MSG_CANTGETHANDLE_ERROR), UiText(TextId::MSG_FATAL_ERROR),
                          kMbOk | kMbIconStop);
        return;
    }
    const std::size_t slash = request.path.find_last_of('/');
    const std::string file_name =
        slash == std::string::npos ? request.path : request.path.substr(slash + 1);
    view_->SetStatus(Labelled(TextId::MSG_LOADING, file_name));
    view_->BeginProgress(db.get());
    const DB_RESULT* r = DB_Load(db.get(), request.format, request.path.c_str(),
                                 request.primary_locale, request.secondary_locale);
    bool ok = r->status != 0;
    std::string message = r->message;
    view_->EndProgress();
    if (ok && request.info) {
        r = DB_SetDictionaryInfo(db.get(), &*request.info);
        ok = r->status != 0;
        message = r->message;
    }
    DICTIONARY_INFO info{};
    if (ok) {
        r = DB_GetDictionaryInfo(db.get(), &info);
        ok = r->status != 0;
        message = r->message;
    }
    if (!ok) {
        ReportEngineError(TextId::MSG_DICTIONARY_LOADING_ERROR, request.path, message.c_str());
        return;
    }

    const std::string name = FileNamePart(info, ListSide::kPrimary) + "_" +
                             FileNamePart(info, ListSide::kSecondary) + ".v03";
    view_->SetStatus(Labelled(TextId::MSG_SAVING, name));
    const std::string target = ConfirmImportTarget(paths_.database_dir + "/" + name);
    if (target.empty()) return;
    view_->BeginProgress(db.get());
    r = DB_Save(db.get(), DB_FORMAT_V03_SAVE, target.c_str());
    ok = r->status != 0;
    message = r->message;
    view_->EndProgress();
    if (!ok) {
        ReportEngineError(TextId::MSG_DICTIONARY_SAVING_ERROR, target, message.c_str());
        return;
    }
    DB_Close(db.get());
    catalogue_->Scan(paths_.database_dir, view_);
    view_->MessageBox(UiText(TextId::MSG_DICTIONARY_IMPORTED), UiText(TextId::MSG_INFO),
                      kMbOk | kMbIconInformation);
    if (!main_.loaded()) view_->OpenDictionaryChooser();
}

void SearchController::ImportFreelang(const ImportRequest& request) {
    TemporaryHandle db;
    if (db.get() == nullptr) {
        view_->MessageBox(UiText(TextId::MSG_CANTGETHANDLE_ERROR), UiText(TextId::MSG_FATAL_ERROR),
                          kMbOk | kMbIconStop);
        return;
    }
    int imported = 0;
    for (const FreelangEntry& entry : request.freelang) {
        if (!entry.chosen) continue;
        DB_Close(db.get());  // each language loads into an empty handle
        view_->SetStatus(Labelled(TextId::MSG_LOADING, entry.short_name + "_English.wb"));
        const std::uint32_t locale = FreelangLocale(entry.language_name);
        view_->BeginProgress(db.get());
        const DB_RESULT* r =
            DB_Load(db.get(), DB_FORMAT_FREELANG_LOAD, entry.source_path.c_str(), locale, 1033);
        bool ok = r->status != 0;
        std::string message = r->message;
        view_->EndProgress();
        if (!ok) {
            ReportEngineError(TextId::MSG_DICTIONARY_LOADING_ERROR, entry.source_path,
                              message.c_str());
            continue;
        }
        DICTIONARY_INFO info{};
        r = DB_GetDictionaryInfo(db.get(), &info);
        ok = r->status != 0;
        if (ok) {
            const std::string title = entry.short_name + " - English";
            SetField(info.name, title);
            SetField(info.description, title);
            SetField(info.author, "Freelang");
            SetField(info.primary_list_name, entry.short_name, 39);
            SetField(info.secondary_list_name, "English");
            info.primary_charset = entry.charset;
            info.secondary_charset = 0;
            info.primary_locale = locale;
            info.secondary_locale = 1033;
            r = DB_SetDictionaryInfo(db.get(), &info);
            ok = r->status != 0;
        }
        if (!ok) {
            ReportEngineError(TextId::MSG_DICTIONARY_LOADING_ERROR, entry.source_path, r->message);
            continue;
        }
        const std::string name = entry.short_name + "_English.v03";
        view_->SetStatus(Labelled(TextId::MSG_SAVING, name));
        const std::string target = ConfirmImportTarget(paths_.database_dir + "/" + name);
        if (target.empty()) continue;
        view_->BeginProgress(db.get());
        r = DB_Save(db.get(), DB_FORMAT_V03_SAVE, target.c_str());
        ok = r->status != 0;
        message = r->message;
        view_->EndProgress();
        if (ok) {
            ++imported;
            catalogue_->Scan(paths_.database_dir, view_);
        } else {
            ReportEngineError(TextId::MSG_DICTIONARY_SAVING_ERROR, target, message.c_str());
        }
    }
    DB_Close(db.get());
    catalogue_->Scan(paths_.database_dir, view_);
    // Success is reported only when some language was saved.
    if (imported > 0) {
        view_->MessageBox(UiText(TextId::MSG_DICTIONARY_IMPORTED), UiText(TextId::MSG_INFO),
                          kMbOk | kMbIconInformation);
    }
    if (!main_.loaded()) view_->OpenDictionaryChooser();
}

}  // namespace wordbay
