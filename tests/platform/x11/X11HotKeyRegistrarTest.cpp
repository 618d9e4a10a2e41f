// SPDX-License-Identifier: MIT
#include "platform/x11/X11HotKeyRegistrar.h"
#include "app/HotKeys.h"
#include "support/MemoryPreferences.h"
#include "support/QtEventLoop.h"
#include "support/RecordingLogger.h"
#include "support/ScopedEnvironment.h"

#include <QGuiApplication>
#include <QProcess>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

// Last: Xlib's macros (None, KeyPress, Bool, ...) clash with the headers above.
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <memory>

namespace sorvala {
namespace {

using ::testing::ElementsAre;

constexpr std::uint32_t ctrlAltSuper = 6400;

/// Another X client, to hold a combination before we try it; its connection closes when it goes.
struct OtherClient {
    std::unique_ptr<Display, decltype(&XCloseDisplay)> display{XOpenDisplay(nullptr), XCloseDisplay};

    /// Grabs Ctrl+Alt+Super+`keysym` (no lock keys) and answers the X error code, 0 when it worked.
    int grab(KeySym keysym) const {
        xcb_connection_t* connection = XGetXCBConnection(display.get());
        const auto cookie =
            xcb_grab_key_checked(connection, 0, static_cast<xcb_window_t>(DefaultRootWindow(display.get())),
                                 ControlMask | Mod1Mask | Mod4Mask,
                                 static_cast<xcb_keycode_t>(XKeysymToKeycode(display.get(), keysym)),
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(connection, cookie);
        const int code = error ? error->error_code : 0;
        std::free(error);
        return code;
    }
};

class X11HotKeys : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!std::getenv("DISPLAY"))
            return;
        static int argc = 1;
        static char name[] = "sorvala_platform_x11_tests";
        static char* argv[] = {name, nullptr};
        const ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
        static QGuiApplication application(argc, argv);
    }

    void SetUp() override {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X server (run inside scripts/test-session)";
        registrar = X11HotKeyRegistrar::create(log);
        ASSERT_NE(registrar, nullptr);
        registrar->setPressedHandler([this](ShortcutAction action) { pressed.push_back(action); });
    }

    static void sendKeys(const char* keys) {
        ASSERT_EQ(QProcess::execute("xdotool", {"key", keys}), 0) << keys;
    }

    // Lets the event loop deliver presses until `count` arrived, or a generous deadline passed.
    void awaitPresses(std::size_t count) {
        waitUntil([&] { return pressed.size() >= count; }, 5000);
        // One more round so a press that should not have come has its chance to show.
        runEventsFor(100);
    }

    RecordingLogger log;
    std::unique_ptr<X11HotKeyRegistrar> registrar;
    std::vector<ShortcutAction> pressed;
};

// A press with Num Lock on is pressed through the settings window's recorder on real layouts.
TEST_F(X11HotKeys, ACombinationTakenByAnotherClientFailsAndTheOthersStillWork) {
    OtherClient other;
    ASSERT_EQ(other.grab(XK_p), 0);
    MemoryPreferences store;
    store.set(SettingsSchema::shortcutTogglePauseKey, KeyboardShortcut{35, ctrlAltSuper, "P"}.encoded());
    store.set(SettingsSchema::shortcutStartMicroBreakKey, KeyboardShortcut{46, ctrlAltSuper, "M"}.encoded());

    // The X error of the refused grab reaches the log; the logging itself is the hot keys' own.
    EXPECT_EQ(HotKeys::registerHotKeys(store, *registrar, log), 2);
    EXPECT_EQ(log.lines.front(), "hot key registration failed action=togglePause key=P status=10");
    // Without Super the combination is not ours; the presses after it show it had its chance.
    sendKeys("ctrl+alt+b");
    sendKeys("ctrl+alt+super+m");
    sendKeys("ctrl+alt+super+b");
    awaitPresses(2);
    EXPECT_THAT(pressed, ElementsAre(ShortcutAction::startMicroBreak, ShortcutAction::toggleBreak));
}

TEST_F(X11HotKeys, RegisteringAgainReleasesTheOldGrabs) {
    ASSERT_THAT(registrar->replaceBindings({{ShortcutAction::toggleBreak, {11, ctrlAltSuper, "B"}}}),
                ElementsAre(std::nullopt));
    ASSERT_THAT(registrar->replaceBindings({{ShortcutAction::toggleBreak, {45, ctrlAltSuper, "N"}}}),
                ElementsAre(std::nullopt));
    OtherClient other;
    EXPECT_EQ(other.grab(XK_b), 0) << "the old combination is still held";
    EXPECT_EQ(other.grab(XK_n), 10) << "the new combination is not held";
    sendKeys("ctrl+alt+super+n");
    awaitPresses(1);
    EXPECT_THAT(pressed, ElementsAre(ShortcutAction::toggleBreak));
}

} // namespace
} // namespace sorvala
