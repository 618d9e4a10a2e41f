// SPDX-License-Identifier: MIT
#include "DrawCommand.h"

#include "drawing/DrawingPace.h"
#include "drawing/ProgressiveRenderer.h"
#include "drawing/Settings.h"
#include "drawing/SorvalaGenerator.h"
#include "i18n/I18n.h"

#ifdef SORVALA_WITH_RENDER
#include "render/SorvalaSaverView.h"
#endif

#include <algorithm>
#include <charconv>
#include <cstdio>
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
    std::optional<std::string> png;
    double scale = 2.0;
    Settings::Theme theme = Settings::Theme::paper;
    Settings::Style style = Settings::Style::pencil;
    Settings::Ink ink = Settings::Ink::classic;
    bool simulate = false;
    double speed = Settings::defaultSpeed;
    double fps = 60;
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
        return i18n("--size wants WIDTHxHEIGHT with sides from 1 to 16384, like 1440x900");
    if (*width > *height * widestAspect || *height > *width * widestAspect)
        return i18n("--size: one side may be at most 64 times the other");
    request.size = {*width, *height};
    return std::nullopt;
}

// Any integer names a drawing, however long: only its remainder (with its sign) matters.
OptionError setDrawing(DrawRequest& request, std::string_view value) {
    const bool negative = value.starts_with('-');
    const auto digits = negative ? value.substr(1) : value;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return i18n("--drawing wants a whole number, like 7");
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
        return i18n("--seed wants an unsigned 64-bit number in decimal or 0x hex, like 0xC0FFEE");
    request.seed = *seed;
    return std::nullopt;
}

std::optional<double> realNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

OptionError setPng(DrawRequest& request, std::string_view value) {
    if (value.empty())
        return i18n("--png wants a file name");
    request.png = std::string(value);
    return std::nullopt;
}

OptionError setScale(DrawRequest& request, std::string_view value) {
    const auto scale = realNumber(value);
    if (!scale || !(*scale > 0 && *scale <= 4))
        return i18n("--scale wants a number above 0 and at most 4, like 2");
    request.scale = *scale;
    return std::nullopt;
}

OptionError setTheme(DrawRequest& request, std::string_view value) {
    const auto theme = Appearance::themeFromText(value);
    if (theme != Settings::Theme::paper && theme != Settings::Theme::dark)
        return i18n("--theme wants paper or dark");
    request.theme = *theme;
    return std::nullopt;
}

OptionError setStyle(DrawRequest& request, std::string_view value) {
    const auto style = Appearance::styleFromText(value);
    if (style != Settings::Style::pencil && style != Settings::Style::brush)
        return i18n("--style wants pencil or brush");
    request.style = *style;
    return std::nullopt;
}

OptionError setInk(DrawRequest& request, std::string_view value) {
    auto ink = Appearance::inkFromText(value);
    if (!ink) {
        if (const auto code = wholeNumber<std::int64_t>(value))
            ink = Appearance::inkFromCode(*code);
    }
    if (!ink)
        // TRANSLATORS: the ink names are typed as they are.
        return i18n("--ink wants an ink name (classic, graphite, sepia, ocean, forest, plum, crimson, "
                    "randomPerDrawing, multicolor, ink, gold, chalk) or its code 0 to 11");
    request.ink = *ink;
    return std::nullopt;
}

OptionError setSpeed(DrawRequest& request, std::string_view value) {
    const auto speed = realNumber(value);
    if (!speed || !(*speed >= 1 && *speed <= 10))
        return i18n("--speed wants a speed level from 1 to 10");
    request.speed = *speed;
    return std::nullopt;
}

OptionError setFps(DrawRequest& request, std::string_view value) {
    const auto fps = realNumber(value);
    if (!fps || !(*fps >= 1 && *fps <= 1000))
        return i18n("--fps wants frames per second from 1 to 1000");
    request.fps = *fps;
    return std::nullopt;
}

struct Option {
    std::string_view name;
    std::string_view valueName;   // empty for a switch
    const char* help; ///< in English, translated where printed
    OptionError (*apply)(DrawRequest& request, std::string_view value);
};

// One row per option; a new option is a row here and a field in DrawRequest.
const Option options[] = {
    {"--size", "WxH", I18N_NOOP("surface size in points (default 1440x900)"), setSize},
    {"--drawing", "N", I18N_NOOP("drawing number, taken modulo 12 (default 0)"), setDrawing},
    {"--seed", "S", I18N_NOOP("64-bit seed, decimal or 0x hex (default 0)"), setSeed},
    {"--strokes", "", I18N_NOOP("print each stroke: a line w=<width>, then one line <x> <y> per point"),
     [](DrawRequest& request, std::string_view) -> OptionError {
         request.printStrokes = true;
         return std::nullopt;
     }},
    {"--png", "FILE", I18N_NOOP("render the finished drawing to a PNG file, as the gallery keeps it"), setPng},
    {"--scale", "K", I18N_NOOP("pixels per point of the PNG (default 2)"), setScale},
    {"--theme", "NAME", I18N_NOOP("paper or dark (default paper)"), setTheme},
    {"--style", "NAME", I18N_NOOP("pencil or brush (default pencil)"), setStyle},
    {"--ink", "NAME|CODE", I18N_NOOP("ink by name or code (default classic)"), setInk},
    {"--simulate", "", I18N_NOOP("draw it on a virtual clock and print frames, seconds, stamps and ink"),
     [](DrawRequest& request, std::string_view) -> OptionError {
         request.simulate = true;
         return std::nullopt;
     }},
    {"--speed", "L", I18N_NOOP("speed level 1 to 10 for --simulate (default 3)"), setSpeed},
    {"--fps", "F", I18N_NOOP("frames per second of the virtual clock (default 60)"), setFps},
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
            return i18n("unknown option '%1' (see sorvalactl draw --help)", args[i]);
        std::string_view value;
        if (option->valueName.empty()) {
            if (inlineValue)
                // TRANSLATORS: %1 is an option such as --strokes.
                return i18n("%1 takes no value", option->name);
        } else if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return i18n("%1 needs a value", option->name);
        }
        if (auto error = option->apply(request, value))
            return error;
    }
    return std::nullopt;
}

