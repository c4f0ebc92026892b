#include "app/startup_job.h"

#include <pwd.h>
#include <unistd.h>

#include <cstring>
#include <exception>
#include <system_error>
#include <thread>

#include "app/engine_handle.h"
#include "app/message_box_style.h"
#include "app/startup_trace.h"
#include "app/thread_priority.h"
#include "platform/code_page.h"
#include "platform/file_writer.h"
#include "platform/locale.h"

namespace wordbay {
namespace {

// The conversion speaks Croatian whatever the interface language: it only
// ever runs for the Croatian edition's dictionary.
constexpr char kConvertQuestion[] =
    "Pronađena je prethodna verzija Englesko-hrvatskog rječnika.\n\n"
    "Promjene koje ste u njoj napravili (dodani ili obrisani prijevodi) mogu se "
    "zadržati: rječnik će biti pretvoren u novi format.\n"
    "Ako odgovorite s Ne, koristit će se rječnik koji dolazi s programom.\n\n"
    "Želite li koristiti prethodnu verziju rječnika?";
constexpr char kConvertQuestionCaption[] = "Prethodna verzija rječnika";
constexpr char kLoadingPreviousStatus[] = "Učitavam prethodnu verziju rječnika ...";
constexpr char kConvertingTxtStatus[] = "Konvertiram KX.TXT ...";
constexpr char kSavingStatus[] = "Spremam rječnik ...";
constexpr char kDictionaryName[] = "Englesko-hrvatski rječnik";
constexpr char kDictionaryDescription[] = "Dvosmjerni englesko-hrvatski rječnik";
constexpr char kConvertError[] =
    "Rječnik nije moguće učitati!\n\n"
    "Program ne može uvesti datoteku KX.txt.\n"
    "Pokušajte ručno uvesti datoteku KX.txt (Uvoz rječnika).";
constexpr char kConvertErrorCaption[] = "Greška !";

constexpr char kConvertedFileName[] = "Engleski_Hrvatski.v03";
constexpr std::uint32_t kCroatian = 1050;
constexpr std::uint32_t kEastEuropeanCharset = 238;

constexpr const char* kPreviousVersionFiles[] = {"ehp.v02", "ehr.v02", "eng.v02",
                                                 "hep.v02", "her.v02", "hrv.v02"};

bool FileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// How much the load at start gives way to the window while the look-up image
// answers (added to the nice value: the load gets about a third of the
// window's share of a busy processor).
constexpr int kLoadGivingWay = 5;

// The user's login name, at most 99 characters; "User" when it can't be had.
std::string UserName() {
    std::string name;
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_name != nullptr) {
        name = pw->pw_name;
    } else if (const char* login = getlogin(); login != nullptr) {
        name = login;
    }
    if (name.empty()) name = "User";
    return name.substr(0, 99);
}

}  // namespace

void StartupJob::Run() {
    StartupMark("start-up job begins");
    if (!settings_->dictionary_state().show_splash) {
        Convert();
        return;
    }
    questions_->Ask({UiText(TextId::MSG_SPLASH), UiText(TextId::MSG_SPLASH_CAPTION),
                     kMbYesNo | kMbIconInformation},
                    [this](const Answer& answer) {
                        settings_->Change([&](SearchOptions&, DictionaryState& s) {
                            s.show_splash = answer.button == kIdYes;
                        });
                        Convert();
                    });
}

void StartupJob::Convert() {
    if (!settings_->dictionary_state().convert_v2) {
        OpenDictionaries();
        return;
    }
    const auto done = [this] {
        settings_->Change([](SearchOptions&, DictionaryState& s) { s.convert_v2 = false; });
        OpenDictionaries();
    };
    const std::string& dir = paths_->program_dir;
    // A dictionary that an earlier first start built, and that the user may
    // have changed since, is opened rather than built again: that start ended
    // before it could write its settings.
    if (FileExists(paths_->database_dir + "/" + kConvertedFileName)) {
        settings_->Change([](SearchOptions&, DictionaryState& s) {
            if (s.current.empty()) s.current = kConvertedFileName;
        });
        done();
        return;
    }
    bool all_there = true;
    for (const char* file : kPreviousVersionFiles)
        all_there = all_there && FileExists(dir + "/" + file);
    if (!all_there) {
        ConvertFiles(false);
        done();
        return;
    }
    questions_->Ask({kConvertQuestion, kConvertQuestionCaption, kMbYesNo | kMbIconInformation},
                    [this, done](const Answer& answer) {
                        ConvertFiles(answer.button == kIdYes);
                        done();
                    });
}

