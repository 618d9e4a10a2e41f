// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

#include <cmath>
#include <optional>
#include <utility>

namespace sorvala {

/// A reading kept for a fixed lifetime, so a costly probe is not repeated on every redraw.
template <typename Value>
class FreshReading {
public:
    /// An empty cache whose values stay fresh for `lifetime` seconds.
    explicit FreshReading(double lifetime) : m_lifetime(lifetime) {}

    double lifetime() const { return m_lifetime; }

    /// The cached value while it is younger than the lifetime, else `read()`'s fresh answer.
    /// The age is taken as an absolute difference, so a clock stepped backwards still finds a
    /// recent value fresh.
    template <typename Read>
    Value value(Instant now, Read&& read) {
        if (m_taken && std::abs(now - m_taken->at) < m_lifetime)
            return m_taken->value;
        m_taken.emplace(Taken{now, std::forward<Read>(read)()});
        return m_taken->value;
    }

private:
    struct Taken {
        Instant at;
        Value value;
    };

    double m_lifetime;
    std::optional<Taken> m_taken;
};

} // namespace sorvala
