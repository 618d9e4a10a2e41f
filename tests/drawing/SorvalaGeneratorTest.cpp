// SPDX-License-Identifier: MIT
#include "drawing/SorvalaGenerator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace sorvala {
namespace {

using SorvalaGenerator::generate;
using SorvalaGenerator::Size;

constexpr std::uint64_t seeds[] = {0, 1, 0xC0FFEE, 0xFFFFFFFFFFFFFFFFu, 0x5EED5EED5EED5EEDu};

double distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

TEST(DrawingNumbers, WrapWithTheSignOfTheNumber) {
    const Size size{800, 600};
    const auto chordWeb = generate(size, 0, 42);
    const auto dragon = generate(size, 11, 42);
    ASSERT_NE(chordWeb, dragon);
    for (const std::int64_t number : {12, 24, -12})
        EXPECT_EQ(generate(size, number, 42), chordWeb) << number;
    for (const std::int64_t number : {23, -1, -13, -5})
        EXPECT_EQ(generate(size, number, 42), dragon) << number;
    EXPECT_EQ(generate(size, 7 + 12 * 1000, 42), generate(size, 7, 42));
}

TEST(DrawingNumbers, NamesFollowTheNumbers) {
    EXPECT_EQ(SorvalaGenerator::drawingNames[0], "Chord web");
    EXPECT_EQ(SorvalaGenerator::drawingNames[8], "Moiré rings");
    EXPECT_EQ(SorvalaGenerator::drawingNames[11], "Dragon curve");
}

TEST(DrawingGenerator, SurfacesWithoutAreaGiveAnEmptyDrawing) {
    for (const Size size : {Size{0, 600}, Size{800, 0}, Size{-800, 600}, Size{NAN, 600}, Size{INFINITY, 600}})
        for (int drawing = 0; drawing < SorvalaGenerator::drawingCount; ++drawing)
            EXPECT_TRUE(generate(size, drawing, 1).strokes().empty()) << size.width << "x" << size.height;
}

// The counts, widths and block sizes every seed must keep.
TEST(DrawingGenerator, EveryDrawingKeepsItsShapeAcrossSeeds) {
    const Size size{1440, 900};
    for (const auto seed : seeds) {
        SCOPED_TRACE(seed);
        const auto web = generate(size, 0, seed);
        const auto n = static_cast<std::size_t>(web.colorBlockSize());
        EXPECT_TRUE(n == 96 || n == 108 || n == 120 || n == 132 || n == 144);
        EXPECT_EQ(web.strokes().size(), 3 * n);

        const auto layered = generate(size, 1, seed);
        ASSERT_EQ(layered.strokes().size(), 4u);
        const auto steps = layered.strokes()[0].points.size() - 1;
        EXPECT_TRUE(steps == 9180 || steps == 10260 || steps == 12420);
        const double layeredWidths[] = {1.8, 1.3, 1.0, 0.8};
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(layered.strokes()[i].width, layeredWidths[i]);

        const auto mixed = generate(size, 2, seed);
        ASSERT_EQ(mixed.strokes().size(), 3u);
        EXPECT_GT(mixed.strokes()[0].points.size(), mixed.strokes()[1].points.size());
        EXPECT_GT(mixed.strokes()[1].points.size(), mixed.strokes()[2].points.size());
        for (const auto& stroke : mixed.strokes())
            EXPECT_EQ((stroke.points.size() - 1) % 540, 0u);

        EXPECT_EQ(generate(size, 3, seed).strokes().size(), 6u);

        const auto rose = generate(size, 4, seed);
        ASSERT_EQ(rose.strokes().size(), 2u);
        EXPECT_EQ(rose.strokes()[0].points.size(), 721u);
        EXPECT_EQ(rose.strokes()[1].points.size(), 361u);
        EXPECT_EQ(rose.strokes()[0].width, 2.0);

        const auto pendulums = generate(size, 5, seed);
        ASSERT_EQ(pendulums.strokes().size(), 1u);
        EXPECT_GE(pendulums.strokes()[0].points.size(), 42001u - 419u) << "starts within the first 420 samples";
        EXPECT_LE(pendulums.strokes()[0].points.size(), 42001u);

        const auto florets = generate(size, 6, seed);
        EXPECT_GE(florets.strokes().size(), 500u);
        EXPECT_LE(florets.strokes().size(), 800u);
        EXPECT_EQ(florets.strokes()[0].points.size(), 25u);
        EXPECT_EQ(florets.strokes()[0].points.front(), florets.strokes()[0].points.back()) << "a closed circle";

        const auto rings = generate(size, 8, seed);
        EXPECT_EQ(rings.strokes().size() % 2, 0u);
        EXPECT_GE(rings.strokes().size(), 68u);
        EXPECT_LE(rings.strokes().size(), 100u);
        EXPECT_EQ(rings.strokes()[0].points.size(), 73u);

        const auto truchet = generate(size, 9, seed);
        EXPECT_EQ(truchet.colorBlockSize(), 2);
        EXPECT_EQ(truchet.strokes().size() % 2, 0u);
        EXPECT_EQ(truchet.strokes()[0].points.size(), 13u);

        const auto hilbert = generate(size, 10, seed);
        const auto hilbertPoints = hilbert.strokes()[0].points.size();
        EXPECT_TRUE(hilbertPoints == 4096 || hilbertPoints == 16384 || hilbertPoints == 65536);

        const auto dragon = generate(size, 11, seed);
        const auto dragonSegments = dragon.strokes()[0].points.size() - 1;
        EXPECT_TRUE(dragonSegments == 8192 || dragonSegments == 16384 || dragonSegments == 32768 ||
                    dragonSegments == 65536);
        EXPECT_EQ(dragon.strokes()[0].width, 1.1);
    }
}

TEST(ChordWeb, EachBlockIsOneChordStepRoundedHalfAwayFromZero) {
    struct Case { int n; int steps[3]; };
    const Case cases[] = {{96, {22, 32, 40}}, {108, {25, 36, 45}}, {120, {28, 40, 50}},
                          {132, {31, 44, 55}}, {144, {34, 48, 60}}};
    const Size size{800, 600};
    const double radius = 270;
    int seen = 0;
    for (std::uint64_t seed = 0; seed < 40 && seen < 5; ++seed) {
        const auto web = generate(size, 0, seed);
        for (const auto& c : cases) {
            if (web.colorBlockSize() != c.n)
                continue;
            SCOPED_TRACE(c.n);
            ++seen;
            for (int block = 0; block < 3; ++block) {
                const auto& chord = web.strokes()[static_cast<std::size_t>(block * c.n)];
                const double expected = 2 * radius * std::sin(M_PI * c.steps[block] / c.n);
                EXPECT_NEAR(distance(chord.points[0], chord.points[1]), expected, 1e-9);
            }
        }
    }
    EXPECT_GT(seen, 2);
}

TEST(Spirographs, TheWidestPassJustTouchesTheDrawingCircle) {
    for (const Size size : {Size{800, 600}, Size{600, 800}}) {
        for (const int drawing : {1, 2, 3}) {
            SCOPED_TRACE(drawing);
            const auto spirograph = generate(size, drawing, 77);
            double reach = 0;
            for (const auto& stroke : spirograph.strokes())
                for (const auto& point : stroke.points)
                    reach = std::max(reach, distance(point, {size.width / 2, size.height / 2}));
            EXPECT_LE(reach, 270 + 1e-9) << "R is 0.45 of the shorter side";
            EXPECT_GT(reach, 269.9);
        }
    }
}

TEST(Truchet, ASurfaceLowerThanOneCellIsEmptyWithBlocksOfTwo) {
    const auto flat = generate({3000, 50}, 9, 5);
    EXPECT_TRUE(flat.strokes().empty());
    EXPECT_EQ(flat.colorBlockSize(), 2);
}

TEST(Truchet, ArcsJoinMidpointsOfAdjacentEdges) {
    const Point origin{10, 20};
    const double cell = 8;
    struct Case { bool cornerAtOrigin; bool firstArc; Point from; Point to; };
    const Case cases[] = {
        {true, true, {14, 20}, {10, 24}},   // top to left, around the origin
        {true, false, {14, 28}, {18, 24}},  // bottom to right, around the far corner
        {false, true, {18, 24}, {14, 20}},  // right to top
        {false, false, {10, 24}, {14, 28}}, // left to bottom
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.cornerAtOrigin) + std::to_string(c.firstArc));
        const auto points = SorvalaGenerator::arc(origin, cell, c.cornerAtOrigin, c.firstArc);
        ASSERT_EQ(points.size(), 13u);
        EXPECT_NEAR(points.front().x, c.from.x, 1e-12);
        EXPECT_NEAR(points.front().y, c.from.y, 1e-12);
        EXPECT_NEAR(points.back().x, c.to.x, 1e-12);
        EXPECT_NEAR(points.back().y, c.to.y, 1e-12);
    }
}

