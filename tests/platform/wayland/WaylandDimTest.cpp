// SPDX-License-Identifier: MIT
// The heads-up's dim as layer surfaces, against a real compositor (run through in-headless-sway,
// else skipped): every output covered, and an output plugged in while it shows covered too. What
// it looks like is judged from sway's pictures in sway-break-screen.py.
#include "ui/wayland/WaylandDim.h"
#include "support/QtEventLoop.h"

#include <QGuiApplication>
#include <QProcess>

#include <gtest/gtest.h>

using namespace sorvala;

TEST(WaylandDimTest, CoversEveryOutputAndFollowsNewOnes) {
    if (!QGuiApplication::platformName().startsWith("wayland"))
        GTEST_SKIP() << "needs a headless compositor (in-headless-sway)";
    WaylandDim dim;
    if (!dim.isShowing())
        GTEST_SKIP() << "the compositor offers no layer shell";
    dim.setAlpha(0.5);
    const int outputs = int(QGuiApplication::screens().size());
    EXPECT_TRUE(waitUntil([&] { return dim.coveredOutputs() == outputs; })) << dim.coveredOutputs();
    if (QProcess::execute("swaymsg", {"create_output"}) != 0)
        GTEST_SKIP() << "only sway can plug in an output";
    EXPECT_TRUE(waitUntil([&] { return dim.coveredOutputs() == outputs + 1; })) << dim.coveredOutputs();
}
