// A dictionary edited in the program while another program saves its file:
// the save keeps both where they go together, asks where they don't, and
// the program follows the file while nothing is edited.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>

#include "app/edit_journal.h"
#include "app/file_watch.h"
#include "app/message_box_style.h"
#include "app/tests/controller_fixture.h"

namespace wordbay {
namespace {

using testing::ControllerTest;
using Words = std::vector<std::string>;
using PairSet = std::set<std::pair<std::string, std::string>>;

constexpr SlotId kMain = SlotId::kMain;
constexpr ListSide kPrimary = ListSide::kPrimary;
constexpr ListSide kSecondary = ListSide::kSecondary;

const testing::Pairs kPairs = {
    {"house", "kuca"}, {"house", "dom"}, {"house", "zgrada"}, {"hour", "sat"}, {"dog", "pas"},
};

constexpr char kMerged[] =
    "Dictionary saved; changes saved meanwhile by another program were kept.";
constexpr char kSaved[] = "Dictionary successfully saved.";
constexpr char kAskedCaption[] = "File changed by another program";
// The note on the status line, its spaces non-breaking.
constexpr char kChangedNote[] = "File\u00A0changed\u00A0on\u00A0disk";

// The translations of `word` in `db`, in their order.
Words TranslationsIn(DB_HANDLE db, const std::string& word,
                     int direction = DB_TRANS_PRIMARY_TO_SECONDARY) {
    const char* found[64] = {};
    const DB_RESULT* r = DB_Translate(db, direction, word.c_str(), 1, 0, found, 64);
    if (r->status == 0) return {};
    return Words(found, found + r->count);
}

// Every pair of the dictionary file `path`.
PairSet PairsIn(const std::string& path) {
    PairSet pairs;
    EngineHandle db;
    EXPECT_EQ(DB_Load(db.get(), DB_FORMAT_V03_LOAD, path.c_str(), 0, 0)->status, 1) << path;
    std::vector<const char*> words(1000);
    const DB_RESULT* r = DB_List(db.get(), DB_PRIMARY_LIST, "*", 1, 0, DB_LIST_WILDCARDS,
                                 words.data(), static_cast<std::int32_t>(words.size()));
    words.resize(r->status != 0 ? r->count : 0);
    for (const char* word : words) {
        for (const std::string& t : TranslationsIn(db.get(), word)) pairs.insert({word, t});
    }
    return pairs;
}

PairSet Plus(PairSet pairs, const PairSet& more, const PairSet& less = {}) {
    pairs.insert(more.begin(), more.end());
    for (const auto& pair : less) pairs.erase(pair);
    return pairs;
}

const PairSet kStart(kPairs.begin(), kPairs.end());

class MergingSaveTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        path_ = DatabasePath("English_Croatian.v03");
        testing::WriteDictionary(path_, kPairs);
        Start("English_Croatian.v03");
        ASSERT_TRUE(controller_->slot(kMain).loaded());
    }

    void EditMode(bool on) {
        SetOptions([on](SearchOptions* o) { o->edit_mode = on; });
    }
    // Another program loads the file, changes it and saves it.
    void OtherProgram(const std::function<void(DB_HANDLE)>& change) {
        EngineHandle db;
        ASSERT_EQ(DB_Load(db.get(), DB_FORMAT_V03_LOAD, path_.c_str(), 0, 0)->status, 1);
        change(db.get());
        ASSERT_EQ(DB_Save(db.get(), DB_FORMAT_V03_SAVE, path_.c_str())->status, 1);
    }
    void OtherProgramAdds(const std::string& word, const std::string& translation) {
        OtherProgram([&](DB_HANDLE db) {
            ASSERT_EQ(DB_AddTranslation(db, 1, word.c_str(), translation.c_str())->status, 2);
        });
    }
    // Types `word` and selects the first entry of its list.
    void Select(const std::string& word) {
        Type(kMain, kPrimary, word);
        WaitIdle();
        view_.panes.SelectListEntry(kMain, kPrimary, 0, 0);
        controller_->searches().Selected(kMain, kPrimary, view_.panes.List(kMain, kPrimary).at(0));
        WaitIdle();
    }
    // The user adds a pair in edit mode.
    void Add(const std::string& word, const std::string& translation) {
        Type(kMain, kPrimary, word);
        WaitIdle();
        view_.panes.SetEditText(kMain, kSecondary, translation);
        view_.Answer(kIdYes);
        controller_->editing().AddTranslation(view_.panes);
        WaitIdle();
    }
    void Save() {
        controller_->dictionaries().Save();
        WaitIdle();
    }
    std::string LastMessage() {
        const std::vector<testing::ShownMessage> shown = view_.Messages();
        return shown.empty() ? std::string() : shown.back().text;
    }
    DB_HANDLE Main() { return controller_->slot(kMain).handle(); }
    // Looks at the file twice, as the window's timer does.
    void Watch() {
        controller_->WatchMainFile();
        WaitIdle();
        controller_->WatchMainFile();
        WaitIdle();
    }

