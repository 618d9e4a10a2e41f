// SPDX-License-Identifier: MIT
// Pins every drawing to the exact doubles it had when it was written. A failure of the fingerprints
// means every saved gallery drawing and every screen saver would draw something else from the same
// seed: change the golden file only on purpose.
#include "drawing/SorvalaGenerator.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace sorvala {
namespace {

using SorvalaGenerator::generate;
using SorvalaGenerator::Size;

// FNV-1a over the bit patterns of the block size, every width and every coordinate, in order.
std::uint64_t fingerprint(const Sorvala& sorvala) {
    std::uint64_t hash = 0xCBF29CE484222325u;
    const auto add = [&hash](auto value) {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        for (int byte = 0; byte < 8; ++byte)
            hash = (hash ^ ((bits >> (8 * byte)) & 0xFF)) * 0x100000001B3u;
    };
    add(static_cast<std::uint64_t>(sorvala.colorBlockSize()));
    add(static_cast<std::uint64_t>(sorvala.strokes().size()));
    for (const auto& stroke : sorvala.strokes()) {
        add(stroke.width);
        add(static_cast<std::uint64_t>(stroke.points.size()));
        for (const auto& point : stroke.points) {
            add(point.x);
            add(point.y);
        }
    }
    return hash;
}

std::string hex(std::uint64_t value) {
    char text[19];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

TEST(DrawingFingerprints, EveryDrawingIsPinnedBitForBit) {
    const std::string path = SORVALA_TEST_DATA_DIR "/drawing/fingerprints.txt";
    std::ifstream golden(path);
    ASSERT_TRUE(golden) << "cannot read " << path;

    // Each line: width height drawing seed fingerprint. The corrected file is printed on failure.
    std::ostringstream actual;
    std::string line;
    int checked = 0;
    while (std::getline(golden, line)) {
        if (line.empty() || line[0] == '#') {
            actual << line << '\n';
            continue;
        }
        std::istringstream fields(line);
        double width = 0, height = 0;
        std::int64_t drawing = 0;
        std::string seedText, expected;
        fields >> width >> height >> drawing >> seedText >> expected;
        ASSERT_FALSE(fields.fail()) << line;
        const auto seed = std::stoull(seedText, nullptr, 0);
        const auto got = hex(fingerprint(SorvalaGenerator::generate({width, height}, drawing, seed)));
        EXPECT_EQ(got, expected) << line;
        actual << width << ' ' << height << ' ' << drawing << ' ' << seedText << ' ' << got << '\n';
        ++checked;
    }
    EXPECT_GE(checked, 12 * 3);
    if (HasFailure())
        std::printf("--- fingerprints as generated now ---\n%s", actual.str().c_str());
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

TEST(Truchet, ASurfaceLowerThanOneCellIsEmptyWithBlocksOfTwo) {
    const auto flat = generate({3000, 50}, 9, 5);
    EXPECT_TRUE(flat.strokes().empty());
    EXPECT_EQ(flat.colorBlockSize(), 2);
}

} // namespace
} // namespace sorvala
