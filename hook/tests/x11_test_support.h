// Helpers of the tests that run against an X server (under xvfb-run): a window that collects
// the hot-key messages sent to it, and xdotool to press keys as a user would.
#ifndef KEYSNARE_TESTS_X11_TEST_SUPPORT_H
#define KEYSNARE_TESTS_X11_TEST_SUPPORT_H

#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace keysnare::testing {

struct Trigger {
    long message;  // data.l[0]
    long active;   // data.l[1]
};

// A window of its own connection that receives ClientMessages of type "WM_HOTKEY_TRIGGER".
class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    bool ok() const { return display_ != nullptr; }
    std::uint32_t id() const { return static_cast<std::uint32_t>(window_); }
    // Every trigger that has arrived so far; XSync first, so that whatever the server
    // delivered before this call is included.
    std::vector<Trigger> Received();
    // Waits up to "limit" until at least "count" triggers have arrived.
    std::vector<Trigger> WaitFor(std::size_t count,
                                 std::chrono::milliseconds limit = std::chrono::seconds(10));

private:
    void Collect();

    Display* display_ = nullptr;
    Window window_ = 0;
    Atom trigger_atom_ = 0;
    std::vector<Trigger> received_;
};

// Presses and releases keys through XTest on a connection of its own. The X server keeps a
// key down only while the connection that pressed it lives (xdotool's keydown lasts as long
// as the xdotool run), so tests that hold keys between steps use this.
class TestKeyboard {
public:
    TestKeyboard();
    // Releases whatever is still held.
    ~TestKeyboard();
    TestKeyboard(const TestKeyboard&) = delete;
    TestKeyboard& operator=(const TestKeyboard&) = delete;

    bool ok() const { return display_ != nullptr; }
    // Keys by keysym name ("Control_L", "Left"), in order; returns when the server has them.
    void Down(std::initializer_list<const char*> keysyms);
    void Up(std::initializer_list<const char*> keysyms);

private:
    void Send(const char* keysym, bool down);

    Display* display_ = nullptr;
    std::vector<unsigned> held_;
};

// Runs "xdotool <arguments>" and tells whether it succeeded.
bool Xdotool(const std::string& arguments);

// Waits up to "limit" for "done" to hold, checking every few milliseconds.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

}  // namespace keysnare::testing

#endif  // KEYSNARE_TESTS_X11_TEST_SUPPORT_H
