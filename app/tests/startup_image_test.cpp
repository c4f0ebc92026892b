// The main dictionary's look-up image at start: typing answered from it
// until the dictionary is loaded.
#include "app/startup_image.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <utility>

#include "app/image_writer.h"
#include "app/tests/controller_fixture.h"
#include "lookup/lookup_image.h"
#include "lookup/lookup_image_writer.h"

namespace wordbay::testing {
namespace {

class StartupImageTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        path_ = DatabasePath("d.v03");
        WriteDictionary(path_, {{"house", "dom"},
                                {"house", "kuca"},
                                {"household", "domacinstvo"},
                                {"horse", "konj"},
                                {"cat", "macka"}});
    }

    // Writes the image of the dictionary as it is now.
    void WriteImage() {
        const std::string real = std::filesystem::canonical(path_).string();
        lookup::SourceKey key;
        ASSERT_TRUE(lookup::ReadSourceKey(real, &key));
        DB_HANDLE db = DB_CreateHandle()->handle;
        ASSERT_NE(DB_Load(db, DB_FORMAT_V03_LOAD, real.c_str(), 0, 0)->status, 0);
        EXPECT_TRUE(lookup::WriteLookupImage(db, lookup::ImagePathOf(real), real, key));
        DB_DestroyHandle(db);
    }

    void Type(StartupImage* image, const std::string& text, const SearchOptions& options) {
        view_.panes.SetEditText(SlotId::kMain, ListSide::kPrimary, text);
        image->Answer(&view_.panes, ListSide::kPrimary, text, ListSide::kPrimary, options);
    }
    std::vector<std::string> Shown(ListSide side) { return view_.panes.List(SlotId::kMain, side); }

    std::string ImagePath() const {
        return lookup::ImagePathOf(std::filesystem::canonical(path_).string());
    }
    // The image file's inode, which a rewrite (a rename into place) changes;
    // 0 when there is none.
    ino_t ImageInode() const {
        struct stat st {};
        return ::stat(ImagePath().c_str(), &st) == 0 ? st.st_ino : 0;
    }
    // Starts the program on the dictionary and waits for the image writer.
    void StartAndWrite() {
        Start("d.v03");
        controller_->image_writer().WaitIdle();
    }
    // Starts the program on the dictionary; the start-up request that loads
    // it waits for Release().
    void StartHeld(const SearchOptions& options) {
        DictionaryState state;
        state.show_splash = false;
        state.current = "d.v03";
        StartWith(state, options);
    }
    void Release() { controller_->dictionaries().StartUp(); }
    // Starts on the dictionary and its image, the hot key calling `target`;
    // the load waits for Release().
    void StartHeldWithImage(HotKeyTarget target) {
        WriteImage();
        program_.hot_key_target = target;
        StartHeld(SearchOptions());
    }
    // The hot key fired on `text`.
    void HotKey(const std::string& text) {
        controller_->settings().SetHotKeyPending(true);
        controller_->searches().Activated(text);
    }
    void Restart() {
        controller_->Stop();
        controller_.reset();
        StartAndWrite();
    }

    std::string path_;
};