void printHelp(std::ostream& out) {
    out << i18n("usage: sorvalactl draw [options]\n\nGenerates one drawing; the same size, drawing and seed "
                "always give the same strokes.\n\noptions:\n");
    for (const auto& option : options) {
        std::string left = std::string(option.name);
        if (!option.valueName.empty())
            left += " " + std::string(option.valueName);
        out << "  " << left << std::string(left.size() < 16 ? 16 - left.size() : 1, ' ') << i18n(option.help)
            << '\n';
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

void simulate(const Sorvala& sorvala, const DrawRequest& request, std::ostream& out) {
    ProgressiveRenderer::Environment environment;
    environment.generate = [&sorvala](double, double, int, std::uint64_t) { return sorvala; };
    environment.random = [state = request.seed]() mutable { return state = state * 6364136223846793005ull + 1442695040888963407ull; };
    environment.profiling = false;
    double now = 0;
    // The factory appearance: a simulation reads nothing from the user's settings.
    Settings appearance;
    appearance.enabledDrawings = Settings::enabledDrawingsFor(-1, SorvalaGenerator::drawingCount, SorvalaGenerator::drawingCount);
    ProgressiveRenderer renderer(appearance, environment, now);
    renderer.drawingOverride = static_cast<int>(request.drawing % SorvalaGenerator::drawingCount);
    renderer.speedOverride = request.speed;
    renderer.setSize(request.size.width, request.size.height);
    renderer.startAnimation();
    long long frames = 0;
    long long stamps = 0;
    const double frameSeconds = 1.0 / request.fps;
    // A drawing's pace is bounded; this only stops a runaway loop.
    const long long frameLimit = static_cast<long long>(request.fps * 24 * 3600);
    renderer.animateOneFrame(now);
    while (!renderer.isDrawingComplete() && !sorvala.strokes().empty() && frames < frameLimit) {
        ++frames;
        now = static_cast<double>(frames) * frameSeconds;
        renderer.animateOneFrame(now);
        for (const auto& stamp : renderer.takeChanges().stamps)
            stamps += stamp.points.size() >= 2 ? 1 : 0;
    }
    char text[400];
    std::snprintf(text, sizeof text,
                  "frames %lld\nseconds %.3f\nstamps %lld\nink %.1f\ndrawingSeconds %.3f\npenLifts %.3f\n", frames, now,
                  stamps, renderer.totalInkLength(), DrawingPace::drawingSeconds(renderer.totalInkLength(), request.speed),
                  renderer.penLiftSeconds() * static_cast<double>(sorvala.strokes().empty() ? 0 : sorvala.strokes().size() - 1));
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
    if (!request.printStrokes && !request.png && !request.simulate)
        return fail(invocation,
                    i18n("draw: nothing to do; give --strokes, --png or --simulate (see sorvalactl draw --help)"));
#ifndef SORVALA_WITH_RENDER
    if (request.png)
        return fail(invocation, i18n("draw: this build has no painting; --png needs Qt"));
#endif
    const Sorvala sorvala = SorvalaGenerator::generate(request.size, request.drawing, request.seed);
    if (request.printStrokes)
        printStrokes(sorvala, invocation.out);
#ifdef SORVALA_WITH_RENDER
    if (request.png && std::max(request.size.width, request.size.height) * request.scale > largestSide)
        return fail(invocation,
                    i18n("draw: the image would be more than 16384 pixels on a side; lower --scale or --size"));
    if (request.png) {
        FinishedLook look;
        look.theme = request.theme;
        look.style = request.style;
        // Random and multicolour inks take their choices from the seed, so one command gives one picture.
        look.ink = inkPlanFor(sorvala, request.ink, Appearance::resolvedInk(request.ink, request.seed % 10), request.seed % 6);
        const QImage image = renderFinishedDrawing(sorvala, QSizeF(request.size.width, request.size.height), request.scale, look);
        if (image.isNull())
            return fail(invocation, i18n("draw: the image is too large to render; lower --scale or --size"));
        if (!image.save(QString::fromStdString(*request.png), "PNG"))
            // TRANSLATORS: %1 is a file name.
            return fail(invocation, i18n("draw: could not write %1", *request.png));
    }
#endif
    if (request.simulate)
        simulate(sorvala, request, invocation.out);
    return 0;
}

} // namespace sorvala::ctl
