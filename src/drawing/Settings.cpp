// SPDX-License-Identifier: MIT
#include "drawing/Settings.h"

#include "drawing/AppearanceKeys.h"
#include "i18n/I18n.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <random>

namespace sorvala {

using namespace AppearanceKeys;

namespace {

std::int64_t allDrawingsMask(int drawingCount) {
    if (drawingCount >= 63)
        return std::int64_t{-1};
    return drawingCount <= 0 ? 0 : (std::int64_t{1} << drawingCount) - 1;
}

Settings::Theme themeFromCode(std::int64_t code) {
    switch (code) {
    case 1: return Settings::Theme::dark;
    case 2: return Settings::Theme::system;
    case 3: return Settings::Theme::random;
    default: return Settings::Theme::paper;
    }
}

Settings::Style styleFromCode(std::int64_t code) {
    switch (code) {
    case 1: return Settings::Style::brush;
    case 2: return Settings::Style::random;
    default: return Settings::Style::pencil;
    }
}

struct InkRow {
    Settings::Ink ink;
    std::string_view word;
    std::string_view displayName;
    Rgba onPaper;
    Rgba onDark;
};

constexpr Rgba classicPaper{0.1, 0.1, 0.3};
constexpr Rgba classicDark{0.45, 0.58, 1.0};

constexpr InkRow inkTable[Settings::inkCount] = {
    {Settings::Ink::classic, "classic", I18N_NOOP("Classic blue"), classicPaper, classicDark},
    {Settings::Ink::graphite, "graphite", I18N_NOOP("Graphite"), {0.25, 0.25, 0.27}, {0.75, 0.75, 0.77}},
    {Settings::Ink::sepia, "sepia", I18N_NOOP("Sepia"), {0.45, 0.3, 0.16}, {0.95, 0.65, 0.3}},
    {Settings::Ink::ocean, "ocean", I18N_NOOP("Ocean"), {0.05, 0.33, 0.45}, {0.2, 0.8, 0.95}},
    {Settings::Ink::forest, "forest", I18N_NOOP("Forest"), {0.13, 0.35, 0.2}, {0.3, 0.9, 0.5}},
    {Settings::Ink::plum, "plum", I18N_NOOP("Plum"), {0.35, 0.15, 0.4}, {0.85, 0.45, 1.0}},
    {Settings::Ink::crimson, "crimson", I18N_NOOP("Crimson"), {0.55, 0.12, 0.18}, {1.0, 0.35, 0.42}},
    {Settings::Ink::randomPerDrawing, "randomPerDrawing", I18N_NOOP("Random per drawing"), classicPaper, classicDark},
    {Settings::Ink::multicolor, "multicolor", I18N_NOOP("Multicolor"), classicPaper, classicDark},
    {Settings::Ink::ink, "ink", I18N_NOOP("Ink"), {0.1, 0.1, 0.12}, {0.9, 0.9, 0.92}},
    {Settings::Ink::gold, "gold", I18N_NOOP("Gold"), {0.58, 0.42, 0.1}, {1.0, 0.78, 0.32}},
    {Settings::Ink::chalk, "chalk", I18N_NOOP("Chalk"), {0.52, 0.54, 0.56}, {0.93, 0.94, 0.92}},
};

const InkRow& row(Settings::Ink ink) {
    return inkTable[static_cast<int>(ink)];
}

std::atomic<int>& rolledTheme() {
    // -1 until first use; then the code of paper or dark.
    static std::atomic<int> theme{-1};
    return theme;
}

} // namespace

double Settings::correctedSpeed(double stored) {
    // A damaged value that is not a number would stall the pen for good: read it as the default.
    if (!std::isfinite(stored) || stored > 10)
        return Settings::defaultSpeed;
    return std::max(stored, 1.0);
}

std::map<std::string, PreferenceValue> Settings::factoryDefaults(int drawingCount) {
    return {
        {std::string(themeKey), std::int64_t{static_cast<int>(defaultTheme)}},
        {std::string(speedKey), defaultSpeed},
        {std::string(styleKey), std::int64_t{static_cast<int>(defaultStyle)}},
        {std::string(inkKey), std::int64_t{static_cast<int>(defaultInk)}},
        {std::string(drawingKey), std::int64_t{-1}},
        {std::string(enabledDrawingsKey), allDrawingsMask(drawingCount)},
        {std::string(enabledDrawingsCountKey), std::int64_t{drawingCount}},
    };
}

Settings Settings::load(PreferencesStore& store, int drawingCount) {
    store.registerDefaults(factoryDefaults(drawingCount));
    Settings settings;
    settings.theme = themeFromCode(store.integer(themeKey));
    settings.speed = correctedSpeed(store.number(speedKey));
    settings.style = styleFromCode(store.integer(styleKey));
    settings.ink = Appearance::inkFromCode(store.integer(inkKey)).value_or(Ink::classic);
    const std::int64_t pinned = store.integer(drawingKey);
    if (pinned >= 0 && pinned <= std::numeric_limits<int>::max())
        settings.pinnedDrawing = static_cast<int>(pinned);
    settings.enabledDrawings =
        enabledDrawingsFor(store.integer(enabledDrawingsKey), store.integer(enabledDrawingsCountKey), drawingCount);
    return settings;
}

std::set<int> Settings::enabledDrawingsFor(std::int64_t storedMask, std::int64_t storedCount, int drawingCount) {
    const auto mask = static_cast<std::uint64_t>(storedMask);
    std::set<int> enabled;
    for (int i = 0; i < drawingCount; ++i) {
        if (i >= storedCount || (i < 64 && ((mask >> i) & 1u) != 0))
            enabled.insert(i);
    }
    if (enabled.empty()) {
        for (int i = 0; i < drawingCount; ++i)
            enabled.insert(i);
    }
    return enabled;
}

void Settings::save(PreferencesStore& store, int drawingCount) const {
    std::uint64_t mask = 0;
    for (const int number : enabledDrawings) {
        if (number >= 0 && number < 64)
            mask |= std::uint64_t{1} << number;
    }
    store.set(themeKey, std::int64_t{static_cast<int>(theme)});
    store.set(speedKey, speed);
    store.set(styleKey, std::int64_t{static_cast<int>(style)});
    store.set(inkKey, std::int64_t{static_cast<int>(ink)});
    store.set(enabledDrawingsKey, static_cast<std::int64_t>(mask));
    store.set(drawingKey, std::int64_t{pinnedDrawing.value_or(-1)});
    store.set(enabledDrawingsCountKey, std::int64_t{drawingCount});
}

namespace AppearanceMigration {

void migrateAppearance(const std::map<std::string, PreferenceValue>& retired, PreferencesStore& into) {
    if (into.boolean(appearanceMigratedKey))
        return;
    into.set(appearanceMigratedKey, true);
    for (const auto key : migratedKeys) {
        if (const auto found = retired.find(std::string(key)); found != retired.end())
            into.set(key, found->second);
    }
}

std::map<std::string, PreferenceValue> retiredScreenSaverAppearance() {
    return {};
}

} // namespace AppearanceMigration

namespace Appearance {

Settings::Theme resolved(Settings::Theme theme, bool systemIsDark) {
    switch (theme) {
    case Settings::Theme::paper:
    case Settings::Theme::dark:
        return theme;
    case Settings::Theme::system:
        return systemIsDark ? Settings::Theme::dark : Settings::Theme::paper;
    case Settings::Theme::random:
        return rolledRandomTheme();
    }
    return Settings::Theme::paper;
}

Settings::Theme themeFromRandomBits(std::uint64_t bits) {
    return ((bits >> 17) & 1u) == 0 ? Settings::Theme::paper : Settings::Theme::dark;
}

Settings::Theme rolledRandomTheme() {
    int code = rolledTheme().load();
    if (code < 0) {
        int fresh = static_cast<int>(themeFromRandomBits(secureRandom64()));
        // Two first uses racing keep whichever roll landed first.
        if (!rolledTheme().compare_exchange_strong(code, fresh))
            fresh = code;
        code = fresh;
    }
    return static_cast<Settings::Theme>(code);
}

void rerollRandomTheme() {
    rolledTheme().store(static_cast<int>(themeFromRandomBits(secureRandom64())));
}

Settings::Style resolvedStyle(Settings::Style style, std::uint64_t randomBits) {
    if (style != Settings::Style::random)
        return style;
    return ((randomBits >> 17) & 1u) == 0 ? Settings::Style::pencil : Settings::Style::brush;
}

Settings::Style resolvedStyleForNewDrawing(Settings::Style style) {
    return style == Settings::Style::random ? resolvedStyle(style, secureRandom64()) : style;
}

Settings::Ink resolvedInk(Settings::Ink ink, std::uint64_t pickBelowTen) {
    if (ink != Settings::Ink::randomPerDrawing)
        return ink;
    static constexpr Settings::Ink plainInks[] = {
        Settings::Ink::classic, Settings::Ink::graphite, Settings::Ink::sepia, Settings::Ink::ocean,
        Settings::Ink::forest, Settings::Ink::plum, Settings::Ink::crimson, Settings::Ink::ink,
        Settings::Ink::gold, Settings::Ink::chalk};
    return plainInks[pickBelowTen % 10];
}

Settings::Ink resolvedInkForNewDrawing(Settings::Ink ink) {
    return ink == Settings::Ink::randomPerDrawing ? resolvedInk(ink, secureRandomBelow(10)) : ink;
}

std::pair<Rgba, Rgba> inkPair(Settings::Ink ink) {
    return {row(ink).onPaper, row(ink).onDark};
}

Rgba inkColor(Settings::Theme resolvedTheme, Settings::Ink ink) {
    return resolvedTheme == Settings::Theme::dark ? row(ink).onDark : row(ink).onPaper;
}

Rgba backgroundColor(Settings::Theme resolvedTheme) {
    if (resolvedTheme == Settings::Theme::dark)
        return {0.07, 0.07, 0.07};
    return {0.96, 0.95, 0.91};
}

std::string_view displayName(Settings::Ink ink) {
    return row(ink).displayName;
}

std::optional<Settings::Ink> inkFromCode(std::int64_t code) {
    if (code < 0 || code >= Settings::inkCount)
        return std::nullopt;
    return static_cast<Settings::Ink>(code);
}

std::string_view text(Settings::Theme theme) {
    switch (theme) {
    case Settings::Theme::paper: return "paper";
    case Settings::Theme::dark: return "dark";
    case Settings::Theme::system: return "system";
    case Settings::Theme::random: return "random";
    }
    return "paper";
}

std::string_view text(Settings::Style style) {
    switch (style) {
    case Settings::Style::pencil: return "pencil";
    case Settings::Style::brush: return "brush";
    case Settings::Style::random: return "random";
    }
    return "pencil";
}

std::string_view text(Settings::Ink ink) {
    return row(ink).word;
}

std::optional<Settings::Theme> themeFromText(std::string_view word) {
    for (const auto theme : {Settings::Theme::paper, Settings::Theme::dark, Settings::Theme::system, Settings::Theme::random})
        if (text(theme) == word)
            return theme;
    return std::nullopt;
}

std::optional<Settings::Style> styleFromText(std::string_view word) {
    for (const auto style : {Settings::Style::pencil, Settings::Style::brush, Settings::Style::random})
        if (text(style) == word)
            return style;
    return std::nullopt;
}

std::optional<Settings::Ink> inkFromText(std::string_view word) {
    for (const auto& entry : inkTable)
        if (entry.word == word)
            return entry.ink;
    return std::nullopt;
}

} // namespace Appearance

std::uint64_t secureRandom64() {
    // std::random_device reads the kernel's entropy source (getrandom) on Linux.
    thread_local std::random_device device;
    return (std::uint64_t{device()} << 32) ^ std::uint64_t{device()};
}

std::uint64_t secureRandomBelow(std::uint64_t bound) {
    if (bound <= 1)
        return 0;
    // Rejection keeps the choice uniform for bounds that do not divide 2^64.
    const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max() - std::numeric_limits<std::uint64_t>::max() % bound;
    for (;;) {
        const std::uint64_t value = secureRandom64();
        if (value < limit)
            return value % bound;
    }
}

} // namespace sorvala
