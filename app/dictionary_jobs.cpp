// The dictionary jobs of the worker: load (5) and dual load (14), save (6),
// save as (4), save and close (8), resort (7), export (13), update (22) and
// closing the dual dictionary.
#include <new>

#include "app/message_box_style.h"
#include "app/search_controller.h"
#include "platform/locale.h"

namespace wordbay {
namespace {

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Labelled(TextId label, const std::string& value) {
    return std::string(UiText(label)) + ": " + value;
}

// The filter name of the save dialog for dictionary files.
constexpr char kV03FilterName[] = "KX3 database";
constexpr char kV03Extension[] = "v03";

}  // namespace

bool SearchController::LoadIntoSlot(DictionarySlot& s, const std::string& path) {
    const SlotId id = s.id();
    saved_while_closing_.store(false);
    if (s.loaded()) s.WriteSettings();
    view_->EnableMenus(false);
    view_->EnableSlotControls(id, false);
    if (id == SlotId::kMain && s.loaded() && DB_IsChanged(s.handle()) != 0) {
        const int answer = view_->MessageBox(UiText(TextId::MSG_SAVE_CHANGED_DICTIONARY),
                                             UiText(TextId::MSG_SAVE),
                                             kMbYesNoCancel | kMbIconQuestion);
        if (answer == kIdYes) Save(s, "");
    }
    view_->SetStatus(Labelled(TextId::MSG_LOADING, FileNameOf(path)));

    const DB_RESULT* created = DB_CreateHandle();
    DB_HANDLE fresh = created->status != 0 ? created->handle : nullptr;
    std::string failure;
    DICTIONARY_INFO info{};
    bool ok = false;
    if (fresh == nullptr) {
        failure = UiText(TextId::MSG_CANTGETHANDLE_ERROR);
    } else {
        view_->BeginProgress(fresh);
        const DB_RESULT* r = DB_Load(fresh, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0);
        view_->EndProgress();
        ok = r->status != 0;
        if (!ok) failure = r->message;
        if (ok) {
            r = DB_GetDictionaryInfo(fresh, &info);
            ok = r->status != 0;
            if (!ok) failure = r->message;
        }
    }

    if (ok) {
        // The lists show words of the old dictionary: empty them before its
        // handle goes.
        ClearSlotViews(id);
        if (id == SlotId::kMain && dual_.loaded()) {
            // Linked dual lists were filled from the old main translations.
            ClearSlotViews(SlotId::kDual);
        }
        s.SetInfo(info);
        s.SetPath(path);
        s.ReplaceHandle(fresh);
        try {
            s.SizeResultArrays();
        } catch (const std::bad_alloc&) {
            ReportMemoryError();
            s.Close();
            view_->EnableMenus(true);
            Retitle();
            view_->RefreshView(id, s);
            return false;
        }
        view_->EnableSlotControls(id, true);
        bool font_warning = false;
        s.ReadSettings(*fonts_, &font_warning);
        if (font_warning) {
            view_->MessageBox(UiText(TextId::MSG_NO_FONT_WARNING), UiText(TextId::MSG_WARNING),
                              kMbOk | kMbIconExclamation);
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            options_.edit_mode = false;
        }
        view_->SetEditModeOff();
        view_->EnableMenus(true);
        Retitle();
        view_->RefreshView(id, s);
        return true;
    }

    if (fresh != nullptr) DB_DestroyHandle(fresh);
    ReportEngineError(TextId::MSG_CANT_LOAD_DICTIONARY, path, failure.c_str());
    // A failed load leaves the slot as it was.
    if (s.loaded()) view_->EnableSlotControls(id, true);
    view_->EnableMenus(true);
    Retitle();
    if (!s.loaded()) view_->RefreshView(id, s);
    return false;
}

void SearchController::LoadDualJob(const std::string& path) {
    if (!main_.loaded()) {
        view_->Beep();
        view_->MessageBox(UiText(TextId::MSG_PLEASE_LOAD_DICTIONARY_FIRST),
                          UiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop);
    } else {
        LoadIntoSlot(dual_, path);
    }
    const bool on = dual_.loaded() && main_.loaded();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        options_.dual_mode = on;
        state_.dual = on;
        if (on) state_.dual_name = dual_.file_name();
    }
    view_->SetDualModeState(on);
    Retitle();
}

void SearchController::CloseDualJob() {
    ClearSlotViews(SlotId::kDual);
    ClearEdit(SlotId::kDual, ListSide::kPrimary);
    ClearEdit(SlotId::kDual, ListSide::kSecondary);
    if (dual_.loaded()) {
        dual_.WriteSettings();
        dual_.Close();
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        options_.dual_mode = false;
        state_.dual = false;
    }
    Retitle();
}

bool SearchController::Save(DictionarySlot& s, const std::string& path) {
    if (!s.loaded()) return false;
    if (!path.empty()) s.SetPath(path);
    view_->SetStatus(Labelled(TextId::MSG_SAVING, s.file_name()));
    view_->BeginProgress(s.handle());
    const DB_RESULT* r = DB_Save(s.handle(), DB_FORMAT_V03_SAVE, s.path().c_str());
    const bool ok = r->status != 0;
    const std::string message = r->message;
    view_->EndProgress();
    if (!ok) {
        ReportEngineError(TextId::MSG_DICTIONARY_SAVING_ERROR, s.path(), message.c_str());
        return false;
    }
    s.WriteSettings();
    view_->MessageBox(UiText(TextId::MSG_DICTIONARY_SAVED), UiText(TextId::MSG_INFO),
                      kMbOk | kMbIconInformation);
    return true;
}

