// SPDX-License-Identifier: MIT
#include "breakscreen/MicroBreakPrompts.h"
#include "ui/breakscreen/BreakContent.h"
#include "ui/breakscreen/QtBreakChrome.h"
#include "support/TextFitChecks.h"
#include "support/WidgetLookup.h"
#include "support/WidgetTestSupport.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace sorvala;

namespace {

TEST(MicroBreakLayout, NothingOverlapsOrLeavesTheScreenFromTheSmallestSizeUp) {
    const QSize sizes[] = {{480, 360},  {480, 540},   {640, 480},  {800, 600},
                           {1280, 720}, {1920, 1080}, {3840, 2160}};
    const BreakContentStyle style{BreakPalette::resolve(false), Qt::white, true};
    for (const auto& prompt : MicroBreakPrompts::all()) {
        for (const QSize size : sizes) {
            const BreakWindows::MicroContent micro{
                .prompt = prompt, .restSeconds = 20, .skipVisible = true, .escapeHintVisible = true};
            MicroBreakContent content(style, micro, {}, nullptr);
            content.resize(size);
            content.show();
            QCoreApplication::processEvents();
            const QLabel* countdown = labelReading(content, QStringLiteral("0:20"));
            ASSERT_NE(countdown, nullptr);
            const QWidget* ring = countdown->parentWidget();
            const QRect ringArea(ring->mapTo(&content, QPoint(0, 0)), ring->size());
            const auto where = QString::fromStdString(prompt.prompt) +
                               QStringLiteral(" at %1x%2").arg(size.width()).arg(size.height());
            for (const auto& fault : textFitFaults(content))
                ADD_FAILURE() << qPrintable(where + ": " + fault);
            // Every text beside the ring stays on the screen and off the ring.
            EXPECT_TRUE(content.rect().contains(ringArea)) << qPrintable(where);
            for (const auto* widget : content.findChildren<QWidget*>()) {
                const auto* label = qobject_cast<const QLabel*>(widget);
                const auto* button = qobject_cast<const QPushButton*>(widget);
                if ((!label && !button) || !widget->isVisibleTo(&content) || ring->isAncestorOf(widget))
                    continue;
                const QRect area(widget->mapTo(&content, QPoint(0, 0)), widget->size());
                EXPECT_TRUE(content.rect().contains(area) && !area.intersects(ringArea))
                    << qPrintable(where + ": " + (label ? label->text() : button->text()));
            }
        }
    }
}

TEST(MicroBreakLook, TheRingEmptiesClockwiseFromTheTopOverAWashOfItsOwnSize) {
    const QColor background = QColor::fromRgbF(0.07f, 0.07f, 0.07f);
    const BreakContentStyle style{BreakPalette::resolve(true), background, true};
    const BreakWindows::MicroContent micro{.prompt = MicroBreakPrompts::all().front(), .restSeconds = 4};
    MicroBreakContent content(style, micro, {}, nullptr);
    content.resize(1600, 1200);
    content.show();
    waitFor([] { return false; }, 1500); // about 60 % of the ring is left: it covers 3 o'clock, not 9
    const QImage shot = content.grab().toImage();

    const QLabel* countdown = labelReading(content, QStringLiteral("0:04"));
    ASSERT_NE(countdown, nullptr);
    const QWidget* ring = countdown->parentWidget();
    const QPoint centre = ring->mapTo(&content, ring->rect().center());
    const int radius = int(std::lround(120.0 * ring->width() / 300));
    const QColor accent = QtBreakChrome::colour(style.palette.accent);
    const auto nearAccent = [&](QPoint p) {
        const QColor c = shot.pixelColor(p);
        return std::abs(c.red() - accent.red()) + std::abs(c.green() - accent.green()) + std::abs(c.blue() - accent.blue()) < 90;
    };
    EXPECT_TRUE(nearAccent(centre + QPoint(radius, 0))) << "3 o'clock still lit";
    EXPECT_FALSE(nearAccent(centre - QPoint(radius, 0))) << "9 o'clock already empty";

    // The wash reaches 0.6 of the width and 0.45 of the height from its centre at 42 % from the
    // top, and is clear from 0.62 of that out.
    EXPECT_NE(shot.pixel(1200, int(0.42 * 1200)), background.rgb()) << "inside the wash";
    EXPECT_EQ(shot.pixel(1200, int(0.63 * 1200)), background.rgb()) << "past its fade";
}

} // namespace
