// SPDX-License-Identifier: MIT
#pragma once

namespace sorvala::UpdateFlow {

/// What opening the About window shows first.
enum class Entry { showReadyToInstall, showDownloading, checkForUpdates };
/// Where a click on the update banner leads.
enum class NotificationRoute { startDownload, openAbout };

/// A staged build wins over a download in progress; otherwise the window checks.
Entry entry(bool stagedAppPathPresent, bool updateInstallInProgress);
/// Downloads straight away only when a release is pending and nothing is staged or downloading.
NotificationRoute notificationRoute(bool pendingReleasePresent, bool stagedAppPathPresent,
                                    bool updateInstallInProgress);
/// A silent check offers a release only while nothing is staged or downloading.
bool shouldOfferUpdate(bool stagedAppPathPresent, bool updateInstallInProgress);

} // namespace sorvala::UpdateFlow
