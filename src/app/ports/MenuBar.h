// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace sorvala {

/// The status item and its menu, as far as the application object drives it.
class MenuBar {
public:
    virtual ~MenuBar() = default;
    /// Installs the status item.
    virtual void install() = 0;
    /// Starts the watcher that reinstalls a status item the desktop dropped.
    virtual void startWatching() = 0;
    /// Re-reads the status facts into the menu and the countdown.
    virtual void refresh() = 0;
    /// Starts or stops the 1-second countdown ticker as the setting says.
    virtual void refreshCountdownTicker() = 0;
    /// Rebuilds the status item after a wake when it went missing.
    virtual void rebuildIfNeeded(int settleChecksRemaining) = 0;
    /// Who hosts status items ("kde-statusnotifier", "none", ...), for log lines.
    virtual std::string managerDescription() const = 0;
    /// The screens as "screens=N" and their geometry, for log lines.
    virtual std::string screenDescription() const = 0;
    /// The status item's state in key=value words, for log lines.
    virtual std::string state() const = 0;
};

} // namespace sorvala
