// SPDX-License-Identifier: MIT
// Stand-ins for the services that are not part of the program yet. Each logs what it was asked
// and does the harmless thing, so the schedule keeps running.
#pragma once

#include "app/ports/Updater.h"

namespace sorvala {

class Logger;

/// Checks for no updates.
class PlaceholderUpdater final : public Updater {
public:
    explicit PlaceholderUpdater(Logger& log) : m_log(log) {}
    void startAutomaticChecks() override;

private:
    Logger& m_log;
};

} // namespace sorvala
