// SPDX-License-Identifier: MIT
#include "drawing/AppearanceKeys.h"
#include "drawing/ProgressiveRenderer.h"
#include "support/MemoryPreferences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <iterator>

namespace sorvala {
namespace {

using Phase = ProgressiveRenderer::Phase;
using Ink = Settings::Ink;

Stroke circle(Point centre, double radius, int points, double width) {
    Stroke stroke;
    stroke.width = width;
    for (int i = 0; i <= points; ++i) {
        const double a = 6.283185307179586 * i / points;
        stroke.points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    return stroke;
}

Stroke line(Point a, Point b) {
    return Stroke{{a, b}, 1.0};
}

// Hand-made drawings: the same strokes for every size, so a test controls exactly what is drawn.
Sorvala handMade(double width, double height) {
    std::vector<Stroke> strokes;
    strokes.push_back(circle({width / 2, height / 2}, 300, 600, 1.8));
    strokes.push_back(line({10, 10}, {900, 700}));
    strokes.push_back(Stroke{{{50, 50}, {50, 50}, {60, 50}, {1000, 50}}, 1.0}); // a repeated point
    strokes.push_back(circle({400, 300}, 40, 90, 0.8));
    return Sorvala(std::move(strokes));
}

class RendererTest : public ::testing::Test {
protected:
    using Drawings = std::function<Sorvala(double, double)>;
    ProgressiveRenderer make(Drawings drawings = handMade) {
        ProgressiveRenderer::Environment environment;
        environment.generate = [this, drawings](double w, double h, int number, std::uint64_t) {
            generated.push_back({w, h, number});
            return drawings(w, h);
        };
        environment.random = [this] {
            if (randomValues.empty())
                return std::uint64_t{0};
            const auto value = randomValues.front();
            randomValues.pop_front();
            return value;
        };
        environment.profiling = false;
        return ProgressiveRenderer(store, environment, now);
    }

    /// A renderer already drawing its first drawing at this size.
    ProgressiveRenderer started(Drawings drawings = handMade, double width = 800, double height = 600) {
        auto renderer = make(std::move(drawings));
        renderer.setSize(width, height);
        renderer.startAnimation();
        return renderer;
    }

    void frame(ProgressiveRenderer& renderer, double seconds = 1.0 / 60) {
        now += seconds;
        renderer.animateOneFrame(now);
    }

    struct Generated { double width; double height; int number; };
    MemoryPreferences store;
    std::deque<std::uint64_t> randomValues;
    std::vector<Generated> generated;
    double now = 100;
};

TEST_F(RendererTest, WholeDrawingInVirtualTimeMatchesThePaceAndVisitsEveryVertex) {
    store.set(AppearanceKeys::speedKey, 3.0);
    auto renderer = make();
    renderer.setSize(1200, 800);
    EXPECT_FALSE(renderer.isDrawingComplete()) << "no strokes yet";
    renderer.startAnimation();
    ASSERT_EQ(renderer.sorvala().strokes().size(), 4u);
    const double start = now;
    renderer.animateOneFrame(now); // the first frame counts no time

    std::vector<PendingStamp> stamps;
    for (int frames = 0; !renderer.isDrawingComplete() && frames < 100000; ++frames) {
        frame(renderer);
        ASSERT_LE(renderer.livePenTail().size(), 256u + 40u) << "the live tail is committed before it grows long";
        for (auto& stamp : renderer.takeChanges().stamps)
            stamps.push_back(std::move(stamp));
    }
    // Worked out by hand: 4,212 pt of ink is less than the shortest drawing the pace counts
    // (0.4 × 150,000 pt), so at level 3 the pen moves 333⅓ pt/s before easing. Each segment eased
    // by its place in the stroke: 5.807 s for the large circle, 3.469 s for the line, 3.153 s for
    // the three segments (the long one at the slow end), 0.774 s for the small circle; then three
    // lifts of 0.18 s. Unhurried and without lifts it would be 12.64 s.
    EXPECT_DOUBLE_EQ(renderer.penLiftSeconds(), 0.18);
    EXPECT_NEAR(now - start, 13.743, 0.15);
    EXPECT_EQ(renderer.phase().kind, Phase::Kind::holding);
    EXPECT_DOUBLE_EQ(renderer.phase().until, now + SaverTiming::holdSeconds);
    EXPECT_NEAR(renderer.inkDistance(), renderer.totalInkLength(), 1e-6);

    // The stamps, joined where the tail was committed, give back every stroke point for point.
    const auto& strokes = renderer.sorvala().strokes();
    std::vector<std::vector<Point>> joined;
    for (const auto& stamp : stamps) {
        if (stamp.phaseBase == 0) {
            joined.push_back(stamp.points);
            continue;
        }
        ASSERT_FALSE(joined.empty()) << "a stroke's first chunk starts at its beginning";
        EXPECT_EQ(joined.back().back(), stamp.points.front());
        joined.back().insert(joined.back().end(), stamp.points.begin() + 1, stamp.points.end());
    }
    ASSERT_EQ(joined.size(), strokes.size());
    // A committed tail ends where the pen was, often inside a segment, and the next chunk starts
    // at that same place; leaving out those in-between places gives back the stroke.
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        const auto& points = strokes[i].points;
        std::vector<Point> kept;
        std::ranges::copy_if(joined[i], std::back_inserter(kept),
                             [&](const Point& p) { return std::ranges::find(points, p) != points.end(); });
        EXPECT_EQ(kept, points) << "stroke " << i;
    }
}

TEST_F(RendererTest, AStallAdvancesThePenOnlyByTheFrameCap) {
    auto renderer =
        started([](double, double) { return Sorvala({line({0, 0}, {5000, 0}), line({0, 10}, {100, 10})}); });
    renderer.animateOneFrame(now);
    frame(renderer, 0.02);
    const double before = renderer.inkDistance();
    frame(renderer, 2.0);
    const double travelled = renderer.inkDistance() - before;
    // 333⅓ pt/s eased at the stroke's very start (× 0.6817) for 20 ms; then a 2 s stall counts as
    // the 50 ms frame cap, eased where the frame begins (4.54 pt into 5,000: × 0.6831).
    EXPECT_NEAR(before, 4.5446, 1e-4);
    EXPECT_NEAR(travelled, 11.3853, 1e-4);
}

TEST_F(RendererTest, ResizingMidDrawingStartsOverForTheNewSize) {
    auto renderer = started(handMade, 1200, 800);
    for (int i = 0; i < 30; ++i)
        frame(renderer);
    ASSERT_GT(renderer.inkDistance(), 0);
    renderer.takeChanges();

    renderer.setSize(1200, 800);
    EXPECT_EQ(generated.size(), 1u) << "the same size keeps the drawing";
    renderer.setSize(1920, 1080);
    ASSERT_EQ(generated.size(), 2u);
    EXPECT_EQ(generated.back().width, 1920);
    EXPECT_EQ(renderer.inkDistance(), 0);
    const auto changes = renderer.takeChanges();
    EXPECT_TRUE(changes.inkCleared);
    EXPECT_TRUE(changes.repaintAll);

    renderer.setSize(0, 1080);
    EXPECT_EQ(generated.size(), 2u) << "nothing is drawn on an empty surface";
}

TEST_F(RendererTest, DrawingChoiceCyclesThroughTheEnabledSet) {
    store.set(AppearanceKeys::enabledDrawingsKey, std::int64_t{1 << 3});
    randomValues = {7}; // the first drawing index
    auto renderer = make();
    EXPECT_EQ(renderer.drawingIndex(), 7);
    renderer.setSize(800, 600);
    renderer.startAnimation();
    EXPECT_EQ(generated.back().number, 3);
    EXPECT_EQ(renderer.drawingIndex(), 3) << "the next drawing is 3 again";

    store.set(AppearanceKeys::enabledDrawingsKey, std::int64_t{0b100100010});
    for (int i = 0; i < 3; ++i)
        renderer.reloadSettings();
    ASSERT_EQ(generated.size(), 4u);
    EXPECT_EQ(generated[1].number, 5);
    EXPECT_EQ(generated[2].number, 8);
    EXPECT_EQ(generated[3].number, 1) << "wraps around to the first enabled number";

    renderer.drawingOverride = 11;
    renderer.reloadSettings();
    renderer.reloadSettings();
    EXPECT_EQ(generated.back().number, 11);
    EXPECT_EQ(renderer.drawingIndex(), 5) << "an override leaves the cycle alone";

    renderer.drawingOverride.reset();
    store.set(AppearanceKeys::drawingKey, std::int64_t{4});
    renderer.reloadSettings();
    EXPECT_EQ(generated.back().number, 4) << "a pin wins over the enabled set";
}

TEST_F(RendererTest, MulticolourChangesPerBlock) {
    store.set(AppearanceKeys::inkKey, std::int64_t{static_cast<int>(Ink::multicolor)});
    auto web = [](double, double) {
        std::vector<Stroke> strokes;
        for (int b = 0; b < 3; ++b)
            for (int k = 0; k < 4; ++k)
                strokes.push_back(line({0, 10.0 * k}, {300, 10.0 * k + b}));
        return Sorvala(std::move(strokes), 4);
    };
    randomValues = {0, 0, 0, 0, 2}; // drawing index, seed, ink pick, style, palette start
    auto renderer = started(web);
    std::vector<Ink> inks;
    while (!renderer.isDrawingComplete()) {
        frame(renderer);
        for (const auto& stamp : renderer.takeChanges().stamps)
            if (inks.empty() || inks.back() != stamp.ink)
                inks.push_back(stamp.ink);
    }
    EXPECT_EQ(inks, (std::vector<Ink>{Ink::forest, Ink::sepia, Ink::crimson})) << "three blocks, one colour each";
}

TEST(FinishedStamps, OnlyOpenStrokeEndsGetRoundCaps) {
    Stroke wave{{}, 1.0};
    for (int i = 0; i <= 100; ++i)
        wave.points.push_back({10.0 * i, 100 + 20 * std::sin(i * 0.3)});
    const auto stamps = finishedStamps(Sorvala({wave, circle({500, 500}, 300, 600, 1.0)}), InkPlan{});
    ASSERT_GT(stamps.size(), 4u);
    EXPECT_TRUE(stamps.front().roundStart);
    EXPECT_FALSE(stamps.front().roundEnd) << "a chunk that the next one carries on from ends flat";
    std::size_t i = 1;
    for (; i < stamps.size() && !stamps[i - 1].roundEnd; ++i)
        EXPECT_FALSE(stamps[i].roundStart);
    ASSERT_LT(i, stamps.size()) << "the wave's last chunk has its round end";
    for (; i < stamps.size(); ++i)
        EXPECT_FALSE(stamps[i].roundStart || stamps[i].roundEnd) << "a ring's two ends meet flat";

    const auto dot = finishedStamps(Sorvala({Stroke{{{7, 7}, {7, 7}}, 1.0}}), InkPlan{});
    ASSERT_EQ(dot.size(), 1u);
    EXPECT_TRUE(dot[0].roundStart && dot[0].roundEnd) << "two equal points are a dot, not a ring: its caps show";
}

TEST_F(RendererTest, HoldFadeAndANewDrawing) {
    auto renderer = started([](double, double) { return Sorvala({line({0, 0}, {10, 0})}); });
    while (!renderer.isDrawingComplete())
        frame(renderer);
    EXPECT_EQ(renderer.phase().kind, Phase::Kind::holding);
    now += SaverTiming::holdSeconds;
    renderer.animateOneFrame(now);
    EXPECT_EQ(renderer.phase(), (Phase{Phase::Kind::fading, now + SaverTiming::fadeSeconds}));
    frame(renderer, 0.5);
    EXPECT_DOUBLE_EQ(renderer.inkOpacity(), 0.75);
    frame(renderer, 1.5);
    EXPECT_EQ(renderer.phase().kind, Phase::Kind::drawing);
    EXPECT_EQ(renderer.inkOpacity(), 1);
    EXPECT_EQ(generated.size(), 2u);
    EXPECT_FALSE(renderer.isDrawingComplete());
}

TEST_F(RendererTest, PencilJitterContinuesAcrossCommitsAndColoursFollowTheTheme) {
    const std::vector<Point> points{{0, 0}, {1, 0}, {2, 0}, {3, 0}};
    const auto whole = styledCopies(points, 0, Settings::Style::pencil);
    const auto tail = styledCopies(std::span(points).subspan(2), 2, Settings::Style::pencil);
    ASSERT_EQ(whole.size(), 2u);
    EXPECT_EQ(tail[0][0], whole[0][2]);
    EXPECT_EQ(tail[1][1], whole[1][3]);
    EXPECT_EQ(styledCopies(points, 5, Settings::Style::brush), std::vector<std::vector<Point>>{points});

    store.set(AppearanceKeys::themeKey, std::int64_t{1});
    store.set(AppearanceKeys::inkKey, std::int64_t{static_cast<int>(Ink::sepia)});
    auto renderer = started();
    EXPECT_EQ(renderer.strokeColors().glowShadow, Appearance::inkColor(Settings::Theme::dark, Ink::sepia));
}

TEST_F(RendererTest, ARerolledRandomThemeWaitsForTheNextDrawing) {
    store.set(AppearanceKeys::themeKey, std::int64_t{3});
    auto renderer = started();
    const Settings::Theme paper = renderer.theme();
    const Rgba ink = renderer.strokeColors().glowShadow;
    bool rerolledToTheOther = false;
    for (int i = 0; i < 40; ++i) {
        renderer.startAnimation(); // a new break or saver run re-rolls while this drawing stays
        rerolledToTheOther = rerolledToTheOther || Appearance::rolledRandomTheme() != paper;
        EXPECT_EQ(renderer.theme(), paper) << "ink and paper of one drawing keep one theme";
        EXPECT_EQ(renderer.strokeColors().glowShadow, ink);
    }
    EXPECT_TRUE(rerolledToTheOther);
    renderer.reloadSettings();
    EXPECT_EQ(renderer.theme(), Appearance::rolledRandomTheme()) << "the next drawing takes the new roll";
}

} // namespace
} // namespace sorvala
