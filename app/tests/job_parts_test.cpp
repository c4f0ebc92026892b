// The jobs of the worker on dictionaries, each driven on its own through its
// own calls with a fake window: what a load, a dual load, an import and the
// start-up change and what they tell the window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dictionary_jobs.h"
#include "app/file_watch.h"
#include "app/import_jobs.h"
#include "app/merging_save.h"
#include "app/program_dir.h"
#include "app/startup_job.h"
#include "app/tests/fake_window.h"
#include "app/tests/test_dictionaries.h"
#include "app/tests/test_files.h"

namespace wordbay::testing {
namespace {

constexpr SlotId kMain = SlotId::kMain;
constexpr SlotId kDual = SlotId::kDual;
constexpr ListSide kPrimary = ListSide::kPrimary;
constexpr ListSide kSecondary = ListSide::kSecondary;

class JobPartsTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        // The look-up images of the dictionaries loaded go to the scratch folder.
        ::setenv("XDG_CACHE_HOME", (folder() / "cache").c_str(), 1);
        paths_ = PathsInside(folder().string());
        std::filesystem::create_directories(paths_.database_dir);
        WriteDictionary(Database("English_Croatian.v03"), {{"house", "dom"}, {"hour", "sat"}});
        WriteDictionary(Database("Croatian_German.v03"), {{"dom", "Haus"}}, "Croatian", "German",
                        1050, 1031);
    }

    std::string Database(const std::string& name) const { return paths_.database_dir + "/" + name; }
    // Counts the messages shown that begin with `start`.
    int Shown(const std::string& start) {
        int count = 0;
        for (const ShownMessage& m : window_.Messages()) count += m.text.rfind(start, 0) == 0;
        return count;
    }

    ProgramPaths paths_;
    Dictionaries dictionaries_;
    SharedSettings settings_;
    FakeWindow window_;
    ListDisplay lists_{&window_.panes, &window_.hot_key};
    StartupImage image_;
    WindowReport report_{&window_.status, &dictionaries_, &settings_, &lists_, &image_};
    Questions questions_{&window_.status};
    ImageWriter image_writer_;
    FakeFonts fonts_;
    FileWatch watch_;
    Catalogue catalogue_;
    std::vector<SlotId> loaded_;
    DictionaryJobs::Parts parts_{
        &dictionaries_, &settings_,     &lists_,
        &report_,       &window_.panes, &window_.window,
        &questions_,    &image_writer_, &image_,
        &fonts_,        &paths_,        [this](SlotId slot) { loaded_.push_back(slot); },
        [] {},          &watch_};
    DictionaryJobs jobs_{parts_};
    ImportJobs imports_{&dictionaries_,  &catalogue_,     &paths_,    &report_,
                        &window_.status, &window_.window, &questions_};
    StartupJob startup_{&dictionaries_,  &settings_,      &catalogue_, &paths_, &report_,
                        &window_.status, &window_.window, &questions_, &image_, &jobs_};
};

TEST_F(JobPartsTest, ALoadOpensTheDictionaryAndTellsTheWindow) {
    SearchOptions editing;
    editing.edit_mode = true;
    settings_.SetOptions(editing);
    int done = -1;
    jobs_.LoadMain(Database("English_Croatian.v03"), [&](bool ok) { done = ok; });
    EXPECT_EQ(done, 1);
    // A dictionary opens out of edit mode, and the window is told.
    EXPECT_FALSE(settings_.options().edit_mode);
    EXPECT_EQ(window_.window.edit_mode_ends(), 1);
    ASSERT_TRUE(dictionaries_.main().loaded());
    EXPECT_EQ(loaded_, std::vector<SlotId>{kMain});
    EXPECT_EQ(window_.panes.enabled(kMain), std::optional<bool>(true));
    EXPECT_TRUE(window_.window.menus_enabled());
    EXPECT_EQ(window_.status.titles().main_window, "KX Dictionary : English - Croatian");
    EXPECT_EQ(settings_.dictionary_state().current, "English_Croatian.v03");

    // A file that does not load says so and keeps the open dictionary.
    jobs_.LoadMain(Database("missing.v03"), [&](bool ok) { done = ok; });
    EXPECT_EQ(done, 0);
    EXPECT_EQ(Shown("Can't load dictionary !\n\n" + Database("missing.v03")), 1);
    EXPECT_TRUE(dictionaries_.main().loaded());
    EXPECT_EQ(dictionaries_.main().file_name(), "English_Croatian.v03");
    EXPECT_EQ(loaded_.size(), 1u);
    EXPECT_TRUE(window_.window.menus_enabled());
}

