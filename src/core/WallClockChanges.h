// SPDX-License-Identifier: MIT
#pragma once

#include "core/Subscription.h"

#include <functional>

namespace sorvala {

/// Tells when someone sets the system's wall clock (by hand, or a time sync stepping it), as
/// opposed to the clock running on or the machine sleeping.
class WallClockChanges {
public:
    virtual ~WallClockChanges() = default;
    /// Calls `changed` on the main loop with the seconds the wall clock moved (negative when set
    /// back) each time it is set, for as long as the subscription lives.
    virtual Subscription observe(std::function<void(double bySeconds)> changed) = 0;
};

} // namespace sorvala
