// SPDX-License-Identifier: MIT
#include "platform/desktop/DesktopEntryIndex.h"
#include "platform/x11/X11KeyPressTracker.h"
#include "platform/x11/X11Probes.h"
#include "sensing/FrontmostApplication.h"

#include "SessionSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
        if (!hasProgram(QStringLiteral("xdotool")))
            GTEST_SKIP() << "no xdotool";
    }

    static void xdotool(const QStringList& arguments) {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
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
    xdotool({QStringLiteral("mousemove_relative"), QStringLiteral("1"), QStringLiteral("1")});
    ASSERT_TRUE(waitUntil([&] { return x.idleSeconds().value_or(before) < before; }));
}

TEST_F(X11Signals, RawKeyPressesCountButPointerMovesDoNot) {
    X11KeyPressTracker keys;
    ASSERT_TRUE(keys.isListening());
    ASSERT_TRUE(waitUntil([&] { return keys.secondsSinceLastKeyPress().value_or(0) >= 0.5; }));

    xdotool({QStringLiteral("mousemove"), QStringLiteral("40"), QStringLiteral("40")});
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    QCoreApplication::processEvents();
    EXPECT_GE(keys.secondsSinceLastKeyPress().value_or(0), 0.5);

    const double before = *keys.secondsSinceLastKeyPress();
    xdotool({QStringLiteral("key"), QStringLiteral("shift")});
    EXPECT_TRUE(waitUntil([&] { return keys.secondsSinceLastKeyPress().value_or(before) < before; }));
}

TEST_F(X11Signals, KeyPressesCountWhileAnotherProgramGrabsTheKeyboard) {
    X11KeyPressTracker keys;
    ASSERT_TRUE(keys.isListening());
    Child grabber(QCoreApplication::applicationFilePath(), {QStringLiteral("--grab-keyboard")});
    ASSERT_TRUE(grabber.waitForOutput("grabbed")) << "the helper never got the keyboard";
    ASSERT_TRUE(waitUntil([&] { return keys.secondsSinceLastKeyPress().value_or(0) >= 0.5; }));
    const double before = *keys.secondsSinceLastKeyPress();
    xdotool({QStringLiteral("key"), QStringLiteral("a")});
    EXPECT_TRUE(waitUntil([&] { return keys.secondsSinceLastKeyPress().value_or(before) < before; }))
        << "a press into the grabbing window went unseen";
}

TEST_F(X11Signals, ActiveWindowOfAnotherProgramAndItsFullscreenState) {
    X11Probes x;
    ASSERT_TRUE(x.isOpen());
    const QString helper = QCoreApplication::applicationFilePath();
    const std::vector<FrontmostApplication::Rect> displays = {x.rootGeometry()};
    const auto own = static_cast<std::uint32_t>(getpid());

    QTemporaryDir applications;
    ASSERT_TRUE(applications.isValid());
    QDir(applications.path()).mkpath(QStringLiteral("org/example"));
    QFile entry(applications.filePath(QStringLiteral("org/example/Helper.desktop")));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));

    {
        Child normal(helper, {QStringLiteral("--show-window"), QStringLiteral("normal")});
        const auto pid = static_cast<std::uint32_t>(normal.pid());
        ASSERT_TRUE(waitUntil([&] {
            const auto window = x.activeWindow();
            return window && window->processId == pid;
        })) << "the window manager never activated the helper's window";
        const auto window = x.activeWindow();
        EXPECT_FALSE(FrontmostApplication::isFullscreen(window, displays, own));
        ASSERT_TRUE(window->wmClassClass.has_value());

        // The application id comes from the StartupWMClass of an installed desktop file.
        entry.write("[Desktop Entry]\nType=Application\nName=Helper\nStartupWMClass=" +
                    QByteArray::fromStdString(*window->wmClassClass) + "\n");
        entry.close();
        const auto entries = DesktopEntryIndex::read({applications.path()});
        EXPECT_EQ(FrontmostApplication::applicationId(window, entries, "", own), "org-example-Helper");
    }
    {
        Child fullscreen(helper, {QStringLiteral("--show-window"), QStringLiteral("fullscreen")});
        const auto pid = static_cast<std::uint32_t>(fullscreen.pid());
        ASSERT_TRUE(waitUntil([&] {
            const auto window = x.activeWindow();
            // The state arrives before the window manager has resized the window: wait for both.
            return window && window->processId == pid &&
                   FrontmostApplication::isFullscreen(window, displays, own) &&
                   window->frame == displays.front();
        })) << "the helper's fullscreen window was never seen as fullscreen";
        const auto window = x.activeWindow();
        EXPECT_NE(std::find(window->states.begin(), window->states.end(), "_NET_WM_STATE_FULLSCREEN"),
                  window->states.end());
    }
}

TEST_F(X11Signals, XvfbHasNoDisplayPowerManagement) {
    // Xvfb offers no DPMS: the probe must say "awake", not fail.
    X11Probes x;
    ASSERT_TRUE(x.isOpen());
    if (x.hasDpms())
        GTEST_SKIP() << "this X server has DPMS";
    EXPECT_EQ(x.dpms(), std::nullopt);
}
