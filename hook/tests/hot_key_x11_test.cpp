// The listener and the playback against a real X server: run under xvfb-run, keys pressed
// with xdotool.
#include <X11/Xatom.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <initializer_list>
#include <string>

#include "hook/hot_key.h"
#include "x11_test_support.h"

namespace keysnare {
namespace {

using testing::WaitUntil;
using testing::Xdotool;

constexpr std::uint32_t kControl = 0x11, kShift = 0x10, kLeft = 0x25, kF1 = 0x70, kF2 = 0x71;
constexpr std::uint32_t kMessage = 1034;
constexpr std::uint32_t kPress = 0x8000;

std::string BlockName() {
    return "/keysnare-x11-test." + std::to_string(getpid()) + "." +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

class HotKeyX11Test : public ::testing::Test {
protected:
    HotKeyX11Test() : hot_key_(BlockName()) {}

    void SetUp() override {
        ASSERT_TRUE(window_.ok() && keyboard_.ok()) << "no X display: run under xvfb-run";
        ASSERT_NE(hot_key_.block(), nullptr);
        ASSERT_EQ(hot_key_.SetKeySchortcut(kControl, kShift, 0), 1);
        ASSERT_EQ(hot_key_.SetKeysnare(window_.id(), kMessage), 1);
    }

    // Runs "act" and waits until the listener has handled the "events" raw key events it
    // makes, and with them sent every message they cause.
    void Await(std::uint64_t events, const std::function<void()>& act) {
        const std::uint64_t before = hot_key_.key_events();
        act();
        ASSERT_TRUE(WaitUntil([&] { return hot_key_.key_events() >= before + events; }))
            << "the listener saw " << hot_key_.key_events() - before << " of " << events
            << " events";
    }
    void Down(std::initializer_list<const char*> keys) {
        Await(keys.size(), [&] { keyboard_.Down(keys); });
    }
    void Up(std::initializer_list<const char*> keys) {
        Await(keys.size(), [&] { keyboard_.Up(keys); });
    }
    // xdotool presses and releases every key it names.
    void Xdo(const std::string& arguments, std::uint64_t events) {
        Await(events, [&] { ASSERT_TRUE(Xdotool(arguments)) << arguments; });
    }

    std::uint32_t armed() { return Load(hot_key_.block()->armed); }

    testing::TestWindow window_;
    testing::TestKeyboard keyboard_;
    HotKey hot_key_;  // last: stops listening before the keyboard lets its keys go
};

TEST_F(HotKeyX11Test, ControlShiftPressedAndReleasedPostsOneMessage) {
    Down({"Control_L", "Shift_L"});
    EXPECT_EQ(armed(), 1u);
    EXPECT_TRUE(window_.Received().empty());
    Up({"Shift_L"});
    EXPECT_TRUE(window_.Received().empty());
    Up({"Control_L"});
    const auto received = window_.Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, static_cast<long>(kMessage));
    EXPECT_EQ(received[0].active, 0);  // no window manager names an active window
    EXPECT_EQ(armed(), 0u);

    Xdo("key ctrl+shift", 4);
    EXPECT_EQ(window_.Received().size(), 2u);
}

TEST_F(HotKeyX11Test, RightHandKeysAndTheActiveWindow) {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    const Window active =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 5, 5, 0, 0, 0);
    const Atom net_active_window = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    XChangeProperty(display, DefaultRootWindow(display), net_active_window, XA_WINDOW, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&active), 1);
    XSync(display, False);
    Down({"Shift_R", "Control_R"});
    Up({"Control_R", "Shift_R"});
    const auto received = window_.Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(static_cast<Window>(received[0].active), active);
    XDeleteProperty(display, DefaultRootWindow(display), net_active_window);
    XCloseDisplay(display);
}

TEST_F(HotKeyX11Test, KeyPressedInBetweenDoesNotCancel) {
    Down({"Control_L", "Shift_L", "Left"});
    Up({"Left", "Shift_L"});
    EXPECT_TRUE(window_.Received().empty());
    Up({"Control_L"});
    EXPECT_EQ(window_.Received().size(), 1u);
    Xdo("key ctrl+shift+Left", 6);
    EXPECT_EQ(window_.Received().size(), 2u);
}

