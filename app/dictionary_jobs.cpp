#include "app/dictionary_jobs.h"

#include <malloc.h>

#include <new>

#include "app/message_box_style.h"
#include "app/startup_trace.h"
#include "app/word_form_jobs.h"
#include "exchange/import_export.h"
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

bool DictionaryJobs::LoadIntoSlot(DictionarySlot& s, const std::string& path) {
    const SlotId id = s.id();
    c_.saved_while_closing().store(false);
    if (s.loaded()) s.WriteSettings();
    c_.view().EnableMenus(false);
    // While the look-up image answers, the user may type during the load.
    const bool previewing = id == SlotId::kMain && c_.startup_image().answering();
    if (!previewing) c_.view().EnableSlotControls(id, false);
    if (id == SlotId::kMain && s.loaded() && DB_IsChanged(s.handle()) != 0) {
        const int answer =
            c_.view().MessageBox(UiText(TextId::MSG_SAVE_CHANGED_DICTIONARY),
                                 UiText(TextId::MSG_SAVE), kMbYesNoCancel | kMbIconQuestion);
        if (answer == kIdYes) Save(s, "");
    }
    c_.view().SetStatus(Labelled(TextId::MSG_LOADING, FileNameOf(path)));

    const DB_RESULT* created = DB_CreateHandle();
    DB_HANDLE fresh = created->status != 0 ? created->handle : nullptr;
    std::string failure;
    DICTIONARY_INFO info{};
    bool ok = false;
    if (fresh == nullptr) {
        failure = UiText(TextId::MSG_CANTGETHANDLE_ERROR);
    } else {
        c_.view().BeginProgress(fresh);
        StartupMark("engine load begins");
        const DB_RESULT* r = DB_Load(fresh, DB_FORMAT_V03_LOAD, path.c_str(), 0, 0);
        StartupMark("engine load ended");
        c_.view().EndProgress();
        ok = r->status != 0;
        if (ok) r = DB_GetDictionaryInfo(fresh, &info);
        ok = r->status != 0;
        if (!ok) failure = r->message;
    }
    // From here on the dictionary, or its absence, answers; the image's
    // answers go before the lists are emptied.
    if (id == SlotId::kMain) c_.startup_image().Stop();
    if (ok) {
        const bool taken = TakeLoaded(s, fresh, info, path, previewing);
        // The load's scratch memory (the file's inflated blocks, the old
        // dictionary) is back in malloc's free lists, spread over the arenas
        // of the threads that used it: its pages go back to the system.
        ::malloc_trim(0);
        return taken;
    }

    if (fresh != nullptr) DB_DestroyHandle(fresh);
    c_.ReportEngineError(TextId::MSG_CANT_LOAD_DICTIONARY, path, failure.c_str());
    // A failed load leaves the slot as it was.
    if (s.loaded()) c_.view().EnableSlotControls(id, true);
    if (!s.loaded() && previewing) {
        c_.ClearSlotViews(id);
        c_.view().EnableSlotControls(id, false);
        // What the window showed of the dictionary meanwhile goes too.
        s.SetInfo(DICTIONARY_INFO{});
        s.SetPath("");
    }
    c_.view().EnableMenus(true);
    c_.Retitle();
    if (!s.loaded()) c_.view().RefreshView(id, s);
    return false;
}

bool DictionaryJobs::TakeLoaded(DictionarySlot& s, DB_HANDLE fresh, const DICTIONARY_INFO& info,
                                const std::string& path, bool image_answers) {
    const SlotId id = s.id();
    // The lists show words of the old dictionary: empty them before its
    // handle goes. The image's answers at start live in the image's own
    // arrays, and the window keeps showing them, as they are, until the
    // search of the loaded dictionary replaces them.
    if (!image_answers) c_.ClearSlotViews(id);
    if (id == SlotId::kMain && c_.dual_slot().loaded()) {
        // Linked dual lists were filled from the old main translations.
        c_.ClearSlotViews(SlotId::kDual);
    }
    s.SetInfo(info);
    s.SetPath(path);
    s.ReplaceHandle(fresh);
    bool sized = true;
    try {
        s.SizeResultArrays();
    } catch (const std::bad_alloc&) {
        sized = false;
    }
    if (!sized) {
        c_.ReportMemoryError();
        s.Close();
    } else {
        c_.view().EnableSlotControls(id, true);
        bool font_warning = false;
        s.ReadSettings(c_.fonts(), &font_warning);
        if (font_warning) {
            c_.view().MessageBox(UiText(TextId::MSG_NO_FONT_WARNING), UiText(TextId::MSG_WARNING),
                                 kMbOk | kMbIconExclamation);
        }
        c_.ChangeSettings([](SearchOptions& o, DictionaryState&) { o.edit_mode = false; });
        c_.view().SetEditModeOff();
        // The spelling dictionaries load on threads of their own meanwhile.
        WordFormJobs::PreloadSpellers(s);
    }
    c_.view().EnableMenus(true);
    c_.Retitle();
    c_.view().RefreshView(id, s);
    // The next start answers from the file's look-up image while it loads.
    if (sized) c_.image_writer().Request(path);
    return sized;
}