    std::string path_;
};

TEST_F(MergingSaveTest, AnUnchangedFileIsSavedAsBefore) {
    EditMode(true);
    Add("tree", "drvo");
    Save();
    EXPECT_EQ(LastMessage(), kSaved);
    EXPECT_EQ(PairsIn(path_), Plus(kStart, {{"tree", "drvo"}}));
    EXPECT_EQ(DB_IsChanged(Main()), 0);
}

// The user's new pair and the other program's both end in the file and in
// the window, which keeps its typed text and selection; the next save finds
// the file as it left it.
TEST_F(MergingSaveTest, ThePairsOfBothAreSaved) {
    EditMode(true);
    Add("tree", "drvo");
    Select("house");
    OtherProgramAdds("cat", "macka");
    Save();
    EXPECT_EQ(LastMessage(), kMerged);
    EXPECT_EQ(PairsIn(path_), Plus(kStart, {{"tree", "drvo"}, {"cat", "macka"}}));
    EXPECT_EQ(TranslationsIn(Main(), "cat"), (Words{"macka"}));
    EXPECT_EQ(DB_IsChanged(Main()), 0);
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"house"}));
    EXPECT_EQ(view_.panes.SelectedIndex(kMain, kPrimary), 0);
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"kuca", "dom", "zgrada"}));
    Add("apple", "jabuka");
    Save();
    EXPECT_EQ(LastMessage(), kSaved);
    EXPECT_EQ(PairsIn(path_),
              Plus(kStart, {{"tree", "drvo"}, {"cat", "macka"}, {"apple", "jabuka"}}));
}

// A sync tool renames a new file over the old one: the save merges with it
// as with a file saved in place.
TEST_F(MergingSaveTest, AFileRenamedOverTheOldOneMerges) {
    EditMode(true);
    Add("tree", "drvo");
    const std::string fresh = DatabasePath("incoming.tmp");
    testing::WriteDictionary(fresh, {{"house", "kuca"}, {"cat", "macka"}});
    ASSERT_EQ(std::rename(fresh.c_str(), path_.c_str()), 0);
    Save();
    EXPECT_EQ(LastMessage(), kMerged);
    EXPECT_EQ(PairsIn(path_), (PairSet{{"house", "kuca"}, {"cat", "macka"}, {"tree", "drvo"}}));
}

// Translations both added to one word go together, the other program's first.
TEST_F(MergingSaveTest, TranslationsBothAddedToOneWordAreKept) {
    EditMode(true);
    Add("house", "kucica");
    OtherProgramAdds("house", "kucerak");
    Save();
    EXPECT_EQ(LastMessage(), kMerged);
    EXPECT_EQ(TranslationsIn(Main(), "house"),
              (Words{"kuca", "dom", "zgrada", "kucerak", "kucica"}));
    EXPECT_EQ(PairsIn(path_), Plus(kStart, {{"house", "kucica"}, {"house", "kucerak"}}));
}

// Deleting, changing and reordering replay on the other program's file.
TEST_F(MergingSaveTest, EveryKindOfEditReplays) {
    EditMode(true);
    Select("dog");
    controller_->editing().ChangeWord(view_.panes, kPrimary, 0, "dog", "doggy");
    Select("hour");
    view_.panes.SelectListEntry(kMain, kSecondary, 0, 0);
    view_.Answer(kIdYes);
    controller_->editing().DeleteSelected(view_.panes);
    Select("house");
    controller_->editing().MoveTranslation(view_.panes, 0, 2);
    ASSERT_EQ(TranslationsIn(Main(), "house"), (Words{"dom", "zgrada", "kuca"}));
    OtherProgramAdds("cat", "macka");
    Save();
    EXPECT_EQ(LastMessage(), kMerged);
    EXPECT_EQ(PairsIn(path_), Plus(kStart, {{"doggy", "pas"}, {"cat", "macka"}},
                                   {{"dog", "pas"}, {"hour", "sat"}}));
    EXPECT_EQ(TranslationsIn(Main(), "house"), (Words{"dom", "zgrada", "kuca"}));
    EXPECT_EQ(TranslationsIn(Main(), "pas", DB_TRANS_SECONDARY_TO_PRIMARY), (Words{"doggy"}));
}