TEST_F(StartupImageTest, TypingIsAnsweredFromTheImageUntilItStops) {
    WriteImage();
    StartupImage image;
    ASSERT_TRUE(image.Open(path_));
    EXPECT_TRUE(image.answering());
    SearchOptions options;
    options.auto_translate = true;

    Type(&image, "ho", options);
    EXPECT_EQ(Shown(ListSide::kPrimary), (std::vector<std::string>{"horse", "house", "household"}));
    EXPECT_TRUE(Shown(ListSide::kSecondary).empty());
    // A word typed in full, in other case, is translated as the engine has it.
    Type(&image, "HOUSE", options);
    EXPECT_EQ(Shown(ListSide::kPrimary), (std::vector<std::string>{"house", "household"}));
    EXPECT_EQ(Shown(ListSide::kSecondary), (std::vector<std::string>{"dom", "kuca"}));
    EXPECT_EQ(view_.panes.EditText(SlotId::kMain, ListSide::kSecondary), "dom");
    EXPECT_EQ(view_.panes.SelectedIndex(SlotId::kMain, ListSide::kPrimary), 0);
    // Case counts when asked to; nothing matches then.
    options.case_sensitive = true;
    Type(&image, "HOUSE", options);
    EXPECT_TRUE(Shown(ListSide::kPrimary).empty());
    EXPECT_TRUE(Shown(ListSide::kSecondary).empty());
    EXPECT_EQ(view_.panes.EditText(SlotId::kMain, ListSide::kSecondary), "");

    // Other search modes wait for the dictionary, as does everything after Stop.
    options.case_sensitive = false;
    Type(&image, "ca", options);
    options.wildcards = true;
    Type(&image, "h*", options);
    EXPECT_EQ(Shown(ListSide::kPrimary), (std::vector<std::string>{"cat"}));
    options.wildcards = false;
    image.Stop();
    Type(&image, "h", options);
    EXPECT_EQ(Shown(ListSide::kPrimary), (std::vector<std::string>{"cat"}));
}

TEST_F(StartupImageTest, NoImageOrAStaleOneIsNotOpened) {
    StartupImage none;
    EXPECT_FALSE(none.Open(path_));
    EXPECT_FALSE(none.answering());
    WriteImage();
    WriteDictionary(path_, {{"house", "dom"}});  // saved again: another state
    StartupImage stale;
    EXPECT_FALSE(stale.Open(path_));
    EXPECT_FALSE(stale.answering());
    EXPECT_FALSE(StartupImage().Open(DatabasePath("missing.v03")));
}

// At start the program answers typing from the image while the start-up job
// loads, then the loaded dictionary answers the same search.
TEST_F(StartupImageTest, TheLoadedDictionaryTakesOverTheSearch) {
    WriteImage();
    SearchOptions options;
    options.auto_translate = true;
    Start("d.v03", options);
    ControllerTest::Type(SlotId::kMain, ListSide::kPrimary, "house");
    WaitIdle();
    EXPECT_EQ(Shown(ListSide::kPrimary), (std::vector<std::string>{"house", "household"}));
    EXPECT_EQ(Shown(ListSide::kSecondary), (std::vector<std::string>{"dom", "kuca"}));
}

// A load writes the image the next start answers from; a current one is left
// as it is, a stale or damaged one is written again.
TEST_F(StartupImageTest, ALoadWritesTheImageWhenItIsMissingOrStale) {
    StartAndWrite();
    EXPECT_TRUE(StartupImage().Open(path_));
    const ino_t first = ImageInode();
    ASSERT_NE(first, 0u);

    Restart();
    EXPECT_EQ(ImageInode(), first);

    controller_->Stop();
    WriteDictionary(path_, {{"house", "dom"}, {"tree", "drvo"}});  // saved again: stale
    Restart();
    ASSERT_TRUE(StartupImage().Open(path_));
    EXPECT_NE(ImageInode(), first);

    const ino_t second = ImageInode();
    std::fstream image(ImagePath(), std::ios::in | std::ios::out | std::ios::binary);
    image.seekp(0);
    image.write("XXXX", 4);
    image.close();
    Restart();
    EXPECT_TRUE(StartupImage().Open(path_));
    EXPECT_NE(ImageInode(), second);
}

// The image follows the file the user saves.
TEST_F(StartupImageTest, ASaveWritesTheImageOfTheSavedFile) {
    StartAndWrite();
    const ino_t first = ImageInode();
    controller_->dictionaries().Save();
    WaitIdle();
    controller_->image_writer().WaitIdle();
    EXPECT_TRUE(StartupImage().Open(path_));
    EXPECT_NE(ImageInode(), first);
}

