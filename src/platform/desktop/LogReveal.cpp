// SPDX-License-Identifier: MIT
#include "platform/desktop/LogReveal.h"

#include "core/Logger.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QUrl>

namespace sorvala {

void showInFileManager(const std::filesystem::path& file, Logger& log, QDBusConnection bus) {
    const auto url = QUrl::fromLocalFile(QString::fromStdString(file.string()));
    const QString fileManager = QStringLiteral("org.freedesktop.FileManager1");
    const bool offered = bus.isConnected() && bus.interface() &&
                         (bus.interface()->isServiceRegistered(fileManager) ||
                          bus.interface()->activatableServiceNames().value().contains(fileManager));
    if (offered) {
        auto call = QDBusMessage::createMethodCall(fileManager, QStringLiteral("/org/freedesktop/FileManager1"),
                                                  fileManager, QStringLiteral("ShowItems"));
        call << QStringList{url.toString()} << QString();
        const auto reply = bus.call(call, QDBus::Block, 3000);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            log.log("log shown in file manager");
            return;
        }
        log.log("file manager did not show the log error=" + reply.errorName().toStdString());
    }
    const auto folder = QUrl::fromLocalFile(QString::fromStdString(file.parent_path().string()));
    if (QDesktopServices::openUrl(folder))
        log.log("log folder opened");
    else
        log.log("log folder not opened path=" + file.parent_path().string());
}

} // namespace sorvala
