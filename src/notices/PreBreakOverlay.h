// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

/// Where the pre-break countdown goes and what it says.
namespace sorvala::PreBreakOverlay {

/// A capsule place at the top of the screen; the numbers are the stored setting's values.
enum class Position { topLeft = 0, topCenter = 1, topRight = 2 };

/// How dark the screens get at the moment the break starts.
inline constexpr double maximumDimAlpha = 0.8;
/// The gap between a capsule and the edges of the usable screen area.
inline constexpr double defaultMargin = 16;

/// A point or size in screen coordinates, y growing downwards.
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

/// A rectangle in screen coordinates, y growing downwards.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

/// "Top left", "Top center", "Top right".
std::string displayName(Position position);
/// The position stored as `raw`; values outside the three read as the top centre.
Position position(long long raw);

/// "Break in 12…"; negative (or unreadable) seconds read as 0.
std::string text(double secondsRemaining);

/// How dark the screens are with `secondsRemaining` of `totalSeconds` to go: clear at the start,
/// darkening linearly to the maximum at the break.
double dimAlpha(double secondsRemaining, double totalSeconds);

/// The top-left corner of a capsule `panelWidth` wide at `position` in the usable area `visible`.
Point topLeftPoint(Position position, double panelWidth, const Rect& visible, double margin = defaultMargin);

} // namespace sorvala::PreBreakOverlay
