// SPDX-License-Identifier: MIT
#pragma once

#include <array>

namespace sorvala::DesignTokens {

/// An sRGB colour with alpha, each component from 0 to 1.
struct Colour {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    bool operator==(const Colour&) const = default;
};

/// Which of a themed token's two colours a window draws with.
enum class Appearance { light, dark };

/// One colour for a light appearance and one for a dark one.
struct Themed {
    Colour light;
    Colour dark;
    /// The colour a window of `appearance` draws with.
    constexpr Colour resolve(Appearance appearance) const { return appearance == Appearance::dark ? dark : light; }
    bool operator==(const Themed&) const = default;
};

/// A themed colour from its two halves.
constexpr Themed themed(Colour light, Colour dark) { return {light, dark}; }
/// A grey of `white` level at `alpha`.
constexpr Colour grey(double white, double alpha = 1) { return {white, white, white, alpha}; }
/// A colour given in whole 255ths.
constexpr Colour bytes(int red, int green, int blue) { return {red / 255.0, green / 255.0, blue / 255.0, 1}; }

inline constexpr Themed windowSurface = themed({0.973, 0.973, 0.98}, {0.118, 0.118, 0.133});
inline constexpr Themed sidebarSurface = themed(bytes(233, 233, 236), bytes(19, 19, 21));
inline constexpr Themed cardSurface = themed(bytes(246, 246, 248), bytes(42, 42, 46));
inline constexpr Themed chipSurface = themed(bytes(227, 227, 230), bytes(58, 58, 62));
inline constexpr Themed actionBarSurface = themed(grey(1.0, 0.92), grey(0.11, 0.92));
/// The light half stands for the desktop's own control background; the Qt side asks the palette.
inline constexpr Themed selectedRowSurface = themed(grey(1.0), bytes(37, 37, 42));
inline constexpr Themed cardBorder = themed(grey(0, 0.07), grey(1, 0.1));
inline constexpr Themed selectedRowShadow = themed(grey(0, 0.12), grey(0, 0.4));
inline constexpr Themed tileFill = themed(grey(0, 0.045), grey(1, 0.06));
inline constexpr Themed ringTrack = themed(grey(0, 0.08), grey(1, 0.1));
inline constexpr Themed emptyBar = themed(grey(0, 0.1), grey(1, 0.14));
inline constexpr Themed todayRing = themed(grey(0, 0.35), grey(1, 0.55));

inline constexpr Colour sectionHeaderText = bytes(142, 142, 147);
inline constexpr Colour chartAccent = {0.227, 0.502, 0.717};
inline constexpr Colour chartSkipped = {0.776, 0.351, 0.33};
/// The score's colour by band, band 0 to band 3.
inline constexpr std::array<Colour, 4> scoreBands = {
    Colour{0.847, 0.583, 0.238}, Colour{0.661, 0.796, 0.525}, Colour{0.302, 0.748, 0.456},
    Colour{0.0, 0.634, 0.308}};

/// The appearance a window whose background has this lightness (0 to 1) draws with: dark only
/// when the background is clearly dark, light in every other case.
Appearance appearanceForBackgroundLightness(double lightness);

} // namespace sorvala::DesignTokens
