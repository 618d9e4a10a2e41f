// SPDX-License-Identifier: MIT
#pragma once

namespace sorvala {

/// The self-updater, as far as the lifecycle starts it.
class Updater {
public:
    virtual ~Updater() = default;
    /// Starts the daily feed check.
    virtual void startAutomaticChecks() = 0;
    /// The update banner, or its "Download & Install" action, was chosen.
    virtual void notificationTapped() {}
};

} // namespace sorvala