TEST(Truchet, RowsAreCentredAndColumnsFillTheWidth) {
    const Size size{1000, 530};
    const auto truchet = generate(size, 9, 3);
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const auto& stroke : truchet.strokes())
        for (const auto& point : stroke.points) {
            minX = std::min(minX, point.x);
            maxX = std::max(maxX, point.x);
            minY = std::min(minY, point.y);
            maxY = std::max(maxY, point.y);
        }
    EXPECT_NEAR(minX, 0, 1e-9);
    EXPECT_NEAR(maxX, 1000, 1e-9);
    EXPECT_NEAR(minY, 530 - maxY, 1e-9);
}

TEST(Hilbert, FillsTheSquareAroundTheCircleOneCellAtATime) {
    for (const Size size : {Size{800, 600}, Size{600, 800}}) {
        for (const auto seed : seeds) {
            SCOPED_TRACE(seed);
            const auto drawing = generate(size, 10, seed);
            const auto& points = drawing.strokes()[0].points;
            const double cell = 540 / std::sqrt(static_cast<double>(points.size()));
            const double left = size.width / 2 - 270;
            const double top = size.height / 2 - 270;
            const Point first = points.front();
            const bool atLeft = std::abs(first.x - (left + cell / 2)) < 1e-9;
            const bool atRight = std::abs(first.x - (left + 540 - cell / 2)) < 1e-9;
            EXPECT_TRUE(atLeft || atRight) << first.x;
            EXPECT_NEAR(first.y, top + cell / 2, 1e-9);
            for (std::size_t i = 1; i < points.size(); ++i) {
                const double dx = std::abs(points[i].x - points[i - 1].x);
                const double dy = std::abs(points[i].y - points[i - 1].y);
                ASSERT_TRUE((dx == 0 && std::abs(dy - cell) < 1e-9) || (dy == 0 && std::abs(dx - cell) < 1e-9))
                    << "step " << i;
            }
        }
    }
}

