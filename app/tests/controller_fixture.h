// A search controller over a scratch program folder, with a fake window.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "app/search_controller.h"
#include "app/tests/fake_window.h"
#include "app/tests/test_dictionaries.h"
#include "app/tests/test_files.h"

namespace wordbay::testing {

class ControllerTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        // The look-up images of the dictionaries loaded go to the scratch folder.
        ::setenv("XDG_CACHE_HOME", (folder() / "cache").c_str(), 1);
        paths_ = PathsInside(folder().string());
        std::filesystem::create_directories(paths_.database_dir);
    }
    void TearDown() override {
        if (controller_) controller_->Stop();
        controller_.reset();
        ScratchDirTest::TearDown();
    }

    std::string DatabasePath(const std::string& name) const {
        return paths_.database_dir + "/" + name;
    }

    // Scans the catalogue and starts the worker, whose start-up job opens
    // `current` (a file name in the database folder); waits for it.
    void Start(const std::string& current, SearchOptions options = {}, bool convert_v2 = false) {
        DictionaryState state;
        state.show_splash = false;
        state.current = current;
        state.convert_v2 = convert_v2;
        StartWith(state, options);
        controller_->dictionaries().StartUp();
        WaitIdle();
    }

    // Makes the controller and starts its worker; the start-up request is
    // the caller's.
    void StartWith(const DictionaryState& state, const SearchOptions& options) {
        catalogue_.Scan(paths_.database_dir, &view_.status);
        controller_ = std::make_unique<SearchController>(view_.updates(), &catalogue_, paths_,
                                                         &fonts_, &program_);
        view_.Attach(controller_.get());
        controller_->settings().SetDictionaryState(state);
        controller_->settings().SetOptions(options);
        controller_->Start();
    }

    // Waits until no request runs or waits to run, and the window has
    // every update.
    void WaitIdle() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (controller_->busy()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the worker did not finish";
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    // Types `text` into an edit box as the user would.
    void Type(SlotId slot, ListSide side, const std::string& text) {
        view_.panes.SetEditText(slot, side, text);
        controller_->searches().Typed(slot, side, text);
    }

    void SetOptions(const std::function<void(SearchOptions*)>& change) {
        SearchOptions o = controller_->settings().options();
        change(&o);
        controller_->settings().SetOptions(o);
    }

    bool SawMessage(const std::string& text_start) {
        for (const ShownMessage& m : view_.Messages()) {
            if (m.text.compare(0, text_start.size(), text_start) == 0) return true;
        }
        return false;
    }

    ProgramPaths paths_;
    ProgramSettings program_;  // the window the hot keys call
    FakeWindow view_;
    FakeFonts fonts_;
    Catalogue catalogue_;
    std::unique_ptr<SearchController> controller_;
};

}  // namespace wordbay::testing