// A word both changed can't be merged: the user is asked. Cancelling leaves
// the file as the other program saved it and the edits unsaved; overwriting
// then writes the user's dictionary.
TEST_F(MergingSaveTest, AWordChangedByBothIsAskedAbout) {
    EditMode(true);
    Select("house");
    view_.panes.SelectListEntry(kMain, kSecondary, 1, 0);
    view_.Answer(kIdYes);
    controller_->editing().DeleteSelected(view_.panes);
    ASSERT_EQ(TranslationsIn(Main(), "house"), (Words{"kuca", "zgrada"}));
    OtherProgramAdds("house", "kucerak");
    const PairSet theirs = Plus(kStart, {{"house", "kucerak"}});

    view_.Answer(kIdCancel);
    Save();
    const testing::ShownMessage asked = view_.Messages().back();
    EXPECT_EQ(asked.caption, kAskedCaption);
    EXPECT_NE(asked.text.find("Changed by both: house\n"), std::string::npos) << asked.text;
    EXPECT_EQ(asked.style, kMbYesNoCancel | kMbIconExclamation);
    EXPECT_EQ(PairsIn(path_), theirs);
    EXPECT_NE(DB_IsChanged(Main()), 0);

    view_.Answer(kIdNo);
    Save();
    EXPECT_EQ(LastMessage(), kSaved);
    EXPECT_EQ(PairsIn(path_), Plus(kStart, {}, {{"house", "dom"}}));
    EXPECT_EQ(DB_IsChanged(Main()), 0);
}

// Saving as another file leaves the other program's file alone, and the
// window goes on with the new one; a cancelled file dialog saves nothing.
TEST_F(MergingSaveTest, AConflictCanBeSavedAsAnotherFile) {
    EditMode(true);
    Select("dog");
    controller_->editing().ChangeWord(view_.panes, kPrimary, 0, "dog", "doggy");
    OtherProgram([](DB_HANDLE db) { ASSERT_EQ(DB_ChangeWord(db, 1, "dog", "hound")->status, 2); });
    const PairSet theirs = Plus(kStart, {{"hound", "pas"}}, {{"dog", "pas"}});

    view_.status.set_save_file_answer("");
    view_.Answer(kIdYes);
    Save();
    EXPECT_EQ(view_.Messages().back().caption, kAskedCaption);
    EXPECT_EQ(PairsIn(path_), theirs);
    EXPECT_NE(DB_IsChanged(Main()), 0);

    const std::string other = DatabasePath("mine.v03");
    view_.status.set_save_file_answer(other);
    view_.Answer(kIdYes);
    Save();
    EXPECT_EQ(LastMessage(), kSaved);
    EXPECT_EQ(PairsIn(path_), theirs);
    EXPECT_EQ(PairsIn(other), Plus(kStart, {{"doggy", "pas"}}, {{"dog", "pas"}}));
    EXPECT_EQ(controller_->slot(kMain).path(), other);
    EXPECT_EQ(controller_->settings().dictionary_state().current, "mine.v03");
}

// The description goes with the pairs; one both changed is asked about.
TEST_F(MergingSaveTest, ADescriptionChangeReplays) {
    const auto author = [](const char* name) {
        return [name](const DICTIONARY_INFO& info) {
            DICTIONARY_INFO changed = info;
            std::strncpy(changed.author, name, sizeof changed.author - 1);
            return changed;
        };
    };
    ASSERT_TRUE(controller_->editing().ChangeDescription(view_.panes, author("Ana")).changed);
    OtherProgramAdds("cat", "macka");
    Save();
    EXPECT_EQ(LastMessage(), kMerged);
    EXPECT_STREQ(testing::StoredInfo(path_).author, "Ana");
    EXPECT_EQ(PairsIn(path_), Plus(kStart, {{"cat", "macka"}}));

    ASSERT_TRUE(controller_->editing().ChangeDescription(view_.panes, author("Ivo")).changed);
    OtherProgram([](DB_HANDLE db) {
        DICTIONARY_INFO info{};
        ASSERT_EQ(DB_GetDictionaryInfo(db, &info)->status, 1);
        std::strcpy(info.author, "Maja");
        ASSERT_EQ(DB_SetDictionaryInfo(db, &info)->status, 1);
    });
    view_.Answer(kIdCancel);
    Save();
    EXPECT_EQ(view_.Messages().back().caption, kAskedCaption);
    EXPECT_STREQ(testing::StoredInfo(path_).author, "Maja");
}

