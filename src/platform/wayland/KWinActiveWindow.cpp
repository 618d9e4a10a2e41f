// SPDX-License-Identifier: MIT
#include "platform/wayland/KWinActiveWindow.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryFile>

namespace sorvala {

namespace {

const QString kwinService = QStringLiteral("org.kde.KWin");
const QString objectPath = QStringLiteral("/org/sorvala/KWinActiveWindow");

// KWin 5's scripting API. A resource class may come as bytes, which the script turns into text.
// The window's own full-screen changes are watched too, since they activate nothing.
const char* const scriptTemplate = R"js(
function text(value) {
    if (value === undefined || value === null) return "";
    if (typeof value === "string") return value;
    return String.fromCharCode.apply(null, new Uint8Array(value));
}
function report(client) {
    if (!client) {
        callDBus("%1", "%2", "org.sorvala.KWinActiveWindow", "report", "", "", false);
        return;
    }
    callDBus("%1", "%2", "org.sorvala.KWinActiveWindow", "report",
             text(client.resourceClass), text(client.desktopFileName), client.fullScreen === true);
}
function watch(client) {
    client.fullScreenChanged.connect(function () {
        if (workspace.activeClient === client) report(client);
    });
}
workspace.clientList().forEach(watch);
workspace.clientAdded.connect(watch);
workspace.clientActivated.connect(report);
report(workspace.activeClient);
)js";

} // namespace

KWinActiveWindow::KWinActiveWindow(QDBusConnection bus) : m_bus(std::move(bus)) {
    if (!m_bus.isConnected() ||
        !m_bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots))
        return;
    m_watching = loadScript();
    if (!m_watching)
        m_bus.unregisterObject(objectPath);
}

KWinActiveWindow::~KWinActiveWindow() {
    if (!m_watching)
        return;
    // Sent without waiting: KWin may be gone already, and quitting should not wait for it.
    auto unload = QDBusMessage::createMethodCall(kwinService, QStringLiteral("/Scripting"),
                                                 QStringLiteral("org.kde.kwin.Scripting"),
                                                 QStringLiteral("unloadScript"));
    unload << pluginName();
    m_bus.send(unload);
    m_bus.unregisterObject(objectPath);
}

QString KWinActiveWindow::pluginName() const {
    // One per connection: a second program of ours (sorvalactl probe) loads a script of its own.
    return QStringLiteral("sorvala-active-window-") + QString(m_bus.baseService()).remove(QLatin1Char(':'));
}

bool KWinActiveWindow::loadScript() {
    m_script = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/sorvala-kwin-XXXXXX.js"));
    if (!m_script->open())
        return false;
    m_script->write(QString::fromLatin1(scriptTemplate).arg(m_bus.baseService(), objectPath).toUtf8());
    m_script->flush();
    auto load = QDBusMessage::createMethodCall(kwinService, QStringLiteral("/Scripting"),
                                               QStringLiteral("org.kde.kwin.Scripting"),
                                               QStringLiteral("loadScript"));
    load << m_script->fileName() << pluginName();
    const QDBusReply<int> id = m_bus.call(load, QDBus::Block, 2000);
    if (!id.isValid() || id.value() < 0)
        return false;
    // KWin 5 names a loaded script's object after its number.
    auto run = QDBusMessage::createMethodCall(kwinService, QStringLiteral("/") + QString::number(id.value()),
                                              QStringLiteral("org.kde.kwin.Script"), QStringLiteral("run"));
    if (m_bus.call(run, QDBus::Block, 2000).type() != QDBusMessage::ReplyMessage)
        return false;
    awaitFirstReport();
    return true;
}

void KWinActiveWindow::awaitFirstReport() {
    // The script reports the active window as it starts; a one-shot reader (sorvalactl probe)
    // would read before that call arrives.
    constexpr int patienceMilliseconds = 500;
    QElapsedTimer waited;
    waited.start();
    while (!m_reported && waited.elapsed() < patienceMilliseconds)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
}

void KWinActiveWindow::report(const QString& resourceClass, const QString& desktopFileName, bool fullscreen) {
    m_reported = true;
    if (resourceClass.isEmpty() && desktopFileName.isEmpty()) {
        m_active.reset();
        return;
    }
    // The desktop-file name is the id we match on; X11 clients through XWayland may have only
    // their class.
    const QString id = desktopFileName.isEmpty() ? resourceClass : desktopFileName;
    m_active = WaylandReadings::Toplevel{id.toStdString(), true, fullscreen};
}

} // namespace sorvala
