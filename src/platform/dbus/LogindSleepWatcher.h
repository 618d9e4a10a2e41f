// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>

#include <functional>

namespace sorvala {

class Logger;

/// Hears logind announce system sleep and wake. A delay inhibitor is held while awake, so the
/// will-sleep work (ending a break, stopping the timers) is done before the machine sleeps; it is
/// released after that work and taken again on wake. Without logind there are no sleep events.
class LogindSleepWatcher final : public QObject {
    Q_OBJECT

public:
    struct Callbacks {
        std::function<void()> willSleep;
        std::function<void()> didWake;
    };

    LogindSleepWatcher(Logger& log, Callbacks callbacks, QDBusConnection systemBus = QDBusConnection::systemBus());
    ~LogindSleepWatcher() override;

    /// Subscribes to PrepareForSleep and takes the inhibitor; false (logged) without logind.
    bool start();
    /// Whether a delay inhibitor is held now.
    bool holdsInhibitor() const { return m_inhibitor.isValid(); }

private slots:
    void prepareForSleep(bool sleeping);

private:
    void takeInhibitor();
    void releaseInhibitor();

    Logger& m_log;
    Callbacks m_callbacks;
    QDBusConnection m_bus;
    QDBusUnixFileDescriptor m_inhibitor;
};

} // namespace sorvala
