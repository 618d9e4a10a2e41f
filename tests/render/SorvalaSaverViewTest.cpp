// SPDX-License-Identifier: MIT
#include "drawing/AppearanceKeys.h"
#include "render/InkRaster.h"
#include "render/SorvalaSaverView.h"
#include "render/SorvalaSaverWindow.h"
#include "support/MemoryPreferences.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cmath>

namespace sorvala {
namespace {

Sorvala twoStrokes(double, double) {
    Stroke wave{{}, 1.6};
    for (int i = 0; i <= 400; ++i)
        wave.points.push_back({20 + i * 0.9, 100 + 40 * std::sin(i * 0.05)});
    return Sorvala({wave, Stroke{{{30, 30}, {330, 160}}, 1.0}});
}

ProgressiveRenderer::Environment handMade() {
    ProgressiveRenderer::Environment environment;
    environment.generate = [](double w, double h, int, std::uint64_t) { return twoStrokes(w, h); };
    environment.random = [] { return std::uint64_t{0}; }; // pencil, classic ink
    environment.profiling = false;
    return environment;
}

QImage blank(QSize points, qreal dpr) {
    QImage image((QSizeF(points) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::magenta); // anything left unpainted shows
    return image;
}

long long area(const QRegion& region) {
    long long total = 0;
    for (const QRect& rect : region)
        total += static_cast<long long>(rect.width()) * rect.height();
    return total;
}

int channelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)),
                     std::abs(qAlpha(a) - qAlpha(b))});
}

TEST(SaverViewPainting, RepaintingOnlyChangedRegionsGivesTheSameFrameAsRepaintingAll) {
    for (const qreal dpr : {1.0, 2.0}) {
        SCOPED_TRACE(dpr);
        MemoryPreferences store;
        store.set(AppearanceKeys::themeKey, std::int64_t{0});
        double now = 10;
        SorvalaSaverView view(store, now, handMade());
        view.setGeometry(QSizeF(400, 240), dpr);
        view.startAnimation();
        QImage incremental = blank({400, 240}, dpr);
        bool checkedTip = false;
        for (int frame = 1; !view.isDrawingComplete(); ++frame) {
            now += 1.0 / 60;
            const QRegion changed = view.animateOneFrame(now);
            view.renderInto(incremental);
            if (frame == 1)
                EXPECT_EQ(changed, QRegion(0, 0, 400, 240)) << "a new drawing repaints everything";
            else
                EXPECT_LT(area(changed), 400 * 240 / 3);
            const auto tail = view.logic().livePenTail();
            if (!checkedTip && tail.size() > 20) {
                // The pen tip glows at the end of the live tail.
                const QPoint tip = (QPointF(tail.back().x, tail.back().y) * dpr).toPoint();
                const QRgb colour = incremental.pixel(tip);
                EXPECT_LT(qBlue(colour) + qGreen(colour) + qRed(colour), 3 * 128) << "dark ink glow on paper";
                checkedTip = true;
            }
        }
        EXPECT_TRUE(checkedTip);
        EXPECT_GT(view.stampsRasterized(), 2);
        QImage whole = blank({400, 240}, dpr);
        view.renderInto(whole, true);
        int worst = 0;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                worst = std::max(worst, channelDistance(whole.pixel(x, y), incremental.pixel(x, y)));
        EXPECT_LE(worst, 1) << "a changed region was missed";
        EXPECT_EQ(whole.pixel(whole.width() - 2, whole.height() - 2) | 0x000f0f0f,
                  QColor::fromRgbF(0.96f, 0.95f, 0.91f).rgb() | 0x000f0f0f)
            << "paper where nothing was drawn";
    }
}

TEST(SaverViewPainting, ChunksOfOneStrokeJoinWithoutADarkerDot) {
    for (const auto style : {Settings::Style::pencil, Settings::Style::brush}) {
        SCOPED_TRACE(Appearance::text(style));
        QImage ink = blank({200, 100}, 1);
        ink.fill(Qt::transparent);
        std::vector<Point> first, second;
        for (int x = 20; x <= 100; x += 5)
            first.push_back({static_cast<double>(x), 50});
        for (int x = 100; x <= 180; x += 5)
            second.push_back({static_cast<double>(x), 50});
        rasterizeStamp(ink, PendingStamp{first, 2.0, 0, Settings::Ink::ink, true, false}, style, Settings::Theme::paper);
        rasterizeStamp(ink, PendingStamp{second, 2.0, 16, Settings::Ink::ink, false, true}, style, Settings::Theme::paper);
        int darkestAtJoin = 0, darkestElsewhere = 0;
        for (int y = 45; y <= 55; ++y) {
            darkestAtJoin = std::max(darkestAtJoin, qAlpha(ink.pixel(100, y)));
            darkestElsewhere = std::max(darkestElsewhere, qAlpha(ink.pixel(60, y)));
        }
        EXPECT_LE(darkestAtJoin, darkestElsewhere + 8);
        EXPECT_GT(qAlpha(ink.pixel(19, 50)), 40) << "the stroke's own start keeps its round cap";
    }
}

TEST(SaverViewPainting, FinishedDrawingAtScale) {
    const FinishedLook look{Settings::Theme::dark, Settings::Style::brush,
                            inkPlanFor(twoStrokes(0, 0), Settings::Ink::gold, Settings::Ink::gold, 0)};
    const QImage image = renderFinishedDrawing(twoStrokes(0, 0), QSizeF(400, 240), 2, look);
    EXPECT_EQ(image.size(), QSize(800, 480));
    EXPECT_TRUE(renderFinishedDrawing(twoStrokes(0, 0), QSizeF(0, 240), 2, look).isNull());
}

TEST(SaverViewPainting, OverTheHostsBackgroundOnlyANewDrawingOverOldInkRepaintsEverything) {
    MemoryPreferences store;
    double now = 0;
    SorvalaSaverView view(store, now, handMade());
    view.setDrawsOverHostBackground(true);
    view.setGeometry(QSizeF(400, 240), 1);
    EXPECT_LT(area(view.animateOneFrame(now += 0.05)), 400 * 240 / 3) << "blank ink has nothing to clear";
    while (!view.isDrawingComplete())
        view.animateOneFrame(now += 0.05);
    view.animateOneFrame(now += SaverTiming::holdSeconds);
    view.animateOneFrame(now += SaverTiming::fadeSeconds);
    EXPECT_EQ(view.lastChangedRegion(), QRegion(0, 0, 400, 240)) << "the next drawing clears the old ink";
    EXPECT_EQ(qAlpha(view.inkImage().pixel(180, 95)), 0);
}

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
