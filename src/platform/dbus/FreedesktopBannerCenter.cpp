// SPDX-License-Identifier: MIT
#include "platform/dbus/FreedesktopBannerCenter.h"

#include "core/Logger.h"
#include "i18n/QtI18n.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QPointer>
#include <QVariantMap>

namespace sorvala {

namespace {

constexpr const char* interfaceName = "org.freedesktop.Notifications";
constexpr const char* busService = "org.freedesktop.DBus";
constexpr const char* busPath = "/org/freedesktop/DBus";
constexpr const char* busInterface = "org.freedesktop.DBus";
/// The service's status words in our log lines: as the banner permission reads elsewhere.
constexpr int grantedStatus = 2;
constexpr int deniedStatus = 1;

uchar urgency(UserSignal::Interruption interruption) {
    switch (interruption) {
    case UserSignal::Interruption::passive: return 0;
    case UserSignal::Interruption::active: return 1;
    case UserSignal::Interruption::timeSensitive: return 2;
    }
    return 0;
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

FreedesktopBannerCenter::FreedesktopBannerCenter(Logger& log, QDBusConnection bus, QObject* parent)
    : QObject(parent), m_log(log), m_bus(std::move(bus)) {
    if (!m_bus.isConnected())
        return;
    m_watcher = new QDBusServiceWatcher(serviceName, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(
        m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](const QString&, const QString&, const QString& newOwner) { serviceOwnerChanged(newOwner); });
    // Any sender: the service may restart under a new unique name; ids we never posted are ignored.
    m_bus.connect({}, objectPath, interfaceName, "ActionInvoked", this,
                  SLOT(actionInvoked(uint, QString, QDBusMessage)));
    m_bus.connect({}, objectPath, interfaceName, "NotificationClosed", this,
                  SLOT(notificationClosed(uint, uint, QDBusMessage)));
    auto* owner = new QDBusPendingCallWatcher(
        m_bus.asyncCall(QDBusMessage::createMethodCall(busService, busPath, busInterface, "GetNameOwner")
                        << QString(serviceName)),
        this);
    connect(owner, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QString> reply = *w;
        if (!reply.isError() && m_owner.isEmpty())
            m_owner = reply.value();
    });
}

FreedesktopBannerCenter::~FreedesktopBannerCenter() = default;

void FreedesktopBannerCenter::registerCategories(const std::vector<int>& snoozeMinuteChoices) {
    m_snoozeChoices = snoozeMinuteChoices;
}

QStringList FreedesktopBannerCenter::actions(const QString& category) const {
    if (category == "pre-break") {
        QStringList list{"default", ""};
        for (const int minutes : m_snoozeChoices)
            list << "snooze-" + QString::number(minutes)
                 // TRANSLATORS: a button on the banner before a break; keep it short.
                 << qi18np("Snooze %1 min", "Snooze %1 min", minutes);
        return list;
    }
    if (category == "pre-break-final")
        return {"default", ""};
    if (category == "update-available")
        return {"default", "", "download-update", qi18n("Download & Install")};
    return {};
}

void FreedesktopBannerCenter::setOnResponse(std::function<void(const Response&)> onResponse) {
    m_onResponse = std::move(onResponse);
}

void FreedesktopBannerCenter::refreshAuthorization(bool) {
    if (!m_bus.isConnected()) {
        apply(false, false);
        return;
    }
    const int generation = ++m_refreshGeneration;
    ++m_refreshesInFlight;
    // Owned now, or startable by the bus: either way a Notify will reach a service.
    auto owned =
        m_bus.asyncCall(QDBusMessage::createMethodCall(busService, busPath, busInterface, "NameHasOwner")
                        << QString(serviceName));
    auto* ownedWatch = new QDBusPendingCallWatcher(owned, this);
    connect(
        ownedWatch, &QDBusPendingCallWatcher::finished, this, [this, generation](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            const QDBusPendingReply<bool> hasOwner = *w;
            const bool isOwned = !hasOwner.isError() && hasOwner.value();
            auto activatable = m_bus.asyncCall(
                QDBusMessage::createMethodCall(busService, busPath, busInterface, "ListActivatableNames"));
            auto* listWatch = new QDBusPendingCallWatcher(activatable, this);
            connect(listWatch, &QDBusPendingCallWatcher::finished, this,
                    [this, generation, isOwned](QDBusPendingCallWatcher* lw) {
                        lw->deleteLater();
                        const QDBusPendingReply<QStringList> names = *lw;
                        const bool canStart = !names.isError() && names.value().contains(serviceName);
                        if (!isOwned && !canStart) {
                            --m_refreshesInFlight;
                            if (generation == m_refreshGeneration)
                                apply(false, false);
                            return;
                        }
                        auto capabilities = m_bus.asyncCall(QDBusMessage::createMethodCall(
                            serviceName, objectPath, interfaceName, "GetCapabilities"));
                        auto* capsWatch = new QDBusPendingCallWatcher(capabilities, this);
                        connect(capsWatch, &QDBusPendingCallWatcher::finished, this,
                                [this, generation](QDBusPendingCallWatcher* cw) {
                                    cw->deleteLater();
                                    --m_refreshesInFlight;
                                    const QDBusPendingReply<QStringList> caps = *cw;
                                    if (caps.isError())
                                        m_log.log("notification service capabilities unreadable error=" +
                                                  caps.error().name().toStdString());
                                    if (generation == m_refreshGeneration)
                                        apply(!caps.isError(),
                                              !caps.isError() && caps.value().contains("actions"));
                                });
                    });
        });
}

void FreedesktopBannerCenter::apply(bool available, bool actions) {
    if (available != m_available)
        m_log.log(std::string("notification banners now ") + (available ? "available" : "unavailable") +
                  " status=" + std::to_string(available ? grantedStatus : deniedStatus));
    if (available && actions != m_actions)
        m_log.log(std::string("notification service actions=") + (actions ? "true" : "false"));
    m_available = available;
    m_actions = available && actions;
}

bool FreedesktopBannerCenter::fromTheService(const QDBusMessage& message) {
    // Any client on the bus may send a signal that looks like the service's; only the bus name
    // that owns the service speaks for it.
    if (m_owner.isEmpty() && m_bus.interface())
        m_owner = m_bus.interface()->serviceOwner(serviceName).value();
    return !m_owner.isEmpty() && message.service() == m_owner;
}

void FreedesktopBannerCenter::serviceOwnerChanged(const QString& newOwner) {
    m_owner = newOwner;
    // Banner ids belong to one run of the service; a new owner has never heard of them.
    forgetBanners();
    if (newOwner.isEmpty())
        m_log.log("notification service left the bus");
    refreshAuthorization(false);
}

void FreedesktopBannerCenter::forgetBanners() {
    m_ids.clear();
    m_posted.clear();
    m_withdrawn.clear();
}

void FreedesktopBannerCenter::post(const UserSignal& signal) {
    if (!m_bus.isConnected())
        return;
    const auto identifier = q(signal.identifier);
    m_withdrawn.remove(identifier);
    if (m_inFlight.contains(identifier)) {
        // Sent once the service answers with the id to replace, so two banners never pile up.
        m_queued.insert_or_assign(identifier, signal);
        return;
    }
    send(signal);
}

void FreedesktopBannerCenter::send(const UserSignal& signal) {
    const auto identifier = q(signal.identifier);
    const auto category = q(signal.category);
    QVariantMap hints;
    hints.insert("urgency", QVariant::fromValue(urgency(signal.interruption)));
    hints.insert("desktop-entry", QString(desktopEntry));
    // Our own chimes are the sound of a signal.
    hints.insert("suppress-sound", true);
    if (!category.isEmpty())
        hints.insert("category", "x-sorvala." + category);
    auto message = QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName, "Notify");
    message << QString("Sorvala") << m_ids.value(identifier, 0u) << QString() << q(signal.title)
            << q(signal.body) << (m_actions ? actions(category) : QStringList()) << hints << -1;
    m_inFlight.insert(identifier);
    auto* watch = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watch, &QDBusPendingCallWatcher::finished, this,
            [this, signal](QDBusPendingCallWatcher* w) { notifyAnswered(w, signal); });
}

