#include "app/merging_save.h"

#include <malloc.h>

#include <cstdlib>
#include <new>
#include <optional>

#include "app/file_watch.h"
#include "app/message_box_style.h"
#include "app/save_merge.h"
#include "platform/code_page.h"

namespace wordbay {
namespace {

// How many of the words changed by both the question names.
constexpr std::size_t kWordsNamed = 8;

// The file `path` names, links followed ("" when none).
std::string RealPathOf(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return {};
    std::string result = real;
    std::free(real);
    return result;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    const std::string real = RealPathOf(a);
    return a == b || (!real.empty() && real == RealPathOf(b));
}

bool MainBeingEdited(const Dictionaries& d, const SharedSettings& settings) {
    const DictionarySlot& main = d.main();
    return settings.options().edit_mode || !main.file().journal().empty() ||
           (main.loaded() && DB_IsChanged(main.handle()) != 0);
}

bool MergingSave::Write(DB_HANDLE db, const std::string& path) {
    p_.report->SetStatus(std::string(UiText(TextId::MSG_SAVING)) + ": " + FileNameOf(path));
    p_.report->BeginProgress(db);
    const DB_RESULT* r = DB_Save(db, DB_FORMAT_V03_SAVE, path.c_str());
    const bool ok = r->status != 0;
    const std::string message = r->message;
    p_.report->EndProgress();
    if (!ok) p_.report->EngineError(TextId::MSG_DICTIONARY_SAVING_ERROR, path, message.c_str());
    return ok;
}

void MergingSave::Written(DictionarySlot& s) {
    s.file().SetDiskState(ReadDiskState(s.path()));
    s.file().journal().Clear();
    s.file().set_changed_on_disk(false);
    s.WriteSettings();
    p_.image_writer->Request(s.path());
}

bool MergingSave::Overwrite(DictionarySlot& s) {
    if (!Write(s.handle(), s.path())) return false;
    Written(s);
    p_.report->ShowMessage(UiText(TextId::MSG_DICTIONARY_SAVED), UiText(TextId::MSG_INFO),
                           kMbOk | kMbIconInformation);
    return true;
}

bool MergingSave::SaveAs(DictionarySlot& s, const std::string& path) {
    s.SetPath(path);
    if (!Write(s.handle(), path)) return false;
    Written(s);
    if (s.id() == SlotId::kMain && FolderOf(path) == p_.paths->database_dir) {
        const std::string name = s.file_name();
        p_.settings->Change([&](SearchOptions&, DictionaryState& state) { state.current = name; });
    }
    p_.report->Retitle();
    p_.report->ShowMessage(UiText(TextId::MSG_DICTIONARY_SAVED), UiText(TextId::MSG_INFO),
                           kMbOk | kMbIconInformation);
    return true;
}

std::shared_ptr<EngineHandle> MergingSave::LoadCurrent(const std::string& path,
                                                       platform::FileLock* lock,
                                                       std::string* failure) {
    // The load closes the file, which lets go of this process's lock: it is
    // taken again after the load, and a file replaced in between is loaded
    // again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        auto fresh = std::make_shared<EngineHandle>();
        if (fresh->get() == nullptr) {
            *failure = UiText(TextId::MSG_CANTGETHANDLE_ERROR);
            return nullptr;
        }
        p_.report->BeginProgress(fresh->get());
        const DB_RESULT* r = DB_Load(fresh->get(), DB_FORMAT_V03_LOAD, path.c_str(), 0, 0);
        p_.report->EndProgress();
        if (r->status == 0) {
            *failure = r->message;
            return nullptr;
        }
        bool unchanged = false;
        if (lock->Reacquire(&unchanged) == platform::OpenResult::kBusy) break;
        if (unchanged) return fresh;
    }
    *failure = "Can't lock file for writing";
    return nullptr;
}

std::string MergingSave::WordsForMessage(const DictionarySlot& s,
                                         const std::vector<WordRef>& words) const {
    std::string text;
    for (std::size_t i = 0; i < words.size() && i < kWordsNamed; ++i) {
        if (i > 0) text += ", ";
        text += platform::DecodeToUtf8(s.CodePage(words[i].side), words[i].text);
    }
    if (words.size() > kWordsNamed) text += ", ...";
    return text;
}

void MergingSave::Save(DictionarySlot& s, SaveDone done) {
    const std::string path = s.path();
    // The file lock belongs to the process: the image writer's load, which
    // closes the file, would let it go. It finishes first.
    p_.image_writer->WaitIdle();
    platform::FileLock lock;
    // The state of the file now, read with the file locked against other
    // writers (reading it lets go of the lock, which is then taken again). A
    // writer that keeps it locked past the wait makes the save fail with the
    // engine's message, as any save does.
    const DiskState loaded = s.file().disk_state();
    DiskState now = loaded;
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (lock.Acquire(path.c_str()) == platform::OpenResult::kBusy) break;
        now = ReadDiskState(path);
        bool unchanged = false;
        if (lock.Reacquire(&unchanged) == platform::OpenResult::kBusy || unchanged) break;
    }
    // A file that is gone, or one this slot never read, has nothing to keep.
    if (now == loaded || !now.stamp.exists || !loaded.stamp.exists) {
        const bool saved = Overwrite(s);
        if (done) done(saved);
        return;
    }
    SaveMerged(s, &lock, std::move(done));
}

