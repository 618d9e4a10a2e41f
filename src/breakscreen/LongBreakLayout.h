// SPDX-License-Identifier: MIT
#pragma once

namespace sorvala {

/// Where the long break's drawing sits between the headline and the controls.
namespace LongBreakLayout {

/// A rectangle with its origin at the bottom left of its container.
struct Frame {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    bool operator==(const Frame&) const = default;
};

/// The largest square that fits between the headline's bottom and the controls' top (both
/// measured from the container's top), no wider than the container, centred in that band.
Frame sorvalaFrame(double containerWidth, double containerHeight, double headlineBottom, double controlsTop,
                   double headlineClearance = 12, double controlsClearance = 13);

/// `existing`'s size centred where `sorvalaFrame` would now put the drawing, so a drawing in
/// progress keeps its size when its display changes.
Frame recentredSorvalaFrame(const Frame& existing, double containerWidth, double containerHeight,
                            double headlineBottom, double controlsTop, double headlineClearance = 12,
                            double controlsClearance = 13);

} // namespace LongBreakLayout

} // namespace sorvala