void FreedesktopBannerCenter::notifyAnswered(QDBusPendingCallWatcher* call, const UserSignal& signal) {
    call->deleteLater();
    const auto identifier = q(signal.identifier);
    m_inFlight.remove(identifier);
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        m_log.log(std::string(text(signal.kind)) +
                  " banner failed: " + reply.error().message().toStdString());
    } else {
        const uint id = reply.value();
        if (const auto old = m_ids.find(identifier); old != m_ids.end() && old.value() != id)
            m_posted.remove(old.value());
        m_ids.insert(identifier, id);
        m_posted.insert(id, {identifier, q(signal.category)});
        if (m_withdrawn.contains(identifier)) {
            m_withdrawn.remove(identifier);
            m_queued.erase(identifier);
            close(id);
            return;
        }
    }
    if (const auto next = m_queued.find(identifier); next != m_queued.end()) {
        const auto queued = next->second;
        m_queued.erase(next);
        send(queued);
    }
}

void FreedesktopBannerCenter::clearDelivered() {
    clearDelivered(
        {std::string(UserSignal::preBreakIdentifier), std::string(UserSignal::smartPauseIdentifier)});
}

void FreedesktopBannerCenter::clearDelivered(const std::vector<std::string>& identifiers) {
    for (const auto& each : identifiers) {
        const auto identifier = q(each);
        m_queued.erase(identifier);
        if (m_inFlight.contains(identifier))
            m_withdrawn.insert(identifier);
        if (const auto id = m_ids.find(identifier); id != m_ids.end())
            close(id.value());
    }
}

void FreedesktopBannerCenter::close(uint id) {
    if (const auto posted = m_posted.find(id); posted != m_posted.end()) {
        m_ids.remove(posted->identifier);
        m_posted.erase(posted);
    }
    auto* watch = new QDBusPendingCallWatcher(
        m_bus.asyncCall(
            QDBusMessage::createMethodCall(serviceName, objectPath, interfaceName, "CloseNotification")
            << id),
        this);
    connect(watch, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        // A banner the user already closed is no error worth a line.
        if (w->isError() && w->error().type() != QDBusError::UnknownObject)
            m_log.log("banner withdrawal failed: " + w->error().message().toStdString());
    });
}

void FreedesktopBannerCenter::actionInvoked(uint id, const QString& actionKey, const QDBusMessage& message) {
    if (!fromTheService(message))
        return;
    const auto posted = m_posted.find(id);
    if (posted == m_posted.end())
        return;
    const Response response{actionKey.toStdString(), posted->category.toStdString(), actionKey == "default"};
    if (m_onResponse)
        m_onResponse(response);
    // An answered banner has had its moment; some services keep it up after an action is chosen.
    if (m_posted.contains(id))
        close(id);
}

void FreedesktopBannerCenter::notificationClosed(uint id, uint, const QDBusMessage& message) {
    if (!fromTheService(message))
        return;
    const auto posted = m_posted.find(id);
    if (posted == m_posted.end())
        return;
    if (m_ids.value(posted->identifier) == id)
        m_ids.remove(posted->identifier);
    m_posted.erase(posted);
}

} // namespace sorvala
