// SPDX-License-Identifier: MIT
#include "SubcommandRun.h"
#include "drawing/SorvalaGenerator.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <sstream>

namespace sorvala::ctl {
namespace {

using Result = SubcommandResult;

Result draw(std::vector<std::string> args) {
    return runSubcommand("draw", std::move(args));
}

// Reads the printed strokes back, number for number.
std::vector<Stroke> parseStrokes(const std::string& text) {
    std::vector<Stroke> strokes;
    std::istringstream lines(text);
    std::string line;
    const auto number = [](std::string_view field) {
        double value = 0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        EXPECT_TRUE(error == std::errc() && end == field.data() + field.size()) << field;
        return value;
    };
    while (std::getline(lines, line)) {
        if (line.starts_with("w=")) {
            strokes.push_back({{}, number(std::string_view(line).substr(2))});
            continue;
        }
        const auto space = line.find(' ');
        EXPECT_NE(space, std::string::npos) << line;
        EXPECT_FALSE(strokes.empty()) << "a point before the first width line";
        if (space == std::string::npos || strokes.empty())
            break;
        strokes.back().points.push_back({number(std::string_view(line).substr(0, space)),
                                         number(std::string_view(line).substr(space + 1))});
    }
    return strokes;
}

TEST(DrawCommand, StrokesRoundTripExactly) {
    struct Case { std::vector<std::string> args; SorvalaGenerator::Size size; std::int64_t drawing; std::uint64_t seed; };
    const Case cases[] = {
        {{"--size", "800x600", "--drawing", "4", "--seed", "0xC0FFEE", "--strokes"}, {800, 600}, 4, 0xC0FFEE},
        {{"--strokes", "--seed=18446744073709551615", "--drawing=-1", "--size=640.5x480"}, {640.5, 480}, -1,
         0xFFFFFFFFFFFFFFFFu},
        {{"--strokes", "--drawing", "24", "--seed", "7"}, {1440, 900}, 0, 7},
        {{"--drawing", "99999999999999999999", "--strokes"}, {1440, 900}, 3, 0},   // 10^20 − 1 ≡ 3
        {{"--drawing", "-99999999999999999999", "--strokes"}, {1440, 900}, -3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const auto result = draw(c.args);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, "");
        const auto expected = SorvalaGenerator::generate(c.size, c.drawing, c.seed);
        EXPECT_EQ(parseStrokes(result.out), expected.strokes());
    }
}

TEST(DrawCommand, PrintsShortestNumbers) {
    const auto result = draw({"--size", "800x600", "--drawing", "4", "--seed", "42", "--strokes"});
    EXPECT_TRUE(result.out.starts_with("w=2\n400 300\n")) << result.out.substr(0, 40);
}

TEST(DrawCommand, BadArgumentsGiveOneLineAndStatusTwo) {
    const std::vector<std::string> bad[] = {
        {}, {"--strokes", "--size", "800"}, {"--strokes", "--size", "0x600"}, {"--strokes", "--size", "20000x600"},
        {"--strokes", "--size", "1x1000"}, {"--strokes", "--drawing", "seven"}, {"--strokes", "--drawing", "+5"},
        {"--strokes", "--seed", "-1"}, {"--strokes", "--seed", "0x1g"}, {"--strokes", "--seed", "18446744073709551616"},
        {"--strokes=yes"}, {"--strokes", "--colour", "red"}, {"--strokes", "extra"}, {"--png"},
        {"--png", "/tmp/x.png", "--scale", "0"}, {"--png", "/tmp/x.png", "--theme", "system"},
        {"--png", "/tmp/x.png", "--style", "random"}, {"--png", "/tmp/x.png", "--ink", "12"},
        {"--png", "/tmp/x.png", "--size", "9000x9000", "--scale", "2"}, {"--png", "/nonexistent-folder/x.png"},
        {"--simulate", "--speed", "11"}, {"--simulate", "--fps", "0"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(::testing::PrintToString(args));
        expectRefused(draw(args), "sorvalactl: draw: ");
    }
}

std::map<std::string, double> figures(const std::string& text) {
    std::map<std::string, double> values;
    std::istringstream lines(text);
    std::string name;
    double value = 0;
    while (lines >> name >> value)
        values[name] = value;
    return values;
}

TEST(DrawRenderCommand, SimulationPrintsThePaceItTook) {
    // How the pace eases and lifts is the renderer's own table; the command runs it and reports.
    const auto result = draw({"--size", "800x500", "--drawing", "9", "--seed", "3", "--simulate", "--speed", "10"});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto values = figures(result.out);
    for (const char* name : {"frames", "seconds", "stamps", "ink", "drawingSeconds", "penLifts"})
        ASSERT_EQ(values.count(name), 1u) << name;
    EXPECT_GE(values.at("seconds"), values.at("drawingSeconds") + values.at("penLifts"));
    EXPECT_NEAR(values.at("frames"), values.at("seconds") * 60, 1.5);
}

TEST(DrawRenderCommand, PngAtTheAskedScale) {
    const TemporaryDirectory folder;
    const auto result = draw({"--size", "300x200", "--png", (folder / "d.png").string(), "--scale", "1.5"});
    if (result.err.find("needs Qt") != std::string::npos)
        GTEST_SKIP() << "built without painting";
    ASSERT_EQ(result.status, 0) << result.err;
    // The IHDR chunk's width and height, big-endian: 450 by 300.
    EXPECT_EQ(readFile(folder / "d.png").substr(16, 8), std::string("\0\0\1\xc2\0\0\1\x2c", 8));
}

} // namespace
} // namespace sorvala::ctl
