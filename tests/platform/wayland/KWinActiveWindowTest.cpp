// SPDX-License-Identifier: MIT
// Against a real KWin: run through in-headless-kwin (its ctest entry does), else skipped.
#include "platform/wayland/KWinActiveWindow.h"
#include "support/QtEventLoop.h"

#include <QGuiApplication>
#include <QRasterWindow>

#include <gtest/gtest.h>

using namespace sorvala;

TEST(KWinActiveWindowTest, ActiveWindowGivesDesktopFileNameAndFullscreen) {
    if (!QGuiApplication::platformName().startsWith("wayland") || qgetenv("XDG_CURRENT_DESKTOP") != "KDE")
        GTEST_SKIP() << "needs a headless KWin (in-headless-kwin)";
    KWinActiveWindow kwin(QDBusConnection::sessionBus());
    ASSERT_TRUE(kwin.isWatching()) << "KWin did not run our script";
    const auto waitFor = [&](const std::optional<WaylandReadings::Toplevel>& expected) {
        return waitUntil([&] { return kwin.activeWindow() == expected; }, 5000);
    };

    QGuiApplication::setDesktopFileName("org.example.Viewer");
    QRasterWindow window;
    window.resize(320, 200);
    window.show();
    EXPECT_TRUE(waitFor(WaylandReadings::Toplevel{"org.example.Viewer", true, false}));
    window.showFullScreen();
    EXPECT_TRUE(waitFor(WaylandReadings::Toplevel{"org.example.Viewer", true, true}));
    window.close();
    EXPECT_TRUE(waitFor(std::nullopt));
}
