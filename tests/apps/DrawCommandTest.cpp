// SPDX-License-Identifier: MIT
#include "Subcommands.h"
#include "drawing/SorvalaGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <sstream>

namespace sorvala::ctl {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result draw(std::vector<std::string> args) {
    std::ostringstream out, err;
    for (const auto& command : subcommands())
        if (command.name == "draw") {
            const int status = command.run(Invocation{std::move(args), out, err});
            return {status, out.str(), err.str()};
        }
    ADD_FAILURE() << "no draw subcommand";
    return {-1, "", ""};
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
        {{"--size", "3000x50", "--drawing", "9", "--strokes"}, {3000, 50}, 9, 0},
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
        {},
        {"--size", "800x600"},
        {"--strokes", "--size", "800"},
        {"--strokes", "--size", "0x600"},
        {"--strokes", "--size", "20000x600"},
        {"--strokes", "--size", "nanx600"},
        {"--strokes", "--size", "1x1000"},
        {"--strokes", "--drawing", "seven"},
        {"--strokes", "--drawing", "-"},
        {"--strokes", "--drawing", "+5"},
        {"--strokes", "--seed", "-1"},
        {"--strokes", "--seed", "0x1g"},
        {"--strokes", "--seed", "18446744073709551616"},
        {"--strokes=yes"},
        {"--strokes", "--colour", "red"},
        {"--strokes", "extra"},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& arg : args)
            joined += arg + " ";
        SCOPED_TRACE(joined);
        const auto result = draw(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("sorvalactl: draw: ")) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

TEST(DrawCommand, HelpListsEveryOption) {
    const auto result = draw({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* option : {"--size", "--drawing", "--seed", "--strokes"})
        EXPECT_NE(result.out.find(option), std::string::npos) << option;
}

} // namespace
} // namespace sorvala::ctl