// The hot key while the dictionary loads at start is answered from the image
// in the main window and the popup; the loaded dictionary then answers it, as
// it does every hot key after.
TEST_F(StartupImageTest, TheHotKeyIsAnsweredFromTheImageWhileTheDictionaryLoads) {
    StartHeldWithImage(HotKeyTarget::kPopup);
    HotKey("HOUSE");
    EXPECT_EQ(view_.hot_key.text(), "HOUSE");
    EXPECT_EQ(view_.hot_key.list(), (std::vector<std::string>{"dom", "kuca"}));
    EXPECT_EQ(Shown(ListSide::kPrimary), (std::vector<std::string>{"house", "household"}));
    EXPECT_EQ(view_.panes.EditText(SlotId::kMain, ListSide::kSecondary), "dom");
    EXPECT_FALSE(controller_->settings().hot_key_pending());
    EXPECT_TRUE(controller_->searches().waiting_for_load(SlotId::kMain));
    // A word not in the list empties the popup's list.
    HotKey("xyz");
    EXPECT_EQ(view_.hot_key.text(), "xyz");
    EXPECT_TRUE(view_.hot_key.list().empty());
    EXPECT_TRUE(Shown(ListSide::kPrimary).empty());
    Release();
    WaitIdle();
    // The popup stays in front of the main window at the end of the start.
    EXPECT_EQ(view_.window.activations(), 0);

    HotKey("horse");
    WaitIdle();
    EXPECT_EQ(view_.hot_key.list(), (std::vector<std::string>{"konj"}));
    EXPECT_EQ(view_.panes.EditText(SlotId::kMain, ListSide::kSecondary), "konj");
}

// While the image answers at start, the window already shows the dictionary
// as its settings keep it: its names, and its direction, in which typing is
// answered.
TEST_F(StartupImageTest, TheWindowShowsTheLoadingDictionaryAsStored) {
    StartAndWrite();
    controller_->searches().ToggleDirection(SlotId::kMain);
    const WindowTitles reversed = view_.status.titles();
    controller_->Stop();
    controller_->WriteSlotSettings();
    controller_.reset();

    SearchOptions options;
    options.auto_translate = true;
    StartHeld(options);
    EXPECT_EQ(view_.panes.previewed(SlotId::kMain), std::optional<bool>(false));
    EXPECT_EQ(view_.status.titles().main_window, reversed.main_window);
    ControllerTest::Type(SlotId::kMain, ListSide::kSecondary, "kuca");
    EXPECT_EQ(Shown(ListSide::kSecondary), (std::vector<std::string>{"kuca"}));
    EXPECT_EQ(Shown(ListSide::kPrimary), (std::vector<std::string>{"house"}));
    Release();
    WaitIdle();
    EXPECT_EQ(view_.status.titles().main_window, reversed.main_window);
    EXPECT_FALSE(controller_->slot(SlotId::kMain).primary_to_secondary());
}

// The end of the load leaves the image's answers on the screen until the
// search on the loaded dictionary replaces them: nothing blinks.
TEST_F(StartupImageTest, TheImagesAnswersStayUntilTheLoadedDictionaryAnswers) {
    WriteImage();
    SearchOptions options;
    options.auto_translate = true;
    StartHeld(options);
    ControllerTest::Type(SlotId::kMain, ListSide::kPrimary, "house");
    const int emptied[2] = {view_.panes.emptied(SlotId::kMain, ListSide::kPrimary),
                            view_.panes.emptied(SlotId::kMain, ListSide::kSecondary)};
    Release();
    WaitIdle();
    // As the loaded dictionary was shown, the lists were never emptied.
    EXPECT_EQ(view_.panes.emptied_at_load(SlotId::kMain, ListSide::kPrimary), emptied[0]);
    EXPECT_EQ(view_.panes.emptied_at_load(SlotId::kMain, ListSide::kSecondary), emptied[1]);
    // The typed text is searched again once the dictionary is ready.
    EXPECT_EQ(Shown(ListSide::kPrimary), (std::vector<std::string>{"house", "household"}));
    EXPECT_EQ(Shown(ListSide::kSecondary), (std::vector<std::string>{"dom", "kuca"}));
}