void SearchController::SaveAsJob() {
    if (!main_.loaded()) return;
    const std::string chosen = view_->ChooseSaveFile(UiText(TextId::MSG_SAVE), kV03FilterName,
                                                     kV03Extension, main_.path());
    if (chosen.empty()) return;
    if (Save(main_, chosen) && FolderOf(chosen) == paths_.database_dir) {
        std::lock_guard<std::mutex> lock(mutex_);
        state_.current = main_.file_name();
    }
}

void SearchController::SaveAndCloseJob() {
    // The window closes only when the dictionary is safely written; a failed
    // save was reported and leaves the window open with its changes.
    if (!Save(main_, "")) return;
    saved_while_closing_.store(true);
    view_->CloseMainWindow();
}

void SearchController::ResortJob() {
    if (!main_.loaded()) return;
    int lists = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        lists = resort_lists_;
    }
    if (!main_.RefreshInfo()) return;
    // Re-sorting moves the words the lists point to.
    ClearSlotViews(SlotId::kMain);
    for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        const int bit = side == ListSide::kPrimary ? 1 : 2;
        if ((lists & bit) == 0) continue;
        const std::uint32_t locale = main_.Locale(side);
        std::string language = std::to_string(locale);
        for (const platform::LocaleEntry& e : platform::InstalledLocales()) {
            if (e.lcid == locale) language = e.name;
        }
        const TextId label =
            side == ListSide::kPrimary ? TextId::MSG_PRIMARY_LIST : TextId::MSG_SECONDARY_LIST;
        view_->SetStatus(std::string(UiText(TextId::MSG_RESORTING)) + " - " + UiText(label) +
                         ": " + language);
        view_->BeginProgress(main_.handle());
        const DB_RESULT* r = DB_ResortList(main_.handle(), EngineList(side), locale);
        const bool ok = r->status != 0;
        const std::string message = r->message;
        view_->EndProgress();
        if (!ok) {
            ReportEngineError(TextId::MSG_RESORTING_ERROR, "", message.c_str());
            break;
        }
    }
    main_.RefreshInfo();
    Retitle();
    view_->RefreshView(SlotId::kMain, main_);
}

void SearchController::ExportJob() {
    if (!main_.loaded()) return;
    int format = 0;
    std::string path;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        format = export_format_;
        path = export_path_;
    }
    view_->SetStatus(Labelled(TextId::MSG_SAVING, FileNameOf(path)));
    view_->BeginProgress(main_.handle());
    const DB_RESULT* r = DB_Save(main_.handle(), format, path.c_str());
    const bool ok = r->status != 0;
    const std::string message = r->message;
    view_->EndProgress();
    if (ok) {
        view_->MessageBox(UiText(TextId::MSG_DICTIONARY_EXPORTED), UiText(TextId::MSG_INFO),
                          kMbOk | kMbIconInformation);
    } else {
        ReportEngineError(TextId::MSG_DICTIONARY_SAVING_ERROR, path, message.c_str());
    }
}

void SearchController::UpdateJob() {
    if (!main_.loaded()) return;
    int format = 0;
    std::string path;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        format = update_format_;
        path = update_path_;
    }
    view_->EnableSlotControls(SlotId::kMain, false);
    const std::string question = std::string(UiText(TextId::MSG_DO_YOU_WANT_TO_UPDATE)) +
                                 "\n\n" + main_.ListNameUtf8(main_.source_side()) + " - " +
                                 main_.ListNameUtf8(main_.target_side()) + "\n\n" +
                                 UiText(TextId::MSG_WITH_FILE) + ":\n\n" + path;
    if (view_->MessageBox(question, UiText(TextId::MSG_UPDATE_DICTIONARY_QUESTION),
                          kMbYesNoCancel | kMbIconQuestion) != kIdYes) {
        view_->EnableSlotControls(SlotId::kMain, true);
        return;
    }
    view_->SetStatus(Labelled(TextId::MSG_UPDATING, FileNameOf(path)));
    // The merge adds words: nothing may show the lists while it runs.
    ClearSlotViews(SlotId::kMain);
    if (dual_.loaded()) ClearSlotViews(SlotId::kDual);
    view_->BeginProgress(main_.handle());
    const int direction = main_.primary_to_secondary() ? DB_TRANS_PRIMARY_TO_SECONDARY
                                                       : DB_TRANS_SECONDARY_TO_PRIMARY;
    // A merge stopped half-way would still answer success: let no new search
    // stop this one.
    main_.ProtectLoop(true);
    const DB_RESULT* r = DB_Update(main_.handle(), direction, format, path.c_str());
    main_.ProtectLoop(false);
    const bool ok = r->status != 0;
    const int added = r->added;
    const std::string message = r->message;
    view_->EndProgress();
    if (!ok) {
        ReportEngineError(TextId::MSG_DICTIONARY_UPDATING_ERROR, path, message.c_str());
    } else if (!main_.RefreshInfo()) {
        ReportEngineError(TextId::MSG_DICTIONARY_UPDATING_ERROR, path,
                          DB_GetLastErrorMessage(main_.handle()));
    } else {
        bool sized = true;
        try {
            main_.SizeResultArrays();
        } catch (const std::bad_alloc&) {
            sized = false;
        }
        if (sized) {
            view_->MessageBox(std::string(UiText(TextId::MSG_DICTIONARY_UPDATED)) + "\n\n" +
                                  UiText(TextId::MSG_ADDED_TRANSLATIONS) + ": " +
                                  std::to_string(added),
                              UiText(TextId::MSG_INFORMATION), kMbOk | kMbIconInformation);
        } else {
            ReportMemoryError();
            LoadIntoSlot(main_, main_.path());
        }
    }
    view_->RefreshView(SlotId::kMain, main_);
    view_->EnableSlotControls(SlotId::kMain, true);
}

}  // namespace wordbay