TEST_F(HotKeyX11Test, WithAThirdKeyTheFirstTwoNeverArm) {
    ASSERT_EQ(hot_key_.SetKeySchortcut(kControl, kShift, kF1), 1);
    Down({"Control_L", "Shift_L"});
    EXPECT_EQ(armed(), 0u);
    Up({"Shift_L", "Control_L"});
    EXPECT_TRUE(window_.Received().empty());
    Down({"Control_L", "Shift_L", "F1"});
    EXPECT_EQ(armed(), 1u);
    Up({"Shift_L", "Control_L"});
    EXPECT_TRUE(window_.Received().empty());  // F1 still held
    Up({"F1"});
    EXPECT_EQ(window_.Received().size(), 1u);
}

TEST_F(HotKeyX11Test, NewKeysWhileArmedKeepArmedAndDecideTheRelease) {
    Down({"Control_L", "Shift_L"});
    ASSERT_EQ(armed(), 1u);
    ASSERT_EQ(hot_key_.SetKeySchortcut(kF1, kF2, 0), 1);
    EXPECT_EQ(armed(), 1u);
    EXPECT_TRUE(window_.Received().empty());
    // F1 and F2 are up, so the next key event completes the release.
    Down({"Left"});
    EXPECT_EQ(window_.Received().size(), 1u);
    Up({"Left", "Shift_L", "Control_L"});
    EXPECT_EQ(window_.Received().size(), 1u);
}

TEST_F(HotKeyX11Test, SecondSetKeysnareRetargetsTheRunningListener) {
    testing::TestWindow other;
    ASSERT_TRUE(other.ok());
    ASSERT_EQ(hot_key_.SetKeysnare(other.id(), 2000), 1);
    Xdo("key ctrl+shift", 4);
    EXPECT_TRUE(window_.Received().empty());
    const auto received = other.Received();
    ASSERT_EQ(received.size(), 1u);  // one listener, one message
    EXPECT_EQ(received[0].message, 2000);
}

TEST_F(HotKeyX11Test, VanishedTargetWindowLosesTheMessageOnly) {
    ASSERT_EQ(hot_key_.SetKeysnare(0x3FFFFFF, kMessage), 1);  // no such window
    Xdo("key ctrl+shift", 4);
    ASSERT_EQ(hot_key_.SetKeysnare(window_.id(), kMessage), 1);
    Xdo("key ctrl+shift", 4);
    EXPECT_EQ(window_.Received().size(), 1u);
}

TEST_F(HotKeyX11Test, KillKeysnareStopsListening) {
    EXPECT_EQ(hot_key_.KillKeysnare(), 1);
    EXPECT_EQ(hot_key_.KillKeysnare(), 1);
    EXPECT_EQ(hot_key_.key_events(), 0u);
    // The block keeps the combination: a new listener takes it up.
    ASSERT_EQ(hot_key_.SetKeysnare(window_.id(), kMessage), 1);
    Xdo("key ctrl+shift", 4);
    EXPECT_EQ(window_.Received().size(), 1u);
}

TEST_F(HotKeyX11Test, ListenerStartsWithTheKeysAlreadyHeld) {
    ASSERT_EQ(hot_key_.KillKeysnare(), 1);
    keyboard_.Down({"Control_L"});
    ASSERT_EQ(hot_key_.SetKeysnare(window_.id(), kMessage), 1);
    Down({"Shift_L"});
    EXPECT_EQ(armed(), 1u);
    Up({"Shift_L", "Control_L"});
    EXPECT_EQ(window_.Received().size(), 1u);
}

TEST_F(HotKeyX11Test, SendKeysTypesTheList) {
    const std::uint32_t keys[] = {kPress | kControl, kPress | kShift, kShift, kControl};
    Await(4, [&] { EXPECT_EQ(hot_key_.SendKeys(keys, 4), 1); });
    EXPECT_EQ(window_.Received().size(), 1u);
}

