#include "app/dictionary_jobs.h"

#include <malloc.h>

#include <new>

#include "app/merging_save.h"
#include "app/message_box_style.h"
#include "app/startup_trace.h"
#include "app/word_form_jobs.h"
#include "exchange/import_export.h"
#include "platform/locale.h"

namespace wordbay {
namespace {

constexpr SlotId kMain = SlotId::kMain;
constexpr SlotId kDual = SlotId::kDual;

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Labelled(TextId label, const std::string& value) {
    return std::string(UiText(label)) + ": " + value;
}

}  // namespace

void DictionaryJobs::LoadIntoSlot(DictionarySlot& s, const std::string& path, LoadDone done) {
    p_.settings->SetSavedWhileClosing(false);
    if (s.loaded()) s.WriteSettings();
    p_.window->EnableMenus(false);
    // While the look-up image answers, the user may type during the load.
    const bool previewing = s.id() == kMain && p_.image->answering();
    if (!previewing) p_.panes->EnableSlotControls(s.id(), false);
    if (s.id() != kMain || !s.loaded() || DB_IsChanged(s.handle()) == 0) {
        const bool ok = LoadFile(s, path, previewing);
        if (done) done(ok);
        return;
    }
    p_.questions->Ask({UiText(TextId::MSG_SAVE_CHANGED_DICTIONARY), UiText(TextId::MSG_SAVE),
                       kMbYesNoCancel | kMbIconQuestion},
                      [this, &s, path, previewing, done](const Answer& answer) {
                          const auto load = [this, &s, path, previewing, done] {
                              const bool ok = LoadFile(s, path, previewing);
                              if (done) done(ok);
                          };
                          if (answer.button == kIdNo) return load();
                          if (answer.button != kIdYes) return Abandon(s, previewing, done);
                          // The changes go only once they are saved: a save
                          // cancelled or failed keeps the dictionary open.
                          Save(s, "", [this, &s, previewing, done, load](bool saved) {
                              if (saved) return load();
                              Abandon(s, previewing, done);
                          });
                      });
}

bool DictionaryJobs::LoadFile(DictionarySlot& s, const std::string& path, bool previewing) {
    p_.report->SetStatus(Labelled(TextId::MSG_LOADING, FileNameOf(path)));
    // The file as it is before the load: one saved again while it loads is
    // taken for changed, and a save merges with it.
    const DiskState disk_state = ReadDiskState(path);
    auto fresh = std::make_shared<EngineHandle>();
    std::string failure;
    DICTIONARY_INFO info{};
    bool ok = false;
    if (fresh->get() == nullptr) {
        failure = UiText(TextId::MSG_CANTGETHANDLE_ERROR);
    } else {
        p_.report->BeginProgress(fresh->get());
        StartupMark("engine load begins");
        const DB_RESULT* r = DB_Load(fresh->get(), DB_FORMAT_V03_LOAD, path.c_str(), 0, 0);
        StartupMark("engine load ended");
        p_.report->EndProgress();
        ok = r->status != 0;
        if (ok) r = DB_GetDictionaryInfo(fresh->get(), &info);
        ok = r->status != 0;
        if (!ok) failure = r->message;
    }
    // From here on the dictionary, or its absence, answers; the image's
    // answers go before the lists are emptied.
    if (s.id() == kMain) p_.image->Stop();
    if (ok) {
        s.file().SetDiskState(disk_state);
        s.file().journal().Clear();
        s.file().set_changed_on_disk(false);
        const bool taken = TakeLoaded(s, std::move(fresh), info, path, previewing);
        // The load's scratch memory (the file's inflated blocks, the old
        // dictionary) is back in malloc's free lists, spread over the arenas
        // of the threads that used it: its pages go back to the system.
        ::malloc_trim(0);
        return taken;
    }
    p_.report->EngineError(TextId::MSG_CANT_LOAD_DICTIONARY, path, failure.c_str());
    KeepAfterFailure(s, previewing);
    return false;
}

void DictionaryJobs::KeepAfterFailure(DictionarySlot& s, bool previewing) {
    const SlotId id = s.id();
    if (s.loaded()) p_.panes->EnableSlotControls(id, true);
    if (!s.loaded() && previewing) {
        p_.lists->ClearSlot(id);
        p_.panes->EnableSlotControls(id, false);
        // What the window showed of the dictionary meanwhile goes too.
        s.SetInfo(DICTIONARY_INFO{});
        s.SetPath("");
    }
    p_.window->EnableMenus(true);
    p_.report->Retitle();
    if (!s.loaded()) p_.panes->ShowDictionary(id, true);
}

void DictionaryJobs::Abandon(DictionarySlot& s, bool previewing, const LoadDone& done) {
    KeepAfterFailure(s, previewing);
    if (done) done(false);
}

bool DictionaryJobs::SizeResults(DictionarySlot& s) {
    try {
        for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary})
            s.ResultArray(side, s.ResultRoom(side));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool DictionaryJobs::TakeLoaded(DictionarySlot& s, std::shared_ptr<EngineHandle> fresh,
                                const DICTIONARY_INFO& info, const std::string& path,
                                bool image_answers) {
    const SlotId id = s.id();
    // The lists show words of the old dictionary, which lives on while they
    // do. The image's answers at start live in the image's own arrays, and
    // the window keeps showing them, as they are, until the search of the
    // loaded dictionary replaces them.
    if (!image_answers) p_.lists->ClearSlot(id);
    // Linked dual lists were filled from the old main translations.
    if (id == kMain && p_.dictionaries->dual().loaded()) p_.lists->ClearSlot(kDual);
    s.SetInfo(info);
    s.SetPath(path);
    s.ReplaceHandle(std::move(fresh));
    const bool sized = SizeResults(s);
    if (!sized) {
        p_.report->MemoryError();
        s.Close();
    } else {
        p_.panes->EnableSlotControls(id, true);
        bool font_warning = false;
        s.ReadSettings(*p_.fonts, &font_warning);
        if (font_warning) {
            p_.report->ShowMessage(UiText(TextId::MSG_NO_FONT_WARNING), UiText(TextId::MSG_WARNING),
                                   kMbOk | kMbIconExclamation);
        }
        p_.settings->Change([](SearchOptions& o, DictionaryState&) { o.edit_mode = false; });
        p_.window->EditModeOff();
        // The spelling dictionaries load on threads of their own meanwhile.
        WordFormJobs::PreloadSpellers(s);
    }
    p_.window->EnableMenus(true);
    p_.report->Retitle();
    p_.panes->ShowDictionary(id, true);
    if (!sized) return false;
    // The next start answers from the file's look-up image while it loads.
    p_.image_writer->Request(path);
    if (p_.loaded) p_.loaded(id);
    return true;
}

void DictionaryJobs::LoadMain(const std::string& path, LoadDone done) {
    LoadIntoSlot(p_.dictionaries->main(), path, [this, done](bool ok) {
        if (ok) {
            const std::string name = p_.dictionaries->main().file_name();
            p_.settings->Change(
                [&](SearchOptions&, DictionaryState& state) { state.current = name; });
        }
        if (done) done(ok);
    });
}

void DictionaryJobs::LoadDual(const std::string& path) {
    Dictionaries& d = *p_.dictionaries;
    if (!d.main().loaded()) {
        p_.report->Beep();
        p_.report->ShowMessage(UiText(TextId::MSG_PLEASE_LOAD_DICTIONARY_FIRST),
                               UiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop);
    } else {
        // A dual load asks nothing: only the main dictionary is edited.
        LoadIntoSlot(d.dual(), path, {});
    }
    const bool on = d.dual().loaded() && d.main().loaded();
    const std::string dual_name = d.dual().file_name();
    p_.settings->Change([&](SearchOptions& o, DictionaryState& state) {
        o.dual_mode = on;
        state.dual = on;
        if (on) state.dual_name = dual_name;
    });
    p_.window->DualModeChanged(on);
    p_.report->Retitle();
}

void DictionaryJobs::CloseDual() {
    DictionarySlot& dual = p_.dictionaries->dual();
    p_.lists->ClearSlot(kDual);
    p_.lists->ClearEdit(kDual, ListSide::kPrimary);
    p_.lists->ClearEdit(kDual, ListSide::kSecondary);
    if (dual.loaded()) {
        dual.WriteSettings();
        dual.Close();
    }
    p_.settings->Change([](SearchOptions& o, DictionaryState& state) {
        o.dual_mode = false;
        state.dual = false;
    });
    p_.report->Retitle();
}

void DictionaryJobs::Save(DictionarySlot& s, const std::string& path, SaveDone done) {
    if (!s.loaded()) {
        if (done) done(false);
        return;
    }
    MergingSave saving(p_);
    if (!path.empty() && !SameFile(path, s.path())) {
        const bool saved = saving.SaveAs(s, path);
        if (done) done(saved);
        return;
    }
    // Over its own file the save keeps what another program saved there.
    saving.Save(s, std::move(done));
}

void DictionaryJobs::SaveAs() {
    DictionarySlot& main = p_.dictionaries->main();
    if (!main.loaded()) return;
    p_.questions->ChooseSaveFile(
        {UiText(TextId::MSG_SAVE), kV03FilterName, kV03Extension, main.path()},
        [this](const Answer& answer) {
            DictionarySlot& slot = p_.dictionaries->main();
            if (answer.path.empty() || !slot.loaded()) return;
            Save(slot, answer.path);
        });
}

void DictionaryJobs::SaveAndClose() {
    // The window closes only when the dictionary is safely written; a failed
    // or cancelled save leaves the window open with its changes.
    Save(p_.dictionaries->main(), "", [this](bool saved) {
        if (!saved) return;
        p_.settings->SetSavedWhileClosing(true);
        p_.window->CloseMainWindow();
    });
}

void DictionaryJobs::ReloadMain() { MergingSave(p_).Reload(); }

void DictionaryJobs::Resort(int lists) {
    DictionarySlot& main = p_.dictionaries->main();
    if (!main.loaded()) return;
    if (!main.RefreshInfo()) return;
    // Re-sorting moves the words the lists point to.
    p_.lists->ClearSlot(kMain);
    for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary}) {
        const int bit = side == ListSide::kPrimary ? 1 : 2;
        if ((lists & bit) == 0) continue;
        const std::uint32_t locale = main.Locale(side);
        std::string language = std::to_string(locale);
        for (const platform::LocaleEntry& e : platform::InstalledLocales()) {
            if (e.lcid == locale) language = e.name;
        }
        const TextId label =
            side == ListSide::kPrimary ? TextId::MSG_PRIMARY_LIST : TextId::MSG_SECONDARY_LIST;
        p_.report->SetStatus(std::string(UiText(TextId::MSG_RESORTING)) + " - " + UiText(label) +
                             ": " + language);
        p_.report->BeginProgress(main.handle());
        main.file().journal().Resort(side, locale);
        const DB_RESULT* r = DB_ResortList(main.handle(), EngineList(side), locale);
        const bool ok = r->status != 0;
        if (r->status != 2) main.file().journal().Drop();
        const std::string message = r->message;
        p_.report->EndProgress();
        if (!ok) {
            p_.report->EngineError(TextId::MSG_RESORTING_ERROR, "", message.c_str());
            break;
        }
    }
    main.RefreshInfo();
    p_.report->Retitle();
    p_.panes->ShowDictionary(kMain, true);
}