// While the image answers, the load at start gives way to the window; the
// worker's later jobs, and a start without an image, run as they always did.
TEST_F(StartupImageTest, TheLoadGivesWayWhileTheImageAnswers) {
    const int own = getpriority(PRIO_PROCESS, 0);
    if (own >= 19) GTEST_SKIP() << "runs at the lowest priority already";
    Start("d.v03");
    EXPECT_EQ(view_.status.progress_nice(), own);
    controller_->image_writer().WaitIdle();
    controller_->Stop();
    controller_.reset();

    Start("d.v03");
    EXPECT_GT(view_.status.progress_nice(), own);
    EXPECT_TRUE(controller_->slot(SlotId::kMain).loaded());
    controller_->dictionaries().Load(path_);
    WaitIdle();
    EXPECT_EQ(view_.status.progress_nice(), own);
}

// Without an image the window shows nothing of the dictionary before it has
// loaded.
TEST_F(StartupImageTest, WithoutAnImageNothingIsShownBeforeTheLoad) {
    StartHeld(SearchOptions());
    EXPECT_FALSE(view_.panes.previewed(SlotId::kMain).has_value());
    EXPECT_FALSE(controller_->searches().previewing_from_image());
    Release();
    WaitIdle();
}

// A hot key answered from the image in the main window leaves the start as
// it was: the main window comes to the front once the dictionary is loaded.
TEST_F(StartupImageTest, AHotKeyAnsweredInTheMainWindowStillActivatesIt) {
    StartHeldWithImage(HotKeyTarget::kMainWindow);
    HotKey("house");
    EXPECT_EQ(view_.panes.EditText(SlotId::kMain, ListSide::kSecondary), "dom");
    Release();
    WaitIdle();
    EXPECT_EQ(view_.window.activations(), 1);
}

// Without an image the hot key waits for the dictionary, as it always did.
TEST_F(StartupImageTest, WithoutAnImageTheHotKeyWaitsForTheDictionary) {
    program_.hot_key_target = HotKeyTarget::kPopup;
    StartHeld(SearchOptions());
    HotKey("house");
    EXPECT_TRUE(view_.hot_key.text().empty());
    EXPECT_TRUE(Shown(ListSide::kPrimary).empty());
    EXPECT_FALSE(controller_->searches().waiting_for_load(SlotId::kMain));
    Release();
    WaitIdle();
}

// A file saved again while the writer loads it gets no image of what was
// loaded: the image is keyed by the state the file had before the load, and
// the next request writes the image of the new state.
TEST_F(StartupImageTest, AFileChangedDuringTheWritersLoadGetsNoStaleImage) {
    const std::string real = std::filesystem::canonical(path_).string();
    ImageWriter writer;
    bool changed = false;
    writer.SetLoadedHookForTesting([&] {
        if (std::exchange(changed, true)) return;
        WriteDictionary(path_, {{"tree", "drvo"}, {"apple", "jabuka"}, {"river", "rijeka"}});
    });
    writer.Request(path_);
    writer.WaitIdle();
    ASSERT_TRUE(changed);
    lookup::SourceKey now;
    ASSERT_TRUE(lookup::ReadSourceKey(real, &now));
    // Whatever image there is for the file as it is now answers as it does.
    const auto translations = [&](const std::string& word) {
        lookup::LookupImage image;
        std::vector<std::string> out;
        if (!image.Open(ImagePath(), real, now)) return std::vector<std::string>{"no image"};
        image.Translate(0, word, &out);
        return out;
    };
    EXPECT_EQ(translations("house"), (std::vector<std::string>{"no image"}));
    writer.Request(path_);
    writer.WaitIdle();
    EXPECT_EQ(translations("tree"), (std::vector<std::string>{"drvo"}));
    EXPECT_TRUE(translations("house").empty());
}

TEST(ImageWriterTest, AMissingFileWritesNothingAndStopIsFinal) {
    ImageWriter writer;
    writer.Request("/nonexistent/d.v03");
    writer.WaitIdle();
    writer.Stop();
    writer.Request("/nonexistent/d.v03");
    writer.WaitIdle();
}

}  // namespace
}  // namespace wordbay::testing
