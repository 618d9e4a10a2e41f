// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <ostream>

namespace sorvala {

/// Test failures show instants as dates with their stored seconds, not as bytes.
inline void PrintTo(const Instant& instant, std::ostream* os) {
    *os << iso8601(instant) << " (" << instant.secondsSinceReferenceDate() << ")";
}

} // namespace sorvala