void StartupJob::OpenDictionaries() {
    const DictionaryState state = settings_->dictionary_state();
    if (catalogue_->size() == 0) {
        report_->Beep();
        report_->ShowMessage(UiText(TextId::MSG_NO_DICTIONARIES_IN_DATABASE),
                             UiText(TextId::MSG_ERROR), kMbOk | kMbIconExclamation);
        window_->ActivateMainWindow();
        window_->OpenImportDialog();
        return;
    }
    // With no "current" dictionary yet the path is the folder itself, whose
    // load fails and leads to the chooser.
    const std::string path =
        state.current.empty() ? paths_->database_dir : paths_->database_dir + "/" + state.current;
    StartupMark("load begins");
    LoadMain(path);
    StartupMark("load ended");
    if (!d_->main().loaded()) {
        window_->OpenDictionaryChooser();
    } else if (state.dual) {
        jobs_->LoadDual(paths_->database_dir + "/" + state.dual_name);
    }
    // The popup or tooltip that the hot key called meanwhile keeps the
    // user's eyes, and its place in front.
    if (!d_->main().loaded() || !image_->answered_elsewhere()) window_->ActivateMainWindow();
}

void StartupJob::LoadMain(const std::string& path) {
    // Nothing is open yet: the load asks nothing and is over on return.
    if (!image_->answering()) {
        jobs_->LoadMain(path);
        return;
    }
    // The image answers typing on the user-interface thread meanwhile: the
    // load, and the helpers it starts, run at a lower priority on a thread of
    // their own, which the worker waits for with the engine lock held. The
    // worker itself keeps its priority for the searches after.
    std::exception_ptr failure;
    std::thread load;
    try {
        load = std::thread([&] {
            LowerThisThreadsPriority(kLoadGivingWay);
            try {
                jobs_->LoadMain(path);
            } catch (...) {
                failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        jobs_->LoadMain(path);  // no thread to be had: the worker loads
        return;
    }
    load.join();
    if (failure) std::rethrow_exception(failure);
}

void StartupJob::ConvertFiles(bool use_previous) {
    const std::string& dir = paths_->program_dir;
    // A handle of its own: the main slot's stays empty for the load that
    // follows.
    const EngineHandle handle;
    const DB_HANDLE db = handle.get();
    if (db == nullptr) {
        report_->ShowMessage(UiText(TextId::MSG_CANTGETHANDLE_ERROR),
                             UiText(TextId::MSG_FATAL_ERROR), kMbOk | kMbIconStop);
        return;
    }
    bool loaded = false;
    if (use_previous) {
        report_->SetStatus(kLoadingPreviousStatus);
        report_->BeginProgress(db);
        loaded = DB_Load(db, DB_FORMAT_V02_LOAD, dir.c_str(), 0, 0)->status != 0;
        report_->EndProgress();
    }
    if (!loaded) {
        report_->SetStatus(kConvertingTxtStatus);
        report_->BeginProgress(db);
        loaded = DB_Load(db, DB_FORMAT_TXT_LOAD, (dir + "/KX.txt").c_str(), kCroatian, kCroatian)
                     ->status != 0;
        report_->EndProgress();
    }
    bool saved = false;
    DICTIONARY_INFO info{};
    if (loaded && DB_GetDictionaryInfo(db, &info)->status != 0) {
        // The description is stored in the lists' code page.
        const std::uint32_t code_page = platform::CodePageOf(kCroatian);
        SetField(info.name, platform::EncodeFromUtf8(code_page, kDictionaryName));
        SetField(info.description, platform::EncodeFromUtf8(code_page, kDictionaryDescription));
        SetField(info.author, UserName());
        SetField(info.primary_list_name, "Engleski");
        SetField(info.secondary_list_name, "Hrvatski");
        info.primary_charset = kEastEuropeanCharset;
        info.secondary_charset = kEastEuropeanCharset;
        DB_SetDictionaryInfo(db, &info);
        report_->SetStatus(kSavingStatus);
        const std::string target = paths_->database_dir + "/" + kConvertedFileName;
        // Another copy of the program may have built the dictionary meanwhile
        // (the user may even have changed it): what is there is opened, and
        // never replaced. The lock waits for a writer still at it.
        platform::FileLock lock;
        const bool other_writer = lock.Acquire(target.c_str()) == platform::OpenResult::kBusy;
        if (other_writer || FileExists(target)) {
            saved = true;
        } else {
            report_->BeginProgress(db);
            saved = DB_Save(db, DB_FORMAT_V03_SAVE, target.c_str())->status != 0;
            report_->EndProgress();
        }
        if (saved) {
            catalogue_->Scan(paths_->database_dir, status_);
            settings_->Change(
                [](SearchOptions&, DictionaryState& s) { s.current = kConvertedFileName; });
        }
    }
    DB_Close(db);
    if (!saved) report_->ShowMessage(kConvertError, kConvertErrorCaption, kMbOk | kMbIconStop);
}

}  // namespace wordbay
