// SPDX-License-Identifier: MIT
#include "breakscreen/LongBreakLayout.h"

#include <algorithm>

namespace sorvala {

namespace LongBreakLayout {

Frame sorvalaFrame(double containerWidth, double containerHeight, double headlineBottom, double controlsTop,
                   double headlineClearance, double controlsClearance) {
    const double top = headlineBottom + headlineClearance;
    const double bottom = controlsTop - controlsClearance;
    const double side = std::max(0.0, std::min(bottom - top, containerWidth));
    const double x = (containerWidth - side) * 0.5;
    const double y = containerHeight - (top + bottom) * 0.5 - side * 0.5;
    return {x, y, side, side};
}

Frame recentredSorvalaFrame(const Frame& existing, double containerWidth, double containerHeight,
                            double headlineBottom, double controlsTop, double headlineClearance,
                            double controlsClearance) {
    const Frame square = sorvalaFrame(containerWidth, containerHeight, headlineBottom, controlsTop,
                                      headlineClearance, controlsClearance);
    const double centreX = square.x + square.width * 0.5;
    const double centreY = square.y + square.height * 0.5;
    return {centreX - existing.width * 0.5, centreY - existing.height * 0.5, existing.width, existing.height};
}

} // namespace LongBreakLayout

} // namespace sorvala