// A whole file merged in can't be replayed: the user is asked.
TEST_F(MergingSaveTest, AnUpdateFromAFileIsAskedAbout) {
    const std::string source = PathOf("more.v03");
    testing::WriteDictionary(source, {{"tree", "drvo"}});
    controller_->dictionaries().Update(DB_FORMAT_V03_LOAD, source);
    WaitIdle();
    ASSERT_EQ(TranslationsIn(Main(), "tree"), (Words{"drvo"}));
    OtherProgramAdds("cat", "macka");
    view_.Answer(kIdNo);
    Save();
    const std::vector<testing::ShownMessage> shown = view_.Messages();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2].caption, kAskedCaption);
    EXPECT_EQ(PairsIn(path_), Plus(kStart, {{"tree", "drvo"}}));
}

// Closing with a save merges too, and closes the window; a cancelled
// question keeps it open.
TEST_F(MergingSaveTest, SavingForClosingGoesOnFromTheAnswer) {
    EditMode(true);
    Add("tree", "drvo");
    OtherProgramAdds("cat", "macka");
    controller_->dictionaries().SaveAndClose();
    WaitIdle();
    EXPECT_EQ(PairsIn(path_), Plus(kStart, {{"tree", "drvo"}, {"cat", "macka"}}));
    EXPECT_EQ(view_.window.closes(), 1);

    Select("house");
    view_.panes.SelectListEntry(kMain, kSecondary, 0, 0);
    view_.Answer(kIdYes);
    controller_->editing().DeleteSelected(view_.panes);
    OtherProgramAdds("house", "kucerak");
    view_.Answer(kIdCancel);
    controller_->dictionaries().SaveAndClose();
    WaitIdle();
    EXPECT_EQ(view_.Messages().back().caption, kAskedCaption);
    EXPECT_EQ(view_.window.closes(), 1);
    view_.Answer(kIdNo);
    controller_->dictionaries().SaveAndClose();
    WaitIdle();
    EXPECT_EQ(view_.window.closes(), 2);
    EXPECT_EQ(PairsIn(path_),
              Plus(kStart, {{"tree", "drvo"}, {"cat", "macka"}}, {{"house", "kuca"}}));
}

// Opening another dictionary asks to save the changes first; a save the
// user cancels at the conflict keeps the dictionary open with its changes.
TEST_F(MergingSaveTest, ALoadWaitsForTheSaveItAskedFor) {
    testing::WriteDictionary(DatabasePath("other.v03"), {{"sun", "sunce"}});
    EditMode(true);
    Select("dog");
    controller_->editing().ChangeWord(view_.panes, kPrimary, 0, "dog", "doggy");
    OtherProgram([](DB_HANDLE db) { ASSERT_EQ(DB_ChangeWord(db, 1, "dog", "hound")->status, 2); });
    view_.Answer(kIdYes);     // save the changes?
    view_.Answer(kIdCancel);  // changed by both
    controller_->dictionaries().Load(DatabasePath("other.v03"));
    WaitIdle();
    EXPECT_EQ(controller_->slot(kMain).path(), path_);
    EXPECT_EQ(TranslationsIn(Main(), "doggy"), (Words{"pas"}));

    view_.Answer(kIdYes);  // save the changes?
    view_.Answer(kIdNo);   // overwrite
    controller_->dictionaries().Load(DatabasePath("other.v03"));
    WaitIdle();
    EXPECT_EQ(controller_->slot(kMain).path(), DatabasePath("other.v03"));
    EXPECT_EQ(PairsIn(path_), Plus(kStart, {{"doggy", "pas"}}, {{"dog", "pas"}}));
}

// While nothing is edited, a file saved by another program is loaded again;
// the typed text is looked up in it and the selection stays.
TEST_F(MergingSaveTest, AChangedFileIsLoadedAgainWhileNothingIsEdited) {
    Select("house");
    Watch();
    OtherProgramAdds("house", "kucerak");
    controller_->WatchMainFile();  // the new state must hold for a whole look
    WaitIdle();
    EXPECT_EQ(TranslationsIn(Main(), "house").size(), 3u);
    controller_->WatchMainFile();
    WaitIdle();
    EXPECT_EQ(TranslationsIn(Main(), "house"), (Words{"kuca", "dom", "zgrada", "kucerak"}));
    EXPECT_EQ(view_.panes.EditText(kMain, kPrimary), "house");
    EXPECT_EQ(view_.panes.List(kMain, kPrimary), (Words{"house"}));
    EXPECT_EQ(view_.panes.SelectedIndex(kMain, kPrimary), 0);
    EXPECT_EQ(view_.panes.List(kMain, kSecondary), (Words{"kuca", "dom", "zgrada", "kucerak"}));
    // What it loaded is no change to follow.
    const DB_HANDLE loaded = Main();
    Watch();
    EXPECT_EQ(Main(), loaded);
}

