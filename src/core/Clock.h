// SPDX-License-Identifier: MIT
#pragma once

#include "core/Instant.h"

namespace sorvala {

/// Where the objects with identity take "now" from; pure code takes it as a parameter instead.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Instant now() const = 0;
};

/// The system's wall clock.
class SystemClock final : public Clock {
public:
    Instant now() const override;
};

} // namespace sorvala
