// SPDX-License-Identifier: MIT
#include "drawing/Stroke.h"

#include <cmath>

namespace sorvala {

double Stroke::length() const {
    double total = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        total += std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    return total;
}

} // namespace sorvala