void DictionaryJobs::LoadMain(const std::string& path) {
    if (!LoadIntoSlot(c_.main_slot(), path)) return;
    const std::string name = c_.main_slot().file_name();
    c_.ChangeSettings([&](SearchOptions&, DictionaryState& state) { state.current = name; });
}

void DictionaryJobs::LoadDual(const std::string& path) {
    if (!c_.main_slot().loaded()) {
        c_.view().Beep();
        c_.view().MessageBox(UiText(TextId::MSG_PLEASE_LOAD_DICTIONARY_FIRST),
                             UiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop);
    } else {
        LoadIntoSlot(c_.dual_slot(), path);
    }
    const bool on = c_.dual_slot().loaded() && c_.main_slot().loaded();
    const std::string dual_name = c_.dual_slot().file_name();
    c_.ChangeSettings([&](SearchOptions& o, DictionaryState& state) {
        o.dual_mode = on;
        state.dual = on;
        if (on) state.dual_name = dual_name;
    });
    c_.view().SetDualModeState(on);
    c_.Retitle();
}

void DictionaryJobs::CloseDual() {
    c_.ClearSlotViews(SlotId::kDual);
    c_.ClearEdit(SlotId::kDual, ListSide::kPrimary);
    c_.ClearEdit(SlotId::kDual, ListSide::kSecondary);
    if (c_.dual_slot().loaded()) {
        c_.dual_slot().WriteSettings();
        c_.dual_slot().Close();
    }
    c_.ChangeSettings([](SearchOptions& o, DictionaryState& state) {
        o.dual_mode = false;
        state.dual = false;
    });
    c_.Retitle();
}

bool DictionaryJobs::Save(DictionarySlot& s, const std::string& path) {
    if (!s.loaded()) return false;
    if (!path.empty()) s.SetPath(path);
    c_.view().SetStatus(Labelled(TextId::MSG_SAVING, s.file_name()));
    c_.view().BeginProgress(s.handle());
    const DB_RESULT* r = DB_Save(s.handle(), DB_FORMAT_V03_SAVE, s.path().c_str());
    const bool ok = r->status != 0;
    const std::string message = r->message;
    c_.view().EndProgress();
    if (!ok) {
        c_.ReportEngineError(TextId::MSG_DICTIONARY_SAVING_ERROR, s.path(), message.c_str());
        return false;
    }
    s.WriteSettings();
    c_.image_writer().Request(s.path());
    c_.view().MessageBox(UiText(TextId::MSG_DICTIONARY_SAVED), UiText(TextId::MSG_INFO),
                         kMbOk | kMbIconInformation);
    return true;
}

void DictionaryJobs::SaveAs() {
    if (!c_.main_slot().loaded()) return;
    const std::string chosen = c_.view().ChooseSaveFile(UiText(TextId::MSG_SAVE), kV03FilterName,
                                                        kV03Extension, c_.main_slot().path());
    if (chosen.empty()) return;
    if (Save(c_.main_slot(), chosen) && FolderOf(chosen) == c_.paths().database_dir) {
        const std::string name = c_.main_slot().file_name();
        c_.ChangeSettings([&](SearchOptions&, DictionaryState& state) { state.current = name; });
    }
}

void DictionaryJobs::SaveAndClose() {
    // The window closes only when the dictionary is safely written; a failed
    // save was reported and leaves the window open with its changes.
    if (!Save(c_.main_slot(), "")) return;
    c_.saved_while_closing().store(true);
    c_.view().CloseMainWindow();
}

void DictionaryJobs::Resort(int lists) {
    if (!c_.main_slot().loaded()) return;
    if (!c_.main_slot().RefreshInfo()) return;
    // Re-sorting moves the words the lists point to.
    c_.ClearSlotViews(SlotId::kMain);
    for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        const int bit = side == ListSide::kPrimary ? 1 : 2;
        if ((lists & bit) == 0) continue;
        const std::uint32_t locale = c_.main_slot().Locale(side);
        std::string language = std::to_string(locale);
        for (const platform::LocaleEntry& e : platform::InstalledLocales()) {
            if (e.lcid == locale) language = e.name;
        }
        const TextId label =
            side == ListSide::kPrimary ? TextId::MSG_PRIMARY_LIST : TextId::MSG_SECONDARY_LIST;
        c_.view().SetStatus(std::string(UiText(TextId::MSG_RESORTING)) + " - " + UiText(label) +
                            ": " + language);
        c_.view().BeginProgress(c_.main_slot().handle());
        const DB_RESULT* r = DB_ResortList(c_.main_slot().handle(), EngineList(side), locale);
        const bool ok = r->status != 0;
        const std::string message = r->message;
        c_.view().EndProgress();
        if (!ok) {
            c_.ReportEngineError(TextId::MSG_RESORTING_ERROR, "", message.c_str());
            break;
        }
    }
    c_.main_slot().RefreshInfo();
    c_.Retitle();
    c_.view().RefreshView(SlotId::kMain, c_.main_slot());
}