TEST_F(HotKeyX11Test, SendKeysWaitsForModifiersAndRefusesASecondPlayback) {
    // CONTROL + LEFT as the combination: played while CONTROL is still down, LEFT would arm
    // it and the release would post a message.
    ASSERT_EQ(hot_key_.SetKeySchortcut(kControl, kLeft, 0), 1);
    Down({"Control_L"});
    const std::uint32_t keys[] = {kPress | kLeft, kLeft};
    auto first = std::async(std::launch::async, [&] { return hot_key_.SendKeys(keys, 2); });
    ASSERT_TRUE(WaitUntil([&] { return hot_key_.playing(); }));
    EXPECT_EQ(hot_key_.SendKeys(keys, 2), 0);
    EXPECT_EQ(hot_key_.SendKeys(keys, 0), 0);
    Await(3, [&] {
        keyboard_.Up({"Control_L"});
        EXPECT_EQ(first.get(), 1);
    });
    EXPECT_TRUE(window_.Received().empty());
    EXPECT_EQ(armed(), 0u);
    Await(2, [&] { EXPECT_EQ(hot_key_.SendKeys(keys, 2), 1); });  // free again
}

TEST_F(HotKeyX11Test, WepInterruptsAWaitingPlayback) {
    Down({"Shift_R"});
    const std::uint32_t keys[] = {kPress | kLeft, kLeft};
    auto waiting = std::async(std::launch::async, [&] { return hot_key_.SendKeys(keys, 2); });
    ASSERT_TRUE(WaitUntil([&] { return hot_key_.playing(); }));
    EXPECT_EQ(hot_key_.Wep(), 1);
    EXPECT_EQ(waiting.get(), 0);
    Up({"Shift_R"});
    EXPECT_EQ(hot_key_.Wep(), 1);  // with nothing to interrupt
    Await(2, [&] { EXPECT_EQ(hot_key_.SendKeys(keys, 2), 1); });
    EXPECT_EQ(hot_key_.key_events(), 4u);  // Shift_R down and up, then the one playback
}

// Starts a private X server and points $DISPLAY at it for the life of the object.
class PrivateXServer {
public:
    PrivateXServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", nullptr);
            _exit(127);
        }
        close(fds[1]);
        // The server may write its display number in pieces, and a write to a
        // closed pipe is fatal to it: read up to the line feed and keep the
        // pipe open while the server lives.
        pipe_ = fds[0];
        std::string number;
        char c = 0;
        while (pid_ > 0 && number.size() < 16 && read(pipe_, &c, 1) == 1 && c != '\n') {
            number.push_back(c);
        }
        if (pid_ < 0 || number.empty()) return;
        const char* old = std::getenv("DISPLAY");
        old_display_ = old != nullptr ? old : "";
        setenv("DISPLAY", (":" + number).c_str(), 1);
        running_ = true;
    }
    ~PrivateXServer() {
        Kill();
        setenv("DISPLAY", old_display_.c_str(), 1);
    }
    bool running() const { return running_; }
    void Kill() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        if (pipe_ >= 0) {
            close(pipe_);
            pipe_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    int pipe_ = -1;
    bool running_ = false;
    std::string old_display_;
};

TEST(HotKeyLostServerTest, ListenerOutlivesItsXServer) {
    HotKey hot_key(BlockName());
    {
        PrivateXServer server;
        ASSERT_TRUE(server.running());
        ASSERT_EQ(hot_key.SetKeysnare(1, kMessage), 1);
        server.Kill();
        // The process goes on. Once the listener has noticed, SetKeysnare replaces it, and
        // the new one finds no server.
        EXPECT_TRUE(WaitUntil([&] { return hot_key.SetKeysnare(1, kMessage) == 0; }));
        EXPECT_EQ(hot_key.KillKeysnare(), 1);
    }
    testing::TestWindow window;
    ASSERT_TRUE(window.ok());
    EXPECT_EQ(hot_key.SetKeysnare(window.id(), kMessage), 1);
}

}  // namespace
}  // namespace keysnare
