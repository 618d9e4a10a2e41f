// SPDX-License-Identifier: MIT
#pragma once

#include "breakscreen/DesignTokens.h"

#include <QDBusConnection>
#include <QObject>
#include <QPalette>
#include <QStringList>

#include <optional>
#include <string_view>

class QApplication;
class QProcess;
class QVariant;

namespace sorvala {

/// Follows the desktop's light or dark colour scheme, live: from the desktop portal's
/// appearance setting where a portal answers, else from GNOME's interface setting, else the
/// platform's own palette decides. A change gives the application the matching palette, which
/// repaints every window; SORVALA_APPEARANCE, when set, wins over the desktop.
///
/// Nothing here holds up the start: the portal's answer and GNOME's key arrive through the event
/// loop, and GNOME's key is read by the gsettings tool and followed through dconf's change signal,
/// so GIO never loads into this process for it.
class ColorSchemeWatcher final : public QObject {
public:
    explicit ColorSchemeWatcher(QApplication& application, QDBusConnection bus = QDBusConnection::sessionBus());
    ~ColorSchemeWatcher() override;

    /// The desktop's wish; nullopt when it has none (or none has arrived yet).
    std::optional<DesignTokens::Appearance> preference() const { return m_preference; }

    /// The portal's color-scheme value: 1 dark, 2 light, anything else no preference.
    static std::optional<DesignTokens::Appearance> fromPortalValue(const QVariant& value);
    /// GNOME's color-scheme value: "prefer-dark", "prefer-light", anything else no preference. The
    /// gsettings tool prints it quoted and with a line break, which is accepted as well.
    static std::optional<DesignTokens::Appearance> fromGnomeValue(std::string_view value);
    /// Whether dconf's change notice (a path, and the paths below it that changed) covers GNOME's
    /// color-scheme key: the key itself, or a folder holding it.
    static bool dconfNoticeCoversGnomeKey(const QString& prefix, const QStringList& keys);

private:
    void askPortal();
    void followPortal(const QVariant& answer);
    void followGnome();
    void readGnome();
    void gnomeRead(std::optional<DesignTokens::Appearance> preference);
    void follow(std::optional<DesignTokens::Appearance> preference);

    QApplication& m_application;
    QDBusConnection m_bus;
    QPalette m_platformPalette;
    std::optional<DesignTokens::Appearance> m_preference;
    /// The gsettings run under way; a change noticed meanwhile reads once more after it.
    QProcess* m_gnomeRead = nullptr;
    bool m_readGnomeAgain = false;
};

} // namespace sorvala