void MergingSave::SaveMerged(DictionarySlot& s, platform::FileLock* lock, SaveDone done) {
    const std::string path = s.path();
    std::string failure;
    std::shared_ptr<EngineHandle> fresh =
        s.file().journal().mergeable() ? LoadCurrent(path, lock, &failure) : nullptr;
    if (fresh == nullptr) {
        // The other program's file can't be read, or the edits can't be
        // replayed: only the user can say what is to become of it.
        lock->Release();
        AskAndSave(s, {}, std::move(done));
        return;
    }
    const MergeReport report = MergeEdits(fresh->get(), s.file().journal());
    if (report.outcome != MergeReport::Outcome::kMerged) {
        lock->Release();
        if (report.outcome == MergeReport::Outcome::kFailed) {
            p_.report->EngineError(TextId::MSG_DICTIONARY_SAVING_ERROR, path,
                                   report.message.c_str());
            if (done) done(false);
            return;
        }
        AskAndSave(s, WordsForMessage(s, report.conflicts), std::move(done));
        return;
    }
    DICTIONARY_INFO info{};
    if (!Write(fresh->get(), path) || DB_GetDictionaryInfo(fresh->get(), &info)->status == 0) {
        if (done) done(false);
        return;
    }
    lock->Release();
    TakeKeepingPlace(std::move(fresh), info);
    Written(s);
    p_.report->ShowMessage(UiText(TextId::MSG_DICTIONARY_SAVED_MERGED), UiText(TextId::MSG_INFO),
                           kMbOk | kMbIconInformation);
    if (done) done(true);
}