TEST_F(JobPartsTest, DualModeFollowsTheDualDictionary) {
    // Without a main dictionary there is nothing to link to.
    jobs_.LoadDual(Database("Croatian_German.v03"));
    EXPECT_EQ(window_.status.beeps(), 1);
    EXPECT_EQ(Shown("Please load a dictionary first !"), 1);
    EXPECT_FALSE(window_.window.dual_state());
    EXPECT_FALSE(dictionaries_.dual().loaded());

    jobs_.LoadMain(Database("English_Croatian.v03"));
    jobs_.LoadDual(Database("Croatian_German.v03"));
    ASSERT_TRUE(dictionaries_.dual().loaded());
    EXPECT_TRUE(window_.window.dual_state());
    EXPECT_TRUE(settings_.options().dual_mode);
    EXPECT_EQ(settings_.dictionary_state().dual_name, "Croatian_German.v03");
    EXPECT_EQ(loaded_, (std::vector<SlotId>{kMain, kDual}));

    lists_.Show(kDual, kPrimary, WordList::Copy({"dom"}, 0));
    window_.panes.SetEditText(kDual, kSecondary, "Haus");
    jobs_.CloseDual();
    EXPECT_FALSE(dictionaries_.dual().loaded());
    EXPECT_FALSE(settings_.options().dual_mode);
    EXPECT_TRUE(window_.panes.List(kDual, kPrimary).empty());
    EXPECT_EQ(window_.panes.EditText(kDual, kSecondary), "");
    EXPECT_TRUE(dictionaries_.main().loaded());
}

TEST_F(JobPartsTest, AnImportAddsADictionaryToTheCatalogue) {
    catalogue_.Scan(paths_.database_dir, &window_.status);
    const std::size_t before = catalogue_.entries().size();
    Spill(PathOf("German_English.txt"), "Haus\thouse\r\nHund\tdog\r\n");
    ImportRequest request;
    request.format = DB_FORMAT_TXT_LOAD;
    request.path = PathOf("German_English.txt");
    imports_.Import(request);

    const std::string target = Database("German_English.v03");
    ASSERT_TRUE(std::filesystem::exists(target));
    EXPECT_EQ(StoredInfo(target).primary_word_count, 2u);
    EXPECT_TRUE(catalogue_.IsInCatalogue(target));
    EXPECT_EQ(catalogue_.entries().size(), before + 1);
    EXPECT_EQ(Shown("Dictionary successfully imported."), 1);
    EXPECT_EQ(window_.window.choosers(), 1);  // no dictionary open to show yet

    // A file that cannot be read leaves the catalogue as it was.
    request.path = PathOf("missing.txt");
    imports_.Import(request);
    EXPECT_EQ(Shown("Dictionary loading error !"), 1);
    EXPECT_EQ(catalogue_.entries().size(), before + 1);
    EXPECT_EQ(Shown("Dictionary successfully imported."), 1);
}

TEST_F(JobPartsTest, TheStartUpOpensTheDictionariesOfTheLastSession) {
    catalogue_.Scan(paths_.database_dir, &window_.status);
    DictionaryState state;
    state.show_splash = false;
    state.current = "English_Croatian.v03";
    state.dual = true;
    state.dual_name = "Croatian_German.v03";
    settings_.SetDictionaryState(state);
    startup_.Run();
    EXPECT_TRUE(dictionaries_.main().loaded());
    EXPECT_TRUE(dictionaries_.dual().loaded());
    EXPECT_TRUE(window_.window.dual_state());
    EXPECT_EQ(window_.window.choosers(), 0);
    EXPECT_EQ(window_.window.activations(), 1);
    EXPECT_TRUE(window_.Messages().empty());
}

TEST_F(JobPartsTest, TheStartUpOffersTheChooserOrTheImportWhenItCannotOpen) {
    catalogue_.Scan(paths_.database_dir, &window_.status);
    DictionaryState state;
    state.show_splash = false;
    state.current = "gone.v03";
    settings_.SetDictionaryState(state);
    startup_.Run();
    EXPECT_FALSE(dictionaries_.main().loaded());
    EXPECT_EQ(window_.window.choosers(), 1);
    EXPECT_EQ(window_.window.import_dialogs(), 0);

    // An empty database folder: the import is the way in.
    std::filesystem::remove(Database("English_Croatian.v03"));
    std::filesystem::remove(Database("Croatian_German.v03"));
    Catalogue empty;
    empty.Scan(paths_.database_dir, &window_.status);
    StartupJob first{&dictionaries_,  &settings_,      &empty,      &paths_, &report_,
                     &window_.status, &window_.window, &questions_, &image_, &jobs_};
    first.Run();
    EXPECT_EQ(window_.window.import_dialogs(), 1);
    EXPECT_EQ(window_.window.choosers(), 1);
    EXPECT_EQ(Shown("There is no dictionaries in database!"), 1);
    EXPECT_EQ(window_.status.beeps(), 1);
}

TEST_F(JobPartsTest, TheStartUpMessageWaitsForItsAnswer) {
    catalogue_.Scan(paths_.database_dir, &window_.status);
    DictionaryState state;
    state.show_splash = true;
    state.current = "English_Croatian.v03";
    settings_.SetDictionaryState(state);
    startup_.Run();
    ASSERT_EQ(window_.status.tickets().size(), 1u);
    EXPECT_FALSE(dictionaries_.main().loaded());  // not before the answer

    EXPECT_TRUE(questions_.Answered({window_.status.tickets()[0], kIdNo, ""}));
    EXPECT_FALSE(settings_.dictionary_state().show_splash);
    EXPECT_TRUE(dictionaries_.main().loaded());
}

