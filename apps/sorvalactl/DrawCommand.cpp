// SPDX-License-Identifier: MIT
#include "DrawCommand.h"

#include "drawing/SorvalaGenerator.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <system_error>

namespace sorvala::ctl {

namespace {

// Everything the options of `draw` decide; each option fills its own fields.
struct DrawRequest {
    SorvalaGenerator::Size size{1440, 900};
    std::int64_t drawing = 0;
    std::uint64_t seed = 0;
    bool printStrokes = false;
};

using OptionError = std::optional<std::string>;

// The longest side a drawing may ask for, and how much longer one side may be than the other:
// a very tall, narrow surface asks the Truchet tiles for millions of strokes.
constexpr double largestSide = 16384;
constexpr double widestAspect = 64;

template <typename Number>
std::optional<Number> wholeNumber(std::string_view text, int base = 10) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::optional<double> side(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= 1 && value <= largestSide))
        return std::nullopt;
    return value;
}

OptionError setSize(DrawRequest& request, std::string_view value) {
    const auto cross = value.find('x');
    const auto width = cross == std::string_view::npos ? std::nullopt : side(value.substr(0, cross));
    const auto height = cross == std::string_view::npos ? std::nullopt : side(value.substr(cross + 1));
    if (!width || !height)
        return "--size wants WIDTHxHEIGHT with sides from 1 to 16384, like 1440x900";
    if (*width > *height * widestAspect || *height > *width * widestAspect)
        return "--size: one side may be at most 64 times the other";
    request.size = {*width, *height};
    return std::nullopt;
}

// Any integer names a drawing, however long: only its remainder (with its sign) matters.
OptionError setDrawing(DrawRequest& request, std::string_view value) {
    const bool negative = value.starts_with('-');
    const auto digits = negative ? value.substr(1) : value;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return "--drawing wants a whole number, like 7";
    std::int64_t remainder = 0;
    for (const char digit : digits)
        remainder = (remainder * 10 + (digit - '0')) % SorvalaGenerator::drawingCount;
    request.drawing = negative ? -remainder : remainder;
    return std::nullopt;
}

OptionError setSeed(DrawRequest& request, std::string_view value) {
    const bool hex = value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X');
    const auto seed = hex ? wholeNumber<std::uint64_t>(value.substr(2), 16) : wholeNumber<std::uint64_t>(value);
    if (!seed)
        return "--seed wants an unsigned 64-bit number in decimal or 0x hex, like 0xC0FFEE";
    request.seed = *seed;
    return std::nullopt;
}

struct Option {
    std::string_view name;
    std::string_view valueName;   // empty for a switch
    std::string_view help;
    OptionError (*apply)(DrawRequest& request, std::string_view value);
};

// One row per option; a new option is a row here and a field in DrawRequest.
const Option options[] = {
    {"--size", "WxH", "surface size in points (default 1440x900)", setSize},
    {"--drawing", "N", "drawing number, taken modulo 12 (default 0)", setDrawing},
    {"--seed", "S", "64-bit seed, decimal or 0x hex (default 0)", setSeed},
    {"--strokes", "", "print each stroke: a line w=<width>, then one line <x> <y> per point",
     [](DrawRequest& request, std::string_view) -> OptionError {
         request.printStrokes = true;
         return std::nullopt;
     }},
};

const Option* findOption(std::string_view name) {
    for (const auto& option : options)
        if (option.name == name)
            return &option;
    return nullptr;
}

OptionError parse(const std::vector<std::string>& args, DrawRequest& request) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::optional<std::string_view> inlineValue;
        if (const auto equals = arg.find('='); arg.starts_with("--") && equals != std::string_view::npos) {
            inlineValue = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        const Option* option = findOption(arg);
        if (!option)
            return "unknown option '" + std::string(args[i]) + "' (see sorvalactl draw --help)";
        std::string_view value;
        if (option->valueName.empty()) {
            if (inlineValue)
                return std::string(option->name) + " takes no value";
        } else if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return std::string(option->name) + " needs a value";
        }
        if (auto error = option->apply(request, value))
            return error;
    }
    return std::nullopt;
}

void printHelp(std::ostream& out) {
    out << "usage: sorvalactl draw [options]\n\nGenerates one drawing; the same size, drawing and seed always "
           "give the same strokes.\n\noptions:\n";
    for (const auto& option : options) {
        std::string left = std::string(option.name);
        if (!option.valueName.empty())
            left += " " + std::string(option.valueName);
        out << "  " << left << std::string(left.size() < 16 ? 16 - left.size() : 1, ' ') << option.help << '\n';
    }
}

void appendNumber(std::string& text, double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

void printStrokes(const Sorvala& sorvala, std::ostream& out) {
    std::string text;
    for (const auto& stroke : sorvala.strokes()) {
        text += "w=";
        appendNumber(text, stroke.width);
        text += '\n';
        for (const auto& point : stroke.points) {
            appendNumber(text, point.x);
            text += ' ';
            appendNumber(text, point.y);
            text += '\n';
        }
        if (text.size() > (1 << 16)) {
            out << text;
            text.clear();
        }
    }
    out << text;
}

} // namespace

int runDraw(const Invocation& invocation) {
    if (wantsHelp(invocation)) {
        printHelp(invocation.out);
        return 0;
    }
    DrawRequest request;
    if (auto error = parse(invocation.args, request))
        return fail(invocation, "draw: " + *error);
    if (!request.printStrokes)
        return fail(invocation, "draw: nothing to do; give --strokes (see sorvalactl draw --help)");
    printStrokes(SorvalaGenerator::generate(request.size, request.drawing, request.seed), invocation.out);
    return 0;
}

} // namespace sorvala::ctl
