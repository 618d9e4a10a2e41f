// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/BannerCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace sorvala {

class Logger;

/// Banners through the desktop's notification service (org.freedesktop.Notifications): one
/// banner per identifier, replaced in place, action buttons per category, and the user's clicks
/// handed back as responses. Every call is asynchronous; a service that comes and goes is
/// followed, and banner ids are forgotten when it restarts.
class FreedesktopBannerCenter final : public QObject, public BannerCenter {
    Q_OBJECT
public:
    static constexpr const char* serviceName = "org.freedesktop.Notifications";
    static constexpr const char* objectPath = "/org/freedesktop/Notifications";
    /// Our desktop-file id, for the service's grouping and settings.
    static constexpr const char* desktopEntry = "org.sorvala.Sorvala";

    explicit FreedesktopBannerCenter(Logger& log, QDBusConnection bus = QDBusConnection::sessionBus(),
                                     QObject* parent = nullptr);
    ~FreedesktopBannerCenter() override;

    void registerCategories(const std::vector<int>& snoozeMinuteChoices) override;
    /// Looks again for the service and its capabilities; `ask` changes nothing, since no
    /// permission is asked for here.
    void refreshAuthorization(bool ask) override;
    /// Whether a notification service owns (or can be started for) the bus name, as last seen.
    /// Cheap: answers from what the last refresh and the name watcher found.
    bool isAvailable() const override { return m_available; }
    /// Whether the service shows action buttons.
    bool supportsActions() const override { return m_actions; }
    /// Withdraws the heads-up and the waiting note.
    void clearDelivered() override;
    /// Withdraws the banners of `identifiers`.
    void clearDelivered(const std::vector<std::string>& identifiers);
    void post(const UserSignal& signal) override;
    void setOnResponse(std::function<void(const Response&)> onResponse) override;

    /// Whether a refresh is still waiting for the bus or the service.
    bool isRefreshing() const { return m_refreshesInFlight > 0; }
    /// The action list a banner of `category` carries: key and label pairs, "default" first.
    QStringList actions(const QString& category) const;

private slots:
    void actionInvoked(uint id, const QString& actionKey, const QDBusMessage& message);
    void notificationClosed(uint id, uint reason, const QDBusMessage& message);

private:
    struct Posted {
        QString identifier;
        QString category;
    };

    /// Whether `message` comes from the bus name that owns the notification service.
    bool fromTheService(const QDBusMessage& message);
    void serviceOwnerChanged(const QString& newOwner);
    void forgetBanners();
    void apply(bool available, bool actions);
    void send(const UserSignal& signal);
    void notifyAnswered(QDBusPendingCallWatcher* call, const UserSignal& signal);
    void close(uint id);

    Logger& m_log;
    QDBusConnection m_bus;
    QDBusServiceWatcher* m_watcher = nullptr;
    std::vector<int> m_snoozeChoices{1, 5, 15};
    std::function<void(const Response&)> m_onResponse;
    QString m_owner; ///< the unique bus name of the notification service, as last seen
    bool m_available = false;
    bool m_actions = false;
    int m_refreshesInFlight = 0;
    int m_refreshGeneration = 0;
    QHash<QString, uint> m_ids;             ///< identifier → the service's id of its banner
    QHash<uint, Posted> m_posted;           ///< the service's id → what we posted
    QSet<QString> m_inFlight;               ///< identifiers whose Notify has not answered yet
    std::map<QString, UserSignal> m_queued; ///< the latest signal for an identifier in flight
    QSet<QString> m_withdrawn;              ///< identifiers withdrawn while their Notify was in flight
};

} // namespace sorvala