void DictionaryJobs::Export(int format, const std::string& path) {
    if (!c_.main_slot().loaded()) return;
    c_.view().SetStatus(Labelled(TextId::MSG_SAVING, FileNameOf(path)));
    c_.view().BeginProgress(c_.main_slot().handle());
    std::string done = UiText(TextId::MSG_DICTIONARY_EXPORTED);
    bool ok = false;
    std::string message;
    if (const auto travelling = exchange::FormatOfNumber(format)) {
        // In the direction the window shows.
        const int direction = c_.main_slot().primary_to_secondary() ? DB_TRANS_PRIMARY_TO_SECONDARY
                                                                    : DB_TRANS_SECONDARY_TO_PRIMARY;
        exchange::WriteReport report;
        ok = exchange::ExportDictionary(c_.main_slot().handle(), *travelling, direction, path,
                                        &report, &message);
        done += "\n\n" + std::to_string(report.words) + " " + UiText(TextId::MSG_WORDS);
        if (report.left_out > 0) {
            done += "\n" + Labelled(TextId::MSG_WORDS_LEFT_OUT, std::to_string(report.left_out));
        }
        if (report.inexact > 0) {
            done += "\n" + Labelled(TextId::MSG_TRANSLATIONS_READ_BACK_OTHERWISE,
                                    std::to_string(report.inexact));
        }
    } else {
        const DB_RESULT* r = DB_Save(c_.main_slot().handle(), format, path.c_str());
        ok = r->status != 0;
        message = r->message;
    }
    c_.view().EndProgress();
    if (ok) {
        c_.view().MessageBox(done, UiText(TextId::MSG_INFO), kMbOk | kMbIconInformation);
    } else {
        c_.ReportEngineError(TextId::MSG_DICTIONARY_SAVING_ERROR, path, message.c_str());
    }
}

void DictionaryJobs::Update(int format, const std::string& path) {
    if (!c_.main_slot().loaded()) return;
    c_.view().EnableSlotControls(SlotId::kMain, false);
    const std::string question = std::string(UiText(TextId::MSG_DO_YOU_WANT_TO_UPDATE)) + "\n\n" +
                                 c_.main_slot().ListNameUtf8(c_.main_slot().source_side()) + " - " +
                                 c_.main_slot().ListNameUtf8(c_.main_slot().target_side()) +
                                 "\n\n" + UiText(TextId::MSG_WITH_FILE) + ":\n\n" + path;
    if (c_.view().MessageBox(question, UiText(TextId::MSG_UPDATE_DICTIONARY_QUESTION),
                             kMbYesNoCancel | kMbIconQuestion) != kIdYes) {
        c_.view().EnableSlotControls(SlotId::kMain, true);
        return;
    }
    c_.view().SetStatus(Labelled(TextId::MSG_UPDATING, FileNameOf(path)));
    // The merge adds words: nothing may show the lists while it runs.
    c_.ClearSlotViews(SlotId::kMain);
    if (c_.dual_slot().loaded()) c_.ClearSlotViews(SlotId::kDual);
    c_.view().BeginProgress(c_.main_slot().handle());
    const int direction = c_.main_slot().primary_to_secondary() ? DB_TRANS_PRIMARY_TO_SECONDARY
                                                                : DB_TRANS_SECONDARY_TO_PRIMARY;
    // A merge stopped half-way would still answer success: let no new search
    // stop this one.
    c_.main_slot().ProtectLoop(true);
    const DB_RESULT* r = DB_Update(c_.main_slot().handle(), direction, format, path.c_str());
    c_.main_slot().ProtectLoop(false);
    const bool ok = r->status != 0;
    const int added = r->added;
    const std::string message = r->message;
    c_.view().EndProgress();
    if (!ok) {
        c_.ReportEngineError(TextId::MSG_DICTIONARY_UPDATING_ERROR, path, message.c_str());
    } else if (!c_.main_slot().RefreshInfo()) {
        c_.ReportEngineError(TextId::MSG_DICTIONARY_UPDATING_ERROR, path,
                             DB_GetLastErrorMessage(c_.main_slot().handle()));
    } else {
        bool sized = true;
        try {
            c_.main_slot().SizeResultArrays();
        } catch (const std::bad_alloc&) {
            sized = false;
        }
        if (sized) {
            c_.view().MessageBox(std::string(UiText(TextId::MSG_DICTIONARY_UPDATED)) + "\n\n" +
                                     UiText(TextId::MSG_ADDED_TRANSLATIONS) + ": " +
                                     std::to_string(added),
                                 UiText(TextId::MSG_INFORMATION), kMbOk | kMbIconInformation);
        } else {
            c_.ReportMemoryError();
            LoadIntoSlot(c_.main_slot(), c_.main_slot().path());
        }
    }
    c_.view().RefreshView(SlotId::kMain, c_.main_slot());
    c_.view().EnableSlotControls(SlotId::kMain, true);
}

}  // namespace wordbay
