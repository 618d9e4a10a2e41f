// SPDX-License-Identifier: MIT
#pragma once

#include <array>

/// The little figure of the posture reminder, which keeps standing up from a stool, and the
/// blinking eye of the blink reminder, both as pure functions of time.
namespace sorvala::PostureFigure {

/// A point in the figure's design space: 40 wide, 44 high, y growing upwards.
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

/// Where every moving part is.
struct Pose {
    std::array<Point, 4> legs;  ///< a polyline from the hip down to the foot
    std::array<Point, 3> spine; ///< a quadratic curve: from, control, to
    std::array<Point, 2> arm;   ///< a line
    Point head;                 ///< the head's centre
    bool operator==(const Pose&) const = default;
};

inline constexpr double designWidth = 40;
inline constexpr double designHeight = 44;
inline constexpr double strokeWidth = 3.4;
inline constexpr double stoolStrokeWidth = 2.6;
inline constexpr double headRadius = 6;
/// The stool: a seat and a post.
inline constexpr std::array<Point, 2> stoolSeat = {{{5, 15}, {14, 15}}};
inline constexpr std::array<Point, 2> stoolPost = {{{9.5, 15}, {9.5, 3}}};

/// How long standing up takes.
inline constexpr double riseSeconds = 0.7;
/// How often the figure sits down and stands up again.
inline constexpr double cycleSeconds = 3.2;
/// How long it sits before standing up again.
inline constexpr double seatedSeconds = 0.8;

Pose seated();
Pose standing();
/// The pose `fraction` of the way from `from` to `to` (0 gives `from`, 1 gives `to`).
Pose between(const Pose& from, const Pose& to, double fraction);
/// The pose `seconds` after the figure appeared: it stands up at once, then every 3.2 s sits
/// down and stands up again after 0.8 s.
Pose at(double seconds);

/// The usual ease-in-ease-out curve over [0, 1].
double easeInOut(double fraction);

/// The eye's vertical scale `seconds` after it appeared: open, then shut briefly once every 2 s.
double blinkScale(double seconds);

} // namespace sorvala::PostureFigure
