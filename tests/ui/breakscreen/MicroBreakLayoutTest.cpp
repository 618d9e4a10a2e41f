// SPDX-License-Identifier: MIT
#include "breakscreen/MicroBreakPrompts.h"
#include "ui/breakscreen/BreakContent.h"
#include "ui/breakscreen/QtBreakChrome.h"
#include "support/WidgetLookup.h"
#include "support/WidgetTestSupport.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace sorvala;

namespace {

struct Part {
    QString name;
    QRect rect;
};

/// What the micro content shows, in its own coordinates: the ring, and every label and button
/// outside it.
std::vector<Part> visibleParts(const QWidget& content, const QWidget& ring) {
    std::vector<Part> parts{{QStringLiteral("ring"), QRect(ring.mapTo(&content, QPoint(0, 0)), ring.size())}};
    for (auto* widget : content.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(widget);
        const auto* button = qobject_cast<QPushButton*>(widget);
        if ((!label && !button) || !widget->isVisibleTo(&content) || ring.isAncestorOf(widget))
            continue;
        parts.push_back({label ? label->text() : button->text(),
                         QRect(widget->mapTo(&content, QPoint(0, 0)), widget->size())});
    }
    return parts;
}

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
            const auto parts = visibleParts(content, *countdown->parentWidget());
            const auto where = QString::fromStdString(prompt.prompt) +
                               QStringLiteral(" at %1x%2").arg(size.width()).arg(size.height());
            for (std::size_t i = 0; i < parts.size(); ++i) {
                EXPECT_TRUE(content.rect().contains(parts[i].rect))
                    << qPrintable(where + ": " + parts[i].name);
                for (std::size_t j = i + 1; j < parts.size(); ++j)
                    EXPECT_FALSE(parts[i].rect.intersects(parts[j].rect))
                        << qPrintable(where + ": " + parts[i].name + " / " + parts[j].name);
            }
            // A label narrower than its text clips it; the ring's own labels stay inside the ring.
            for (auto* label : content.findChildren<QLabel*>()) {
                if (label->isVisibleTo(&content) && !label->wordWrap()) {
                    EXPECT_GE(label->width(), label->sizeHint().width())
                        << qPrintable(where + ": " + label->text());
                }
            }
            EXPECT_TRUE(parts.front().rect.contains(
                QRect(countdown->mapTo(&content, QPoint(0, 0)), countdown->size())))
                << qPrintable(where);
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
