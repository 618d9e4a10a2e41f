// SPDX-License-Identifier: MIT
#pragma once

#include "drawing/SeededRandomNumberGenerator.h"
#include "drawing/Sorvala.h"
#include "i18n/I18n.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace sorvala::SorvalaGenerator {

/// The size of the drawing surface, in points.
struct Size {
    double width = 0;
    double height = 0;
};

/// How many different drawings there are; drawing numbers wrap around this.
inline constexpr int drawingCount = 12;

/// The names shown to the user, in drawing-number order.
inline constexpr std::array<std::string_view, drawingCount> drawingNames = {
    I18N_NOOP("Chord web"),    I18N_NOOP("Layered spirograph"), I18N_NOOP("Mixed spirograph"),
    I18N_NOOP("Dense spirograph"), I18N_NOOP("Maurer rose"),    I18N_NOOP("Harmonograph"),
    I18N_NOOP("Phyllotaxis"),  I18N_NOOP("Lissajous weave"),    I18N_NOOP("Moiré rings"),
    I18N_NOOP("Truchet arcs"), I18N_NOOP("Hilbert curve"),      I18N_NOOP("Dragon curve"),
};

/// One circle rolling inside the fixed circle of a spirograph, with its pen and line width.
struct HypotrochoidPass {
    double rollingRadius = 0;
    double penFactor = 0;
    double width = 0;
};

/// The drawing for this surface, drawing number and seed; the same three inputs always give the
/// same strokes, bit for bit. The drawing number is taken modulo `drawingCount` with the sign of
/// the number; any negative remainder selects the dragon curve. A surface without a positive,
/// finite width and height gives an empty drawing.
Sorvala generate(Size size, std::int64_t drawing, std::uint64_t seed);

/// `count` pen factors from 1.15 down to `innermost` in equal steps; `count` is at least 2.
std::vector<double> penFactors(int count, double innermost);

/// One stroke per pass, scaled so that the widest pass just touches the circle of `radius`.
Sorvala hypotrochoids(Point center, double radius, std::span<const HypotrochoidPass> passes);

/// The quarter circle of a Truchet tile of side `cell` that joins the midpoints of two adjacent
/// edges; 13 points.
std::vector<Point> arc(Point cellOrigin, double cell, bool cornerAtOrigin, bool firstArc);

/// Drawing 0: three webs of chords between points evenly spaced on a circle.
Sorvala chordWeb(Point center, double radius, SeededRandomNumberGenerator& random);
/// Drawing 1: four nested hypotrochoids on one rolling circle.
Sorvala spirograph(Point center, double radius, SeededRandomNumberGenerator& random);
/// Drawing 2: three hypotrochoids on three different rolling circles.
Sorvala mixedSpirograph(Point center, double radius, SeededRandomNumberGenerator& random);
/// Drawing 3: six close hypotrochoids on one rolling circle.
Sorvala denseSpirograph(Point center, double radius, SeededRandomNumberGenerator& random);
/// Drawing 4: a rose curve and the Maurer polyline over it.
Sorvala maurerRose(Point center, double radius, SeededRandomNumberGenerator& random);
/// Drawing 5: two decaying pendulums.
Sorvala harmonograph(Point center, double radius, SeededRandomNumberGenerator& random);
/// Drawing 6: florets on the golden angle, growing outwards.
Sorvala phyllotaxis(Point center, double radius, SeededRandomNumberGenerator& random);
/// Drawing 7: one Lissajous curve over the whole surface.
Sorvala lissajousWeave(Point center, double radius, Size size, SeededRandomNumberGenerator& random);
/// Drawing 8: two sets of concentric rings slightly apart.
Sorvala moireRings(Point center, double radius, SeededRandomNumberGenerator& random);
/// Drawing 9: random quarter-circle tiles over the whole surface.
Sorvala truchetArcs(Size size, SeededRandomNumberGenerator& random);
/// Drawing 10: a Hilbert curve filling the square around the drawing circle.
Sorvala hilbertCurve(Point center, double radius, SeededRandomNumberGenerator& random);
/// Drawing 11: a paper-folding dragon curve fitted to the surface.
Sorvala dragonCurve(Size size, SeededRandomNumberGenerator& random);

} // namespace sorvala::SorvalaGenerator
