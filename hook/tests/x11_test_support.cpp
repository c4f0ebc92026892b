// clang-format off
// GoogleTest comes before any X header: X.h defines None, a name GoogleTest uses.
#include <gtest/gtest.h>

#include "x11_test_support.h"
// clang-format on

#include <X11/extensions/XTest.h>

#include <cstdlib>
#include <thread>

namespace keysnare::testing {
namespace {

// The X server resets when its last client leaves, and connections made during the reset
// fail. One connection held for the whole run keeps the server up between tests.
class HoldServer : public ::testing::Environment {
public:
    void SetUp() override { display_ = XOpenDisplay(nullptr); }
    void TearDown() override {
        if (display_ != nullptr) XCloseDisplay(display_);
    }

private:
    Display* display_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kHoldServer =
    ::testing::AddGlobalTestEnvironment(new HoldServer);

}  // namespace

TestWindow::TestWindow() : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr) return;
    window_ = XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, 10, 10, 0, 0, InputOnly,
                            CopyFromParent, 0, nullptr);
    trigger_atom_ = XInternAtom(display_, "WM_HOTKEY_TRIGGER", False);
    XSync(display_, False);
}

TestWindow::~TestWindow() {
    if (display_ != nullptr) XCloseDisplay(display_);
}

void TestWindow::Collect() {
    XSync(display_, False);
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == ClientMessage && event.xclient.message_type == trigger_atom_ &&
            event.xclient.format == 32) {
            received_.push_back({event.xclient.data.l[0], event.xclient.data.l[1]});
        }
    }
}

std::vector<Trigger> TestWindow::Received() {
    Collect();
    return received_;
}

std::vector<Trigger> TestWindow::WaitFor(std::size_t count, std::chrono::milliseconds limit) {
    WaitUntil(
        [&] {
            Collect();
            return received_.size() >= count;
        },
        limit);
    return received_;
}

TestKeyboard::TestKeyboard() : display_(XOpenDisplay(nullptr)) {}

TestKeyboard::~TestKeyboard() {
    if (display_ == nullptr) return;
    for (const unsigned keycode : held_) XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
    XCloseDisplay(display_);
}

void TestKeyboard::Down(std::initializer_list<const char*> keysyms) {
    for (const char* keysym : keysyms) Send(keysym, true);
}

void TestKeyboard::Up(std::initializer_list<const char*> keysyms) {
    for (const char* keysym : keysyms) Send(keysym, false);
}

void TestKeyboard::Send(const char* keysym, bool down) {
    const unsigned keycode = XKeysymToKeycode(display_, XStringToKeysym(keysym));
    ASSERT_NE(keycode, 0u) << keysym;
    XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime);
    XSync(display_, False);
    std::erase(held_, keycode);
    if (down) held_.push_back(keycode);
}

bool Xdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace keysnare::testing
