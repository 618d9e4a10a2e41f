// SPDX-License-Identifier: MIT
#include "platform/QtFatalMessageBridge.h"

#include "app/AppLogger.h"

#include <QString>
#include <QtGlobal>

namespace sorvala::QtFatalMessageBridge {

namespace {

QtMessageHandler previousHandler = nullptr;

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg)
        AppLogger::logUncaught("qFatal", message.toStdString());
    if (previousHandler) // Qt hands back its own default handler when none was installed
        previousHandler(type, context, message);
}

} // namespace

void install() {
    static const bool installed = [] {
        previousHandler = qInstallMessageHandler(handle);
        return true;
    }();
    (void)installed;
}

} // namespace sorvala::QtFatalMessageBridge
