// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

namespace sorvala {

/// A position on the drawing surface, in points.
struct Point {
    double x = 0;
    double y = 0;

    bool operator==(const Point&) const = default;
};

/// One polyline of a drawing, drawn in point order with a base line width.
struct Stroke {
    std::vector<Point> points;
    double width = 1.0;

    /// The sum of the distances between consecutive points; 0 with fewer than two points.
    double length() const;

    bool operator==(const Stroke&) const = default;
};

} // namespace sorvala
