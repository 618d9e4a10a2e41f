// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/HotKeyRegistrar.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <memory>

class QDBusMessage;

namespace sorvala {

class Logger;

/// The desktop portal's trigger text of a binding ("CTRL+ALT+LOGO+b"); nullopt for a key the
/// code table does not know.
std::optional<std::string> portalTrigger(const KeyboardShortcut& shortcut);

/// Global shortcuts through the desktop portal (org.freedesktop.portal.GlobalShortcuts), for
/// Wayland sessions whose desktop offers it. The portal answers later, often after asking the
/// user, so every binding is reported as accepted at once; a refusal is logged when it comes.
class PortalHotKeyRegistrar final : public QObject, public HotKeyRegistrar {
    Q_OBJECT
public:
    /// The registrar when a portal on the session bus offers global shortcuts; nullptr otherwise.
    static std::unique_ptr<PortalHotKeyRegistrar> create(Logger& log);

    explicit PortalHotKeyRegistrar(Logger& log);
    ~PortalHotKeyRegistrar() override;

    bool available() const override { return true; }
    std::vector<std::optional<std::string>> replaceBindings(const std::vector<Binding>& bindings) override;
    void setPressedHandler(std::function<void(ShortcutAction)> pressed) override;

private Q_SLOTS:
    void sessionCreated(uint response, const QVariantMap& results);
    void shortcutsBound(uint response, const QVariantMap& results);
    void activated(const QDBusMessage& signal);

private:
    QString awaitResponse(const char* slot);
    void stopAwaiting();
    void closeSession();
    void call(const QDBusMessage& message);
    void logRefused(const std::vector<Binding>& refused, const std::string& status);

    Logger& m_log;
    std::vector<Binding> m_bindings;
    QString m_session;
    QString m_awaitedRequest;
    const char* m_awaitingSlot = nullptr;
    int m_requests = 0;
    std::function<void(ShortcutAction)> m_pressed;
};

} // namespace sorvala
