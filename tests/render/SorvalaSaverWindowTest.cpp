// SPDX-License-Identifier: MIT
#include "render/SorvalaSaverWindow.h"
#include "support/MemoryPreferences.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

TEST(SaverWindowHost, DrawsFramesAtTheWindowsSizeAndRatio) {
    MemoryPreferences store;
    SorvalaSaverWindow window(store);
    window.resize(240, 160);
    window.show();
    window.startAnimation();
    QElapsedTimer waited;
    waited.start();
    // Frames come from the platform's update requests; wait for a few, not for a time.
    while (window.view().logic().inkDistance() <= 0 && waited.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_GT(window.view().logic().inkDistance(), 0);
    EXPECT_EQ(window.view().logic().width(), 240);
    EXPECT_EQ(window.view().pixelSize(), (QSizeF(240, 160) * window.devicePixelRatio()).toSize());

    window.resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.view().logic().width(), 300) << "a new size starts a drawing for it";
    window.stopAnimation();
}

} // namespace
} // namespace sorvala