TEST(Dragon, StepsAreEqualAndTheCurveFillsNinetyPercentOfTheBindingSide) {
    for (const Size size : {Size{1440, 900}, Size{600, 800}, Size{3840, 2160}}) {
        for (const auto seed : seeds) {
            SCOPED_TRACE(seed);
            const auto drawing = generate(size, 11, seed);
            const auto& points = drawing.strokes()[0].points;
            const double unit = distance(points[0], points[1]);
            double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
            for (std::size_t i = 0; i < points.size(); ++i) {
                if (i > 0) {
                    ASSERT_NEAR(distance(points[i], points[i - 1]), unit, 1e-9) << "step " << i;
                }
                minX = std::min(minX, points[i].x);
                maxX = std::max(maxX, points[i].x);
                minY = std::min(minY, points[i].y);
                maxY = std::max(maxY, points[i].y);
            }
            const double widthShare = (maxX - minX) / size.width;
            const double heightShare = (maxY - minY) / size.height;
            EXPECT_NEAR(std::max(widthShare, heightShare), 0.9, 1e-9);
            EXPECT_LE(std::min(widthShare, heightShare), 0.9 + 1e-9);
            EXPECT_NEAR((minX + maxX) / 2, size.width / 2, 1e-9);
            EXPECT_NEAR((minY + maxY) / 2, size.height / 2, 1e-9);
        }
    }
}

TEST(Lissajous, EndsInItsLastTenthAtTheDeepestCorner) {
    for (const auto seed : seeds) {
        SCOPED_TRACE(seed);
        const auto drawing = generate({1440, 900}, 7, seed);
        const auto& points = drawing.strokes()[0].points;
        // The number of samples before trimming is ⌊120 T⌋ + 1 with T in [120, 160].
        EXPECT_GE(points.size(), static_cast<std::size_t>(14400 + 1 - 1920));
        EXPECT_LE(points.size(), 19201u);
        const double corner = std::min(std::abs(points.back().x - 720) / (1440 * 0.44),
                                       std::abs(points.back().y - 450) / (900 * 0.42));
        EXPECT_GT(corner, 0.9) << "the weave ends close to one of its corners";
    }
}

TEST(PenFactors, StepEvenlyFromTheOutermostToTheInnermost) {
    const auto factors = SorvalaGenerator::penFactors(4, 0.4);
    ASSERT_EQ(factors.size(), 4u);
    EXPECT_EQ(factors[0], 1.15);
    EXPECT_DOUBLE_EQ(factors[1], 0.9);
    EXPECT_DOUBLE_EQ(factors[2], 0.65);
    EXPECT_DOUBLE_EQ(factors[3], 0.4);
}

} // namespace
} // namespace sorvala
