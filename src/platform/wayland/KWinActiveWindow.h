// SPDX-License-Identifier: MIT
#pragma once

#include "platform/wayland/WaylandReadings.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QTemporaryFile;

namespace sorvala {

/// The active window on KDE Plasma, which tells other programs nothing about its windows: a small
/// KWin script, loaded over KWin's scripting interface on the session bus, calls us back with the
/// active window's desktop-file name (else its resource class) and full-screen state whenever
/// either changes. The script is unloaded when this object goes.
class KWinActiveWindow final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.sorvala.KWinActiveWindow")
public:
    explicit KWinActiveWindow(QDBusConnection bus);
    ~KWinActiveWindow() override;

    /// Whether KWin runs our script.
    bool isWatching() const { return m_watching; }
    /// The active window as of KWin's last report; nullopt before the first or with none active.
    std::optional<WaylandReadings::Toplevel> activeWindow() const { return m_active; }

public Q_SLOTS:
    /// The script's call: the active window changed, or its full-screen state did. Empty names:
    /// no window is active.
    Q_SCRIPTABLE void report(const QString& resourceClass, const QString& desktopFileName, bool fullscreen);

private:
    bool loadScript();
    void awaitFirstReport();
    QString pluginName() const;

    QDBusConnection m_bus;
    std::unique_ptr<QTemporaryFile> m_script;
    std::optional<WaylandReadings::Toplevel> m_active;
    bool m_watching = false;
    bool m_reported = false;
};

} // namespace sorvala