void DictionaryJobs::Export(int format, const std::string& path) {
    DictionarySlot& main = p_.dictionaries->main();
    if (!main.loaded()) return;
    p_.report->SetStatus(Labelled(TextId::MSG_SAVING, FileNameOf(path)));
    p_.report->BeginProgress(main.handle());
    std::string done = UiText(TextId::MSG_DICTIONARY_EXPORTED);
    bool ok = false;
    std::string message;
    if (const auto travelling = exchange::FormatOfNumber(format)) {
        // In the direction the window shows.
        const int direction = main.primary_to_secondary() ? DB_TRANS_PRIMARY_TO_SECONDARY
                                                          : DB_TRANS_SECONDARY_TO_PRIMARY;
        exchange::WriteReport report;
        ok = exchange::ExportDictionary(main.handle(), *travelling, direction, path, &report,
                                        &message);
        done += "\n\n" + std::to_string(report.words) + " " + UiText(TextId::MSG_WORDS);
        if (report.left_out > 0) {
            done += "\n" + Labelled(TextId::MSG_WORDS_LEFT_OUT, std::to_string(report.left_out));
        }
        if (report.inexact > 0) {
            done += "\n" + Labelled(TextId::MSG_TRANSLATIONS_READ_BACK_OTHERWISE,
                                    std::to_string(report.inexact));
        }
    } else {
        const DB_RESULT* r = DB_Save(main.handle(), format, path.c_str());
        ok = r->status != 0;
        message = r->message;
    }
    p_.report->EndProgress();
    if (ok) {
        p_.report->ShowMessage(done, UiText(TextId::MSG_INFO), kMbOk | kMbIconInformation);
    } else {
        p_.report->EngineError(TextId::MSG_DICTIONARY_SAVING_ERROR, path, message.c_str());
    }
}

