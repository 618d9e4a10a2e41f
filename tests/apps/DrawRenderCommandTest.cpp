// SPDX-License-Identifier: MIT
#include "Subcommands.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace sorvala::ctl {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome run(std::vector<std::string> args) {
    std::ostringstream out, err;
    for (const auto& command : subcommands())
        if (command.name == "draw")
            return {command.run(Invocation{std::move(args), out, err}), out.str(), err.str()};
    return {-1, "", "no draw subcommand"};
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

TEST(DrawRenderCommand, SimulationTakesThePaceWithLiftsAndEasing) {
    // The ease is taken once a frame where the pen is, so strokes crossed in a frame or two (the
    // Truchet arcs) run slower than long ones (the harmonograph's single stroke).
    struct Case { const char* drawing; double easingAtMost; };
    for (const auto& c : {Case{"5", 1.06}, Case{"9", 1.15}}) {
        SCOPED_TRACE(c.drawing);
        const auto result = run({"--size", "800x500", "--drawing", c.drawing, "--seed", "3", "--simulate", "--speed", "10"});
        ASSERT_EQ(result.status, 0) << result.err;
        const auto values = figures(result.out);
        for (const char* name : {"frames", "seconds", "stamps", "ink", "drawingSeconds", "penLifts"})
            ASSERT_EQ(values.count(name), 1u) << name;
        EXPECT_GE(values.at("seconds"), values.at("drawingSeconds") + values.at("penLifts"));
        EXPECT_LE(values.at("seconds"), values.at("drawingSeconds") * c.easingAtMost + values.at("penLifts") + 0.05);
        EXPECT_NEAR(values.at("frames"), values.at("seconds") * 60, 1.5);
        EXPECT_GT(values.at("stamps"), 0);
    }
}

TEST(DrawRenderCommand, PngAtTheAskedScale) {
    const auto file = std::filesystem::temp_directory_path() / ("sorvala-draw-" + std::to_string(::getpid()) + ".png");
    const auto result = run({"--size", "300x200", "--drawing", "4", "--png", file.string(), "--scale", "1.5", "--theme",
                             "dark", "--style", "brush", "--ink", "10"});
    if (result.err.find("needs Qt") != std::string::npos)
        GTEST_SKIP() << "built without painting";
    ASSERT_EQ(result.status, 0) << result.err;
    // The PNG header: the signature, then the IHDR chunk with width and height, big-endian.
    std::ifstream png(file, std::ios::binary);
    unsigned char header[24] = {};
    png.read(reinterpret_cast<char*>(header), sizeof header);
    png.close();
    std::filesystem::remove(file);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(header) + 1, 3), "PNG");
    const auto bigEndian = [&](int at) { return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3]; };
    EXPECT_EQ(bigEndian(16), 450);
    EXPECT_EQ(bigEndian(20), 300);
}

TEST(DrawRenderCommand, BadAppearanceArgumentsGiveOneLineAndStatusTwo) {
    const std::vector<std::string> bad[] = {
        {"--png"},
        {"--png", "/tmp/x.png", "--scale", "0"},
        {"--png", "/tmp/x.png", "--scale", "nan"},
        {"--png", "/tmp/x.png", "--theme", "system"},
        {"--png", "/tmp/x.png", "--style", "random"},
        {"--png", "/tmp/x.png", "--ink", "12"},
        {"--png", "/tmp/x.png", "--ink", "Gold"},
        {"--png", "/tmp/x.png", "--size", "9000x9000", "--scale", "2"},
        {"--png", "/nonexistent-folder/x.png"},
        {"--simulate", "--speed", "11"},
        {"--simulate", "--fps", "0"},
        {"--simulate=yes"},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& arg : args)
            joined += arg + " ";
        SCOPED_TRACE(joined);
        const auto result = run(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

} // namespace
} // namespace sorvala::ctl
