// The start-up job (1): the first job of the worker. It waits for the
// windows, shows the start-up notice, converts the previous version's
// English-Croatian dictionary once when asked to, and opens the dictionaries
// of the last session.
#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "app/message_box_style.h"
#include "app/search_controller.h"
#include "platform/code_page.h"
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

template <std::size_t N>
void SetField(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

}  // namespace

bool SearchController::WaitForWindows() {
    while (!view_->WindowsReady()) {
        if (!worker_.running()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return true;
}

void SearchController::StartupJob() {
    if (!WaitForWindows()) return;
    DictionaryState state = dictionary_state();
    if (state.show_splash) {
        const int answer = view_->MessageBox(UiText(TextId::MSG_SPLASH),
                                             UiText(TextId::MSG_SPLASH_CAPTION),
                                             kMbYesNo | kMbIconInformation);
        std::lock_guard<std::mutex> lock(mutex_);
        state_.show_splash = answer == kIdYes;
    }
    if (state.convert_v2) {
        ConvertPreviousVersion();
        std::lock_guard<std::mutex> lock(mutex_);
        state_.convert_v2 = false;
    }
    state = dictionary_state();

    if (catalogue_->size() > 0) {
        // With no "current" dictionary yet the path is the folder itself,
        // whose load fails and leads to the chooser.
        const std::string path = state.current.empty()
                                     ? paths_.database_dir
                                     : paths_.database_dir + "/" + state.current;
        if (LoadIntoSlot(main_, path)) {
            std::lock_guard<std::mutex> lock(mutex_);
            state_.current = main_.file_name();
        }
        if (!main_.loaded()) {
            view_->OpenDictionaryChooser();
        } else if (state.dual) {
            LoadDualJob(paths_.database_dir + "/" + state.dual_name);
        }
        view_->ActivateMainWindow();
    } else {
        view_->Beep();
        view_->MessageBox(UiText(TextId::MSG_NO_DICTIONARIES_IN_DATABASE),
                          UiText(TextId::MSG_ERROR), kMbOk | kMbIconExclamation);
        view_->ActivateMainWindow();
        view_->OpenImportDialog();
    }
}

void SearchController::ConvertPreviousVersion() {
    const std::string& dir = paths_.program_dir;
    // A dictionary that an earlier first start built, and that the user may
    // have changed since, is opened rather than built again: that start ended
    // before it could write its settings.
    if (FileExists(paths_.database_dir + "/" + kConvertedFileName)) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_.current.empty()) state_.current = kConvertedFileName;
        return;
    }
    // A handle of its own: the main slot's stays empty for the load that
    // follows.
    const DB_RESULT* created = DB_CreateHandle();
    DB_HANDLE db = created->status != 0 ? created->handle : nullptr;
    if (db == nullptr) {
        view_->MessageBox(UiText(TextId::MSG_CANTGETHANDLE_ERROR), UiText(TextId::MSG_FATAL_ERROR),
                          kMbOk | kMbIconStop);
        return;
    }
    bool loaded = false;
    bool all_there = true;
    for (const char* file : kPreviousVersionFiles) all_there = all_there && FileExists(dir + "/" + file);
    if (all_there && view_->MessageBox(kConvertQuestion, kConvertQuestionCaption,
                                       kMbYesNo | kMbIconInformation) == kIdYes) {
        view_->SetStatus(kLoadingPreviousStatus);
        view_->BeginProgress(db);
        loaded = DB_Load(db, DB_FORMAT_V02_LOAD, dir.c_str(), 0, 0)->status != 0;
        view_->EndProgress();
    }
    if (!loaded) {
        view_->SetStatus(kConvertingTxtStatus);
        view_->BeginProgress(db);
        loaded = DB_Load(db, DB_FORMAT_TXT_LOAD, (dir + "/KX.txt").c_str(), kCroatian,
                         kCroatian)->status != 0;
        view_->EndProgress();
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
        view_->SetStatus(kSavingStatus);
        const std::string target = paths_.database_dir + "/" + kConvertedFileName;
        view_->BeginProgress(db);
        saved = DB_Save(db, DB_FORMAT_V03_SAVE, target.c_str())->status != 0;
        view_->EndProgress();
        if (saved) {
            catalogue_->Scan(paths_.database_dir, view_);
            std::lock_guard<std::mutex> lock(mutex_);
            state_.current = kConvertedFileName;
        }
    }
    DB_Close(db);
    DB_DestroyHandle(db);
    if (!saved) view_->MessageBox(kConvertError, kConvertErrorCaption, kMbOk | kMbIconStop);
}

}  // namespace wordbay