void DictionaryJobs::Update(int format, const std::string& path) {
    DictionarySlot& main = p_.dictionaries->main();
    if (!main.loaded()) return;
    p_.panes->EnableSlotControls(kMain, false);
    p_.report->SetStatus(Labelled(TextId::MSG_UPDATING, FileNameOf(path)));
    // The merge adds words: nothing may show the lists while it runs (the
    // window emptied them when it asked for the update).
    p_.lists->ClearSlot(kMain);
    if (p_.dictionaries->dual().loaded()) p_.lists->ClearSlot(kDual);
    p_.report->BeginProgress(main.handle());
    const int direction =
        main.primary_to_secondary() ? DB_TRANS_PRIMARY_TO_SECONDARY : DB_TRANS_SECONDARY_TO_PRIMARY;
    // A merge stopped half-way would still answer success: let no search stop
    // this one.
    main.ProtectLoop(true);
    const DB_RESULT* r = DB_Update(main.handle(), direction, format, path.c_str());
    main.ProtectLoop(false);
    const bool ok = r->status != 0;
    const int added = r->added;
    const std::string message = r->message;
    // What the merge added can't be replayed pair by pair on a file that
    // another program saves meanwhile.
    if (!ok || added > 0) main.file().journal().MarkUnmergeable();
    p_.report->EndProgress();
    if (!ok) {
        p_.report->EngineError(TextId::MSG_DICTIONARY_UPDATING_ERROR, path, message.c_str());
    } else if (!main.RefreshInfo()) {
        p_.report->EngineError(TextId::MSG_DICTIONARY_UPDATING_ERROR, path,
                               DB_GetLastErrorMessage(main.handle()));
    } else if (SizeResults(main)) {
        p_.report->ShowMessage(std::string(UiText(TextId::MSG_DICTIONARY_UPDATED)) + "\n\n" +
                                   UiText(TextId::MSG_ADDED_TRANSLATIONS) + ": " +
                                   std::to_string(added),
                               UiText(TextId::MSG_INFORMATION), kMbOk | kMbIconInformation);
    } else {
        // The lists can't grow with the dictionary: it is opened afresh.
        p_.report->MemoryError();
        LoadIntoSlot(main, main.path(), [this](bool) {
            p_.panes->ShowDictionary(kMain, true);
            p_.panes->EnableSlotControls(kMain, true);
        });
        return;
    }
    p_.panes->ShowDictionary(kMain, true);
    p_.panes->EnableSlotControls(kMain, true);
}

}  // namespace wordbay
