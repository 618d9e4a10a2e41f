// SPDX-License-Identifier: MIT
#include "drawing/SorvalaGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(DrawingGenerator, SurfacesWithoutAreaGiveAnEmptyDrawing) {
    for (const Size size : {Size{0, 600}, Size{800, 0}, Size{-800, 600}, Size{NAN, 600}, Size{INFINITY, 600}})
        for (int drawing = 0; drawing < SorvalaGenerator::drawingCount; ++drawing)
            EXPECT_TRUE(generate(size, drawing, 1).strokes().empty()) << size.width << "x" << size.height;
}

// What no seed may change; the exact strokes are pinned by the fingerprints.
TEST(DrawingGenerator, EveryDrawingKeepsItsShapeAcrossSeeds) {
    const auto inSet = [](std::size_t value, std::initializer_list<std::size_t> allowed) {
        return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
    };
    for (const auto seed : seeds) {
        SCOPED_TRACE(seed);
        std::vector<Sorvala> d;
        for (int drawing = 0; drawing < SorvalaGenerator::drawingCount; ++drawing)
            d.push_back(generate({1440, 900}, drawing, seed));
        const auto points = [&](int drawing, std::size_t stroke) { return d[static_cast<std::size_t>(drawing)].strokes()[stroke].points.size(); };

        const auto n = static_cast<std::size_t>(d[0].colorBlockSize());
        EXPECT_TRUE(inSet(n, {96, 108, 120, 132, 144}));
        EXPECT_EQ(d[0].strokes().size(), 3 * n);
        ASSERT_EQ(d[1].strokes().size(), 4u);
        EXPECT_TRUE(inSet(points(1, 0), {9181, 10261, 12421}));
        ASSERT_EQ(d[2].strokes().size(), 3u);
        EXPECT_GT(points(2, 0), points(2, 1)) << "rolling radii in descending order";
        EXPECT_GT(points(2, 1), points(2, 2));
        EXPECT_GE(points(5, 0), 42001u - 419u) << "the harmonograph starts within its first 420 samples";
        EXPECT_TRUE(d[6].strokes().size() >= 500 && d[6].strokes().size() <= 800);
        EXPECT_EQ(d[6].strokes()[0].points.front(), d[6].strokes()[0].points.back()) << "florets are closed";
        EXPECT_TRUE(d[8].strokes().size() % 2 == 0 && d[8].strokes().size() >= 68 && d[8].strokes().size() <= 100);
        EXPECT_TRUE(inSet(points(10, 0), {4096, 16384, 65536}));
        EXPECT_TRUE(inSet(points(11, 0), {8193, 16385, 32769, 65537}));
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

} // namespace
} // namespace sorvala
