// SPDX-License-Identifier: MIT
#include "breakscreen/BreakPalette.h"

namespace sorvala {

namespace {
using DesignTokens::bytes;
using DesignTokens::Colour;

constexpr Colour withAlpha(Colour colour, double alpha) {
    colour.alpha = alpha;
    return colour;
}
constexpr Colour white(double alpha) { return {1, 1, 1, alpha}; }
constexpr Colour black(double alpha) { return {0, 0, 0, alpha}; }
} // namespace

BreakPalette BreakPalette::resolve(bool isDark) {
    if (isDark) {
        const Colour accent = bytes(115, 148, 255);
        return {.text = bytes(236, 235, 230),
                .accent = accent,
                .gradientWash = withAlpha(accent, 0.16),
                .ringTrack = white(0.1),
                .glow = withAlpha(accent, 0.16),
                .topName = white(0.5),
                .topKicker = white(0.34),
                .seconds = white(0.34),
                .subtitle = white(0.5),
                .escapeHint = white(0.34),
                .skipFill = white(0.1),
                .skipBorder = white(0.1)};
    }
    const Colour accent = bytes(26, 26, 77);
    return {.text = bytes(43, 41, 36),
            .accent = accent,
            .gradientWash = withAlpha(accent, 0.07),
            .ringTrack = withAlpha(accent, 0.13),
            .glow = withAlpha(accent, 0.07),
            .topName = black(0.42),
            .topKicker = black(0.34),
            .seconds = black(0.34),
            .subtitle = black(0.42),
            .escapeHint = black(0.34),
            .skipFill = withAlpha(accent, 0.13),
            .skipBorder = withAlpha(accent, 0.13)};
}

} // namespace sorvala
