// SPDX-License-Identifier: MIT
#include "updater/UpdateFlow.h"

namespace sorvala::UpdateFlow {

Entry entry(bool stagedAppPathPresent, bool updateInstallInProgress) {
    if (stagedAppPathPresent)
        return Entry::showReadyToInstall;
    if (updateInstallInProgress)
        return Entry::showDownloading;
    return Entry::checkForUpdates;
}

NotificationRoute notificationRoute(bool pendingReleasePresent, bool stagedAppPathPresent,
                                    bool updateInstallInProgress) {
    if (!pendingReleasePresent || stagedAppPathPresent || updateInstallInProgress)
        return NotificationRoute::openAbout;
    return NotificationRoute::startDownload;
}

bool shouldOfferUpdate(bool stagedAppPathPresent, bool updateInstallInProgress) {
    return !stagedAppPathPresent && !updateInstallInProgress;
}

} // namespace sorvala::UpdateFlow
