// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusConnection>

#include <filesystem>

namespace sorvala {

class Logger;

/// Shows a file in the desktop's file manager, selected; where no file manager offers that over
/// D-Bus, opens the folder that holds it.
void showInFileManager(const std::filesystem::path& file, Logger& log,
                       QDBusConnection bus = QDBusConnection::sessionBus());

} // namespace sorvala
