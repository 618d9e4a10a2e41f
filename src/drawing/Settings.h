// SPDX-License-Identifier: MIT
#pragma once

#include "core/PreferencesStore.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace sorvala {

/// A colour with components in 0 … 1, not premultiplied.
struct Rgba {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 1;
    bool operator==(const Rgba&) const = default;

    /// The same colour at another alpha.
    Rgba withAlpha(double alpha) const { return {r, g, b, alpha}; }
};

/// The drawing's appearance: paper, line style, ink, pen speed level, pinned drawing and the
/// drawings allowed to come up. Read from the preferences store when a renderer needs it.
struct Settings {
    enum class Theme { paper = 0, dark = 1, system = 2, random = 3 };
    enum class Style { pencil = 0, brush = 1, random = 2 };
    enum class Ink {
        classic = 0, graphite = 1, sepia = 2, ocean = 3, forest = 4, plum = 5, crimson = 6,
        randomPerDrawing = 7, multicolor = 8, ink = 9, gold = 10, chalk = 11
    };

    Theme theme = defaultTheme;
    double speed = defaultSpeed;
    Style style = defaultStyle;
    Ink ink = defaultInk;
    std::optional<int> pinnedDrawing;
    std::set<int> enabledDrawings;

    static constexpr double defaultSpeed = 3.0;
    static constexpr Theme defaultTheme = Theme::system;
    static constexpr Style defaultStyle = Style::random;
    static constexpr Ink defaultInk = Ink::randomPerDrawing;
    static constexpr int inkCount = 12;

    /// The speed level a stored value stands for: below 1 reads as 1, anything not a level as the
    /// default.
    static double correctedSpeed(double stored);

    /// The registered factory values of the appearance keys for this many drawings.
    static std::map<std::string, PreferenceValue> factoryDefaults(int drawingCount);

    /// Registers the factory values, then reads every key, correcting what is out of range.
    static Settings load(PreferencesStore& store, int drawingCount);

    /// The drawings allowed to come up: those whose bit is set, those added after the mask was
    /// written (number ≥ storedCount), or every drawing when that leaves none.
    static std::set<int> enabledDrawingsFor(std::int64_t storedMask, std::int64_t storedCount, int drawingCount);

    /// Writes every appearance key the way `load` reads it back.
    void save(PreferencesStore& store, int drawingCount) const;

    bool operator==(const Settings&) const = default;
};

/// The one-time copy of the screen saver's own appearance values into the application's store.
namespace AppearanceMigration {

/// Copies the seven keys present in `retired` into `into`, once: it marks the store and never
/// copies again.
void migrateAppearance(const std::map<std::string, PreferenceValue>& retired, PreferencesStore& into);

/// The appearance values the screen saver kept in its own domain. On Linux it never had one, so
/// this reads an absent domain and answers nothing.
std::map<std::string, PreferenceValue> retiredScreenSaverAppearance();

} // namespace AppearanceMigration

/// Resolves `random` and `system` choices and answers the colours of inks and papers.
namespace Appearance {

/// `paper` or `dark`: `random` takes the process-wide rolled theme, `system` follows the desktop.
Settings::Theme resolved(Settings::Theme theme, bool systemIsDark);

/// The process-wide random theme, `paper` or `dark`, rolled on first use.
Settings::Theme rolledRandomTheme();
/// Rolls the random theme afresh; called when a break or a screen-saver run starts.
void rerollRandomTheme();

/// `paper` when bit 17 of the random value is 0, `dark` otherwise.
Settings::Theme themeFromRandomBits(std::uint64_t bits);

/// `pencil` or `brush`; `random` takes bit 17 of `randomBits` (0 is pencil).
Settings::Style resolvedStyle(Settings::Style style, std::uint64_t randomBits);
/// Resolves the style with a fresh value from the system's random source.
Settings::Style resolvedStyleForNewDrawing(Settings::Style style);

/// `randomPerDrawing` becomes one of the ten plain inks, chosen by `pick` (any 64-bit value,
/// reduced without bias by the caller's random source); every other ink stays.
Settings::Ink resolvedInk(Settings::Ink ink, std::uint64_t pickBelowTen);
/// Resolves the ink with a fresh value from the system's random source.
Settings::Ink resolvedInkForNewDrawing(Settings::Ink ink);

/// The ink's colour on paper and on dark.
std::pair<Rgba, Rgba> inkPair(Settings::Ink ink);
/// The ink's colour on an already resolved theme (`paper` or `dark`).
Rgba inkColor(Settings::Theme resolvedTheme, Settings::Ink ink);
/// The paper's colour of an already resolved theme.
Rgba backgroundColor(Settings::Theme resolvedTheme);

/// "Classic blue", "Graphite", …
std::string_view displayName(Settings::Ink ink);
/// The ink of a stored code; nullopt for codes outside 0 … 11.
std::optional<Settings::Ink> inkFromCode(std::int64_t code);

/// The words of the choices, as the command line and log lines spell them ("paper", "brush",
/// "randomPerDrawing"); the `fromText` functions answer nullopt for words they do not know.
std::string_view text(Settings::Theme theme);
std::string_view text(Settings::Style style);
std::string_view text(Settings::Ink ink);
std::optional<Settings::Theme> themeFromText(std::string_view word);
std::optional<Settings::Style> styleFromText(std::string_view word);
std::optional<Settings::Ink> inkFromText(std::string_view word);

} // namespace Appearance

/// A 64-bit value from the system's secure random source.
std::uint64_t secureRandom64();
/// A uniformly random integer in 0 … bound − 1 from the system's secure random source.
std::uint64_t secureRandomBelow(std::uint64_t bound);

} // namespace sorvala
