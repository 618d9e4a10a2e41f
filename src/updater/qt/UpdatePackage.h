// SPDX-License-Identifier: MIT
#pragma once

#include "updater/UpdateInstaller.h"

#include <filesystem>
#include <string>
#include <variant>

namespace sorvala::UpdatePackage {

/// The staged build, or why there is none.
using Staged = std::variant<std::filesystem::path, UpdateInstallError>;

/// Unpacks a verified `archive` (a .tar.gz with the one folder "sorvala-<version>/" holding
/// bin/sorvala) into `base`/`version`, beside the running version. Members that would land
/// outside that folder, links pointing out of it and anything but files, folders and links
/// refuse the whole package; a failure leaves nothing behind in `base`. The archive is removed.
Staged stageVersionFolder(const std::filesystem::path& archive, const std::filesystem::path& base,
                          const std::string& version, const std::filesystem::path& runningVersionFolder);

/// Makes the verified `download` executable and places it beside `appImage` as its staged
/// replacement ("<appImage>.update").
Staged stageAppImage(const std::filesystem::path& download, const std::filesystem::path& appImage);

} // namespace sorvala::UpdatePackage
