// SPDX-License-Identifier: MIT
#include "notices/ShakeDetector.h"

#include <algorithm>
#include <cmath>

namespace sorvala {

bool ShakeDetector::addSample(double x, double at) {
    if (!m_lastX) {
        m_swingStartX = x;
        m_lastX = x;
        return false;
    }
    const double lastX = *m_lastX;
    m_lastX = x;
    const double d = x - lastX;
    if (d == 0)
        return false;
    const double direction = d > 0 ? 1 : -1;
    if (direction != m_direction) {
        if (m_direction != 0 && std::abs(lastX - m_swingStartX) >= minimumSwingPoints)
            m_reversalTimes.push_back(at);
        m_swingStartX = lastX;
    }
    m_direction = direction;
    std::erase_if(m_reversalTimes, [at](double t) { return t < at - windowSeconds; });
    if (static_cast<int>(m_reversalTimes.size()) >= reversalsRequired) {
        m_reversalTimes.clear();
        return true;
    }
    return false;
}

} // namespace sorvala
