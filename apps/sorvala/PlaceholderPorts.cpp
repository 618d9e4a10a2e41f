// SPDX-License-Identifier: MIT
#include "PlaceholderPorts.h"

#include "core/Logger.h"

#include <string>

namespace sorvala {

void PlaceholderUpdater::startAutomaticChecks() {
    m_log.log("updater not available; no update checks");
}

} // namespace sorvala
