// SPDX-License-Identifier: MIT
#include "platform/desktop/DesktopEntryIndex.h"
#include "platform/x11/X11KeyPressTracker.h"
#include "platform/x11/X11Probes.h"
#include "sensing/FrontmostApplication.h"

#include "support/TemporaryDirectory.h"

#include "SessionSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace sorvala;
using namespace sorvala::test;

namespace {

class X11Signals : public ::testing::Test {
protected:
    void SetUp() override {
        if (!hasDisplay())
            GTEST_SKIP() << "no X display";
        if (!hasProgram("xdotool"))
            GTEST_SKIP() << "no xdotool";
    }

    static void xdotool(const QStringList& arguments) {
        ASSERT_EQ(QProcess::execute("xdotool", arguments), 0);
    }
};

} // namespace

TEST_F(X11Signals, IdleTimeGrowsAndInputResetsIt) {
    X11Probes x;
    ASSERT_TRUE(x.isOpen());
    if (!x.hasIdleTime())
        GTEST_SKIP() << "no screen-saver extension";
    ASSERT_TRUE(waitUntil([&] { return x.idleSeconds().value_or(0) >= 0.5; }));
    const double before = *x.idleSeconds();
    xdotool({"mousemove_relative", "1", "1"});
    ASSERT_TRUE(waitUntil([&] { return x.idleSeconds().value_or(before) < before; }));
}

TEST_F(X11Signals, RawKeyPressesCountAlsoWhileAnotherProgramGrabsTheKeyboardButPointerMovesDoNot) {
    X11KeyPressTracker keys;
    ASSERT_TRUE(keys.isListening());
    ASSERT_TRUE(waitUntil([&] { return keys.secondsSinceLastKeyPress().value_or(0) >= 0.5; }));

    xdotool({"mousemove", "40", "40", "click", "1"});
    QCoreApplication::processEvents();
    EXPECT_GE(keys.secondsSinceLastKeyPress().value_or(0), 0.5);

    Child grabber(QCoreApplication::applicationFilePath(), {"--grab-keyboard"});
    ASSERT_TRUE(grabber.waitForOutput("grabbed")) << "the helper never got the keyboard";
    const double before = *keys.secondsSinceLastKeyPress();
    xdotool({"key", "a"});
    EXPECT_TRUE(waitUntil([&] { return keys.secondsSinceLastKeyPress().value_or(before) < before; }))
        << "a press into the grabbing window went unseen";
}

TEST_F(X11Signals, ActiveWindowOfAnotherProgramAndItsFullscreenState) {
    X11Probes x;
    ASSERT_TRUE(x.isOpen());
    const QString helper = QCoreApplication::applicationFilePath();
    const std::vector<FrontmostApplication::Rect> displays = {x.rootGeometry()};
    const auto own = static_cast<std::uint32_t>(getpid());
    const auto shows = [](const auto& window, const Child& child) {
        return window && window->processId == static_cast<std::uint32_t>(child.pid());
    };

    TemporaryDirectory applications;
    std::filesystem::create_directories(applications / "org/example");

    {
        Child normal(helper, {"--show-window", "normal"});
        ASSERT_TRUE(waitUntil([&] { return shows(x.activeWindow(), normal); }))
            << "the window manager never activated the helper's window";
        const auto window = x.activeWindow();
        EXPECT_FALSE(FrontmostApplication::isFullscreen(window, displays, own));
        ASSERT_TRUE(window->wmClassClass.has_value());

        // The application id comes from the StartupWMClass of an installed desktop file.
        writeFile(applications / "org/example/Helper.desktop",
                  "[Desktop Entry]\nType=Application\nName=Helper\nStartupWMClass=" + *window->wmClassClass +
                      "\n");
        const auto entries = DesktopEntryIndex::read({QString::fromStdString(applications.path().string())});
        EXPECT_EQ(FrontmostApplication::applicationId(window, entries, "", own), "org-example-Helper");
    }
    {
        Child fullscreen(helper, {"--show-window", "fullscreen"});
        // The state arrives before the window manager has resized the window: wait for both.
        ASSERT_TRUE(waitUntil([&] {
            const auto window = x.activeWindow();
            return shows(window, fullscreen) && FrontmostApplication::isFullscreen(window, displays, own) &&
                   window->frame == displays.front();
        })) << "the helper's fullscreen window was never seen as fullscreen";
        const auto window = x.activeWindow();
        EXPECT_NE(std::find(window->states.begin(), window->states.end(), "_NET_WM_STATE_FULLSCREEN"),
                  window->states.end());
    }
}
