// SPDX-License-Identifier: MIT
#include "platform/dbus/PortalHotKeyRegistrar.h"

#include "app/KeyCodes.h"
#include "core/Logger.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>

#include <xkbcommon/xkbcommon.h>

#include <algorithm>

namespace sorvala {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// One entry of BindShortcuts' a(sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace
} // namespace sorvala

Q_DECLARE_METATYPE(sorvala::PortalShortcut)

namespace sorvala {

std::optional<std::string> portalTrigger(const KeyboardShortcut& shortcut) {
    const auto keysym = KeyCodes::keysymOf(shortcut.keyCode);
    char name[64];
    if (!keysym || xkb_keysym_get_name(*keysym, name, sizeof name) <= 0)
        return std::nullopt;
    std::string trigger;
    if (shortcut.modifiers & KeyboardShortcut::controlMask)
        trigger += "CTRL+";
    if (shortcut.modifiers & KeyboardShortcut::optionMask)
        trigger += "ALT+";
    if (shortcut.modifiers & KeyboardShortcut::shiftMask)
        trigger += "SHIFT+";
    if (shortcut.modifiers & KeyboardShortcut::commandMask)
        trigger += "LOGO+";
    return trigger + name;
}

std::unique_ptr<PortalHotKeyRegistrar> PortalHotKeyRegistrar::create(Logger& log) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    // Reading the interface's version both starts the portal (it is bus-activated) and proves
    // that this desktop's portal has global shortcuts at all.
    QDBusMessage query = QDBusMessage::createMethodCall(portalService, portalPath,
                                                        QStringLiteral("org.freedesktop.DBus.Properties"),
                                                        QStringLiteral("Get"));
    query << shortcutsInterface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(query, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return nullptr;
    return std::make_unique<PortalHotKeyRegistrar>(log);
}

PortalHotKeyRegistrar::PortalHotKeyRegistrar(Logger& log) : m_log(log) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    QDBusConnection::sessionBus().connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"),
                                          this, SLOT(activated(QDBusMessage)));
}

PortalHotKeyRegistrar::~PortalHotKeyRegistrar() {
    stopAwaiting();
    closeSession();
}

void PortalHotKeyRegistrar::setPressedHandler(std::function<void(ShortcutAction)> pressed) {
    m_pressed = std::move(pressed);
}

QString PortalHotKeyRegistrar::awaitResponse(const char* slot) {
    stopAwaiting();
    // The portal names the request object after our unique name and a token of ours, so we can
    // listen before asking and never miss a quick answer.
    const QString token = QStringLiteral("sorvala%1").arg(++m_requests);
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    m_awaitedRequest = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    m_awaitingSlot = slot;
    QDBusConnection::sessionBus().connect(portalService, m_awaitedRequest, requestInterface, QStringLiteral("Response"),
                                          this, slot);
    return token;
}

void PortalHotKeyRegistrar::stopAwaiting() {
    if (!m_awaitingSlot)
        return;
    QDBusConnection::sessionBus().disconnect(portalService, m_awaitedRequest, requestInterface,
                                             QStringLiteral("Response"), this, m_awaitingSlot);
    m_awaitingSlot = nullptr;
}

void PortalHotKeyRegistrar::closeSession() {
    if (m_session.isEmpty())
        return;
    QDBusConnection::sessionBus().send(QDBusMessage::createMethodCall(
        portalService, m_session, QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close")));
    m_session.clear();
}

std::vector<std::optional<std::string>> PortalHotKeyRegistrar::replaceBindings(const std::vector<Binding>& bindings) {
    const auto same = [](const Binding& a, const Binding& b) { return a.action == b.action && a.shortcut == b.shortcut; };
    // Each new session may ask the user again, so unchanged bindings keep the session they have.
    if (!m_session.isEmpty() && std::equal(bindings.begin(), bindings.end(), m_bindings.begin(), m_bindings.end(), same))
        return std::vector<std::optional<std::string>>(bindings.size(), std::nullopt);
    // A portal session binds its shortcuts once: new bindings need a new session.
    stopAwaiting();
    closeSession();
    m_bindings = bindings;
    if (bindings.empty())
        return {};
    const QString token = awaitResponse(SLOT(sessionCreated(uint, QVariantMap)));
    QDBusMessage create = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface,
                                                         QStringLiteral("CreateSession"));
    create << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("session_handle_token"), token}};
    call(create);
    return std::vector<std::optional<std::string>>(bindings.size(), std::nullopt);
}

void PortalHotKeyRegistrar::sessionCreated(uint response, const QVariantMap& results) {
    stopAwaiting();
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    m_session = handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path() : handle.toString();
    if (response != 0 || m_session.isEmpty()) {
        logRefused(m_bindings, "portal" + std::to_string(response));
        return;
    }
    QList<PortalShortcut> shortcuts;
    for (const auto& binding : m_bindings) {
        QVariantMap properties{{QStringLiteral("description"), QString::fromUtf8(title(binding.action).data(),
                                                                                  qsizetype(title(binding.action).size()))}};
        if (const auto trigger = portalTrigger(binding.shortcut))
            properties.insert(QStringLiteral("preferred_trigger"), QString::fromStdString(*trigger));
        shortcuts.append({QString::fromUtf8(text(binding.action).data(), qsizetype(text(binding.action).size())),
                          properties});
    }
    const QString token = awaitResponse(SLOT(shortcutsBound(uint, QVariantMap)));
    QDBusMessage bind = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface,
                                                       QStringLiteral("BindShortcuts"));
    bind << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(shortcuts) << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token}};
    call(bind);
}

void PortalHotKeyRegistrar::shortcutsBound(uint response, const QVariantMap& results) {
    stopAwaiting();
    if (response != 0) {
        logRefused(m_bindings, "portal" + std::to_string(response));
        return;
    }
    QList<PortalShortcut> bound;
    results.value(QStringLiteral("shortcuts")).value<QDBusArgument>() >> bound;
    std::vector<Binding> refused;
    for (const auto& binding : m_bindings) {
        const auto id = QString::fromUtf8(text(binding.action).data(), qsizetype(text(binding.action).size()));
        if (std::none_of(bound.begin(), bound.end(), [&](const PortalShortcut& shortcut) { return shortcut.id == id; }))
            refused.push_back(binding);
    }
    logRefused(refused, "notbound");
    m_log.log("hot keys bound by the desktop portal count=" + std::to_string(m_bindings.size() - refused.size()));
}

void PortalHotKeyRegistrar::activated(const QDBusMessage& signal) {
    // Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options)
    const QVariantList arguments = signal.arguments();
    if (arguments.size() < 2 || !m_pressed)
        return;
    if (arguments[0].value<QDBusObjectPath>().path() != m_session)
        return;
    if (const auto action = shortcutActionFromText(arguments[1].toString().toStdString()))
        m_pressed(*action);
}

void PortalHotKeyRegistrar::call(const QDBusMessage& message) {
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message), this);
    const int request = m_requests;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, request](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        if (!finished->isError() || request != m_requests)
            return;
        // Refused outright: no Response will come.
        stopAwaiting();
        logRefused(m_bindings, "portalerror");
    });
}

void PortalHotKeyRegistrar::logRefused(const std::vector<Binding>& refused, const std::string& status) {
    for (const auto& binding : refused) {
        m_log.log("hot key registration failed action=" + std::string(text(binding.action)) +
                  " key=" + binding.shortcut.keyLabel + " status=" + status);
    }
}

} // namespace sorvala