// Another program loads the dictionary's file, adds a pair and saves it.
void OtherProgramAdds(const std::string& path, const char* word, const char* translation) {
    EngineHandle db;
    ASSERT_EQ(DB_Load(db.get(), DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status, 1);
    ASSERT_EQ(DB_AddTranslation(db.get(), DB_TRANS_PRIMARY_TO_SECONDARY, word, translation)->status,
              2);
    ASSERT_EQ(DB_Save(db.get(), DB_FORMAT_V03_SAVE, path.c_str())->status, 1);
}

// How many translations `word` has in `db`.
int TranslationCount(DB_HANDLE db, const char* word) {
    const char* found[8] = {};
    const DB_RESULT* r = DB_Translate(db, DB_TRANS_PRIMARY_TO_SECONDARY, word, 1, 0, found, 8);
    return r->status != 0 ? r->count : 0;
}

// Whether the dictionary file `path` has the pair.
bool FileHas(const std::string& path, const char* word, const char* translation) {
    EngineHandle db;
    if (DB_Load(db.get(), DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status != 1) return false;
    const char* found[8] = {};
    const DB_RESULT* r =
        DB_Translate(db.get(), DB_TRANS_PRIMARY_TO_SECONDARY, word, 1, 0, found, 8);
    for (int i = 0; r->status != 0 && i < r->count; ++i)
        if (std::string(found[i]) == translation) return true;
    return false;
}

TEST_F(JobPartsTest, TheSaveKeepsWhatAnotherProgramSavedMeanwhile) {
    const std::string path = Database("English_Croatian.v03");
    jobs_.LoadMain(path);
    DictionarySlot& main = dictionaries_.main();
    ASSERT_TRUE(main.loaded());
    main.file().journal().AddTranslation(main.handle(), "tree", "drvo");
    ASSERT_EQ(
        DB_AddTranslation(main.handle(), DB_TRANS_PRIMARY_TO_SECONDARY, "tree", "drvo")->status, 2);
    OtherProgramAdds(path, "cat", "macka");

    int saved = -1;
    MergingSave(parts_).Save(main, [&](bool ok) { saved = ok; });
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(Shown("Dictionary saved; changes saved meanwhile by another program were kept."), 1);
    // Both edits are in the file, and the window's dictionary is the merged one.
    EXPECT_TRUE(FileHas(path, "tree", "drvo"));
    EXPECT_TRUE(FileHas(path, "cat", "macka"));
    EXPECT_TRUE(FileHas(path, "house", "dom"));
    EXPECT_EQ(TranslationCount(main.handle(), "cat"), 1);
    EXPECT_EQ(DB_IsChanged(main.handle()), 0);
    EXPECT_TRUE(main.file().journal().empty());

    // Saved as another file, the slot goes on with that one and the old file
    // stays as it was.
    main.file().journal().AddTranslation(main.handle(), "apple", "jabuka");
    DB_AddTranslation(main.handle(), DB_TRANS_PRIMARY_TO_SECONDARY, "apple", "jabuka");
    const std::string copy = Database("Copy.v03");
    EXPECT_TRUE(MergingSave(parts_).SaveAs(main, copy));
    EXPECT_TRUE(FileHas(copy, "apple", "jabuka"));
    EXPECT_FALSE(FileHas(path, "apple", "jabuka"));
    EXPECT_EQ(main.file_name(), "Copy.v03");
    EXPECT_EQ(settings_.dictionary_state().current, "Copy.v03");
}

TEST_F(JobPartsTest, TheFileIsLoadedAgainOnlyWhileNothingIsEdited) {
    const std::string path = Database("English_Croatian.v03");
    jobs_.LoadMain(path);
    DictionarySlot& main = dictionaries_.main();
    ASSERT_TRUE(main.loaded());
    OtherProgramAdds(path, "cat", "macka");

    // In edit mode the window keeps its dictionary and notes the change.
    SearchOptions editing = settings_.options();
    editing.edit_mode = true;
    settings_.SetOptions(editing);
    MergingSave(parts_).Reload();
    EXPECT_EQ(TranslationCount(main.handle(), "cat"), 0);
    EXPECT_TRUE(main.file().changed_on_disk());

    editing.edit_mode = false;
    settings_.SetOptions(editing);
    lists_.Show(kMain, kPrimary, WordList::Copy({"house"}, 0));
    MergingSave(parts_).Reload();
    EXPECT_EQ(TranslationCount(main.handle(), "cat"), 1);
    EXPECT_EQ(TranslationCount(main.handle(), "house"), 1);
    EXPECT_FALSE(main.file().changed_on_disk());
    EXPECT_TRUE(main.loaded());
}

}  // namespace
}  // namespace wordbay::testing