// While the dictionary is edited the file is not loaded again: the status
// line says it changed, and the next save merges. Leaving edit mode with
// nothing to save loads it.
TEST_F(MergingSaveTest, WhileEditingTheStatusLineSaysTheFileChanged) {
    EditMode(true);
    OtherProgramAdds("cat", "macka");
    Watch();
    EXPECT_TRUE(TranslationsIn(Main(), "cat").empty());
    EXPECT_NE(view_.status.text().find(kChangedNote), std::string::npos) << view_.status.text();
    EditMode(false);
    Watch();
    EXPECT_EQ(TranslationsIn(Main(), "cat"), (Words{"macka"}));
    EXPECT_EQ(view_.status.text().find(kChangedNote), std::string::npos) << view_.status.text();

    EditMode(true);
    Add("tree", "drvo");
    EditMode(false);
    OtherProgramAdds("apple", "jabuka");
    Watch();
    EXPECT_TRUE(TranslationsIn(Main(), "apple").empty());
    Save();
    EXPECT_EQ(LastMessage(), kMerged);
    EXPECT_EQ(TranslationsIn(Main(), "apple"), (Words{"jabuka"}));
    EXPECT_EQ(view_.status.text().find(kChangedNote), std::string::npos) << view_.status.text();
}

// A file that can't be read (a writer that left it damaged) is not loaded:
// the window keeps its dictionary and says that the file changed.
TEST_F(MergingSaveTest, AnUnreadableFileIsNotLoaded) {
    Select("house");
    Spill(path_, "not a dictionary at all, but long enough to be looked at");
    Watch();
    Watch();
    EXPECT_EQ(TranslationsIn(Main(), "house").size(), 3u);
    EXPECT_NE(view_.status.text().find(kChangedNote), std::string::npos) << view_.status.text();
}

// The journal remembers each touched word as it first found it.
TEST(EditJournalTest, AWordIsRememberedAsFirstTouched) {
    EngineHandle handle;
    DB_HANDLE db = handle.get();
    ASSERT_EQ(DB_CreateNewDictionary(db, 1033, 1050)->status, 1);
    ASSERT_EQ(DB_AddTranslation(db, 1, "house", "kuca")->status, 2);
    EditJournal journal;
    journal.AddTranslation(db, "house", "dom");
    ASSERT_EQ(DB_AddTranslation(db, 1, "house", "dom")->status, 2);
    journal.ChangeWord(db, kPrimary, "house", "home");
    ASSERT_EQ(DB_ChangeWord(db, 1, "house", "home")->status, 2);
    EXPECT_EQ(journal.FirstState({kPrimary, "house"}), (WordState{true, {"kuca"}}));
    EXPECT_EQ(journal.FirstState({kSecondary, "dom"}), (WordState{false, {}}));
    EXPECT_EQ(journal.FirstState({kPrimary, "home"}), (WordState{false, {}}));
    // The change touched the translations, whose own lists name the word.
    EXPECT_EQ(journal.FirstState({kSecondary, "kuca"}), (WordState{true, {"house"}}));
    EXPECT_EQ(journal.edits().size(), 2u);
    journal.Drop();
    EXPECT_EQ(journal.edits().size(), 1u);
    journal.Clear();
    EXPECT_TRUE(journal.empty());
    journal.MarkUnmergeable();
    EXPECT_FALSE(journal.empty());
}

// A new state of the file counts once it held for two looks, and one that
// failed to load is not tried again.
TEST(FileWatchTest, AChangeCountsOnceItHolds) {
    platform::FileStamp loaded;
    loaded.exists = true;
    loaded.size = 10;
    platform::FileStamp written = loaded;
    written.size = 20;
    FileWatch watch;
    EXPECT_EQ(watch.Look(loaded, loaded), FileWatch::Finding::kNothing);
    EXPECT_EQ(watch.Look(loaded, written), FileWatch::Finding::kNothing);
    EXPECT_EQ(watch.Look(loaded, written), FileWatch::Finding::kChanged);
    watch.LoadFailed(written);
    EXPECT_EQ(watch.Look(loaded, written), FileWatch::Finding::kNothing);
    EXPECT_EQ(watch.Look(loaded, platform::FileStamp{}), FileWatch::Finding::kNothing);
    EXPECT_EQ(watch.Look(loaded, platform::FileStamp{}), FileWatch::Finding::kNothing);
}

}  // namespace
}  // namespace wordbay
