// SPDX-License-Identifier: MIT
#pragma once

#include "menubar/ControlAction.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace sorvala {

class Logger;

/// The running program's control interface on the session bus: commands for scripts, status bars
/// and a second start of the program, and read-only status properties announced with
/// PropertiesChanged at most once a second.
class ControlService final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.sorvala.Sorvala")
    Q_PROPERTY(QString StatusText READ statusText)
    Q_PROPERTY(QString Countdown READ countdown)
    Q_PROPERTY(qlonglong SecondsUntilNextBreak READ secondsUntilNextBreak)
    Q_PROPERTY(bool Paused READ paused)
    Q_PROPERTY(bool OnBreak READ onBreak)

public:
    static constexpr const char* serviceName = "org.sorvala.Sorvala";
    static constexpr const char* objectPath = "/org/sorvala/Sorvala";
    static constexpr const char* interfaceName = "org.sorvala.Sorvala";
    /// The longest snooze or timed pause the interface accepts, in minutes (a day).
    static constexpr int maximumMinutes = 1440;
    /// The error a refused command answers with; its message says why.
    static constexpr const char* refusedError = "org.sorvala.Sorvala.Error.Refused";

    /// The values behind the properties.
    struct Status {
        QString statusText;
        /// The countdown title; empty when there is none.
        QString countdown;
        /// Whole seconds to the next break; -1 when none is scheduled.
        qlonglong secondsUntilNextBreak = -1;
        bool paused = false;
        bool onBreak = false;
        bool operator==(const Status&) const = default;
    };

    /// Why a command was not carried out, in a sentence for the caller; nullopt when it was.
    using Refusal = std::optional<std::string>;

    /// What the commands do in the program.
    struct Commands {
        std::function<void()> open;
        std::function<Refusal(ControlAction action)> action;
        std::function<Refusal(int minutes)> snooze;
        std::function<void(int minutes)> pause;
        std::function<void()> pauseUntilTomorrow;
        std::function<void()> pauseUntilResumed;
        std::function<Refusal()> resume;
    };

    ControlService(Logger& log, std::function<Status()> status, Commands commands,
                   QDBusConnection bus = QDBusConnection::sessionBus());
    ~ControlService() override;

    /// Takes the well-known name and exports the object. False when another instance holds the
    /// name (the caller hands its request over) or the bus is missing (logged; the program runs
    /// without the interface).
    bool claim();
    /// Whether `claim` failed because the bus is missing, not because of another instance.
    bool busMissing() const { return m_busMissing; }
    /// Announces what changed since the last announcement, from a status the program read anyway;
    /// nothing while the interface is not offered. The program hands its status over each second.
    void announce(const Status& status);

    QString statusText() const;
    QString countdown() const;
    qlonglong secondsUntilNextBreak() const;
    bool paused() const;
    bool onBreak() const;

public slots:
    /// Opens the drawing window (a second start without arguments).
    void Open();
    /// Performs the action NAME of `sorvala --action NAME`.
    void Action(const QString& name);
    void StartBreak();
    void StartMicroBreak();
    void TogglePause();
    /// Ends the break on screen as Escape would, within the enforcement tier's rules.
    void SkipBreak();
    void Snooze(int minutes);
    void Pause(int minutes);
    void PauseUntilTomorrow();
    void PauseUntilResumed();
    void Resume();

private:
    Status current() const;
    void announceChanges();
    void announceChanges(const Status& now);
    bool minutesAccepted(int minutes);
    /// Answers the caller with the refusal, if any; announces what changed otherwise.
    void answer(const Refusal& refusal);
    bool requestName();
    /// Follows the name once held, taking it back whenever it is free again.
    void watchName();
    void nameOwnerChanged(const QString& oldOwner, const QString& newOwner);

    Logger& m_log;
    std::function<Status()> m_status;
    Commands m_commands;
    QDBusConnection m_bus;
    std::optional<Status> m_announced;
    bool m_claimed = false;
    bool m_busMissing = false;
    bool m_nameLost = false;
};

/// The other side of the interface: a second start of the program and sorvalactl.
namespace ControlClient {

/// The answer of one call: empty on success, else the error's message.
struct Result {
    bool running = true;
    QString error;
    bool ok() const { return running && error.isEmpty(); }
};

/// Calls `method` of the running program with `arguments`.
Result call(const QString& method, const QVariantList& arguments = {},
            QDBusConnection bus = QDBusConnection::sessionBus());

/// Whether a program holds the well-known name.
bool isRunning(QDBusConnection bus = QDBusConnection::sessionBus());

/// Every property of the running program; nullopt when none runs or it does not answer.
std::optional<ControlService::Status> status(QDBusConnection bus = QDBusConnection::sessionBus());

/// The status from a property map as GetAll or PropertiesChanged carry it, over `base`.
ControlService::Status statusFrom(const QVariantMap& properties, ControlService::Status base = {});

/// Follows the running program's status: reports the whole status when it starts (and at once
/// when it runs), each change it announces, and nullopt whenever it is not running.
class StatusFollower final : public QObject {
    Q_OBJECT

public:
    StatusFollower(std::function<void(const std::optional<ControlService::Status>&)> report,
                   QDBusConnection bus = QDBusConnection::sessionBus());
    /// Reports the current status and starts listening.
    void start();

private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    void fetch();

    std::function<void(const std::optional<ControlService::Status>&)> m_report;
    QDBusConnection m_bus;
    std::optional<ControlService::Status> m_last;
};

} // namespace ControlClient

} // namespace sorvala
