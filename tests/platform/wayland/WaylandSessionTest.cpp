// SPDX-License-Identifier: MIT
// Against a real compositor: run through in-headless-sway or in-headless-kwin (their ctest
// entries do), else skipped.
#include "platform/wayland/WaylandSession.h"
#include "support/QtEventLoop.h"

#include <QGuiApplication>
#include <QProcess>
#include <QRasterWindow>

#include <gtest/gtest.h>

using namespace sorvala;

namespace {

class WaylandSessionTest : public testing::Test {
protected:
    void SetUp() override {
        if (!QGuiApplication::platformName().startsWith("wayland"))
            GTEST_SKIP() << "needs a headless compositor (in-headless-sway, in-headless-kwin)";
    }
};

} // namespace

TEST_F(WaylandSessionTest, IdleGrowsWithoutInputAndResetsOnKeys) {
    WaylandSession session("sorvala");
    ASSERT_TRUE(session.isConnected());
    EXPECT_NE(session.idleBackEnd(), "none");
    EXPECT_TRUE(waitUntil([&] { return session.secondsSinceLastInput().value_or(0) >= 2.0; }));
    // A one-shot reader (sorvalactl probe) reads at once and still hears "away", counted from
    // when it asked: the protocols tell no more.
    EXPECT_GE(WaylandSession("sorvala").secondsSinceLastInput().value_or(0), 1.0);

    // wtype types through the compositor's virtual keyboard, which counts as the seat's input;
    // KWin offers no virtual keyboard to ordinary clients.
    if (QProcess::execute("wtype", {"x"}) != 0)
        GTEST_SKIP() << "the compositor takes no keys from wtype";
    EXPECT_TRUE(waitUntil([&] { return session.secondsSinceLastInput().value_or(99) < 1.0; }));
}

TEST_F(WaylandSessionTest, FocusedWindowGivesAppIdAndFullscreen) {
    QGuiApplication::setDesktopFileName("org.example.Viewer");
    QRasterWindow window;
    window.resize(320, 200);
    window.show();
    WaylandSession session("sorvala");
    if (!session.tracksToplevels())
        GTEST_SKIP() << "the compositor does not list other clients' windows";
    EXPECT_TRUE(waitUntil([&] {
        const auto focused = session.focusedToplevel();
        return focused && focused->appId == "org.example.Viewer" && !focused->fullscreen;
    }));

    window.showFullScreen();
    EXPECT_TRUE(waitUntil([&] { return WaylandReadings::isFullscreen(session.focusedToplevel(), "sorvala"); }));

    window.close();
    EXPECT_TRUE(waitUntil([&] { return !session.focusedToplevel(); }));
}