void MergingSave::AskAndSave(DictionarySlot& s, const std::string& conflicts, SaveDone done) {
    const std::string path = s.path();
    std::string text = UiText(TextId::MSG_FILE_SAVED_BY_OTHER);
    if (!conflicts.empty()) {
        text += "\n\n" + std::string(UiText(TextId::MSG_CHANGED_BY_BOTH)) + " " + conflicts;
    }
    text += "\n\n" + path + "\n\n" + UiText(TextId::MSG_FILE_SAVED_BY_OTHER_CHOICES);
    const DictionaryJobs::Parts parts = p_;
    DictionarySlot* slot = &s;
    p_.questions->Ask(
        {text, UiText(TextId::MSG_FILE_SAVED_BY_OTHER_CAPTION),
         kMbYesNoCancel | kMbIconExclamation},
        [parts, slot, path, done](const Answer& answer) {
            // The slot must still hold the dictionary the question was about.
            const bool same = slot->loaded() && slot->path() == path;
            if (!same || (answer.button != kIdYes && answer.button != kIdNo)) {
                if (done) done(false);
                return;
            }
            if (answer.button == kIdNo) {
                // Overwrite: the user chose to let the other program's changes go.
                const bool saved = MergingSave(parts).Overwrite(*slot);
                if (done) done(saved);
                return;
            }
            parts.questions->ChooseSaveFile(
                {UiText(TextId::MSG_SAVE), kV03FilterName, kV03Extension, path},
                [parts, slot, path, done](const Answer& chosen) {
                    bool saved = false;
                    if (!chosen.path.empty() && slot->loaded() && slot->path() == path) {
                        MergingSave saving(parts);
                        saved = SameFile(chosen.path, path) ? saving.Overwrite(*slot)
                                                            : saving.SaveAs(*slot, chosen.path);
                    }
                    if (done) done(saved);
                });
        });
}

bool MergingSave::TakeKeepingPlace(std::shared_ptr<EngineHandle> fresh,
                                   const DICTIONARY_INFO& info) {
    Dictionaries& d = *p_.dictionaries;
    DictionarySlot& main = d.main();
    // A reader that took the old handle must not use it once it goes: the
    // replacement counts as a change unless the request is one already.
    std::optional<Dictionaries::Change> change;
    if (d.changes().load() % 2 == 0) change.emplace(d);
    // Words of the old dictionary go from every list before its handle does.
    p_.lists->ClearSlot(SlotId::kMain);
    if (d.dual().loaded()) p_.lists->ClearSlot(SlotId::kDual);
    main.SetInfo(info);
    main.ReplaceHandle(std::move(fresh));
    bool sized = true;
    try {
        for (const ListSide side : {ListSide::kPrimary, ListSide::kSecondary})
            main.ResultArray(side, main.ResultRoom(side));
    } catch (const std::bad_alloc&) {
        sized = false;
    }
    if (!sized) {
        p_.report->MemoryError();
        main.Close();
    }
    p_.report->Retitle();
    p_.panes->ShowDictionary(SlotId::kMain, true);
    // The typed text is looked up in the new dictionary, and the word that
    // was selected is selected again where it still is.
    if (sized && p_.relist_main) p_.relist_main();
    return sized;
}

void MergingSave::Reload() {
    DictionarySlot& main = p_.dictionaries->main();
    if (!main.loaded()) return;
    if (MainBeingEdited(*p_.dictionaries, *p_.settings)) {
        main.file().set_changed_on_disk(true);
        return;
    }
    const std::string path = main.path();
    const DiskState before = ReadDiskState(path);
    if (!before.stamp.exists || before == main.file().disk_state()) return;
    auto fresh = std::make_shared<EngineHandle>();
    if (fresh->get() == nullptr) return;
    DICTIONARY_INFO info{};
    p_.report->BeginProgress(fresh->get());
    const bool loaded =
        DB_Load(fresh->get(), DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status != 0 &&
        DB_GetDictionaryInfo(fresh->get(), &info)->status != 0;
    p_.report->EndProgress();
    if (!loaded) {
        // What is there now can't be read (cut short, damaged): the window
        // keeps the dictionary it has, and says that the file changed.
        if (p_.watch != nullptr) p_.watch->LoadFailed(before.stamp);
        main.file().set_changed_on_disk(true);
        return;
    }
    const bool taken = TakeKeepingPlace(std::move(fresh), info);
    // The scratch memory of the load and the old dictionary go back to the
    // system, as after any load.
    ::malloc_trim(0);
    if (!taken) return;
    main.file().SetDiskState(before);
    main.file().journal().Clear();
    main.file().set_changed_on_disk(false);
    p_.image_writer->Request(path);
}

}  // namespace wordbay
