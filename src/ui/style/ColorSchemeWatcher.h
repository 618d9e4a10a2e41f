// SPDX-License-Identifier: MIT
#pragma once

#include "breakscreen/DesignTokens.h"

#include <QDBusConnection>
#include <QObject>
#include <QPalette>
#include <QStringList>

#include <functional>
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
/// GNOME's animations switch is followed alongside, from the same source, and kept in
/// DesktopAnimations, so a break asks no one when it starts.
///
/// Nothing here holds up the start: the portal's answers and GNOME's keys arrive through the event
/// loop, and GNOME's keys are read by the gsettings tool and followed through dconf's change signal,
/// so GIO never loads into this process for them.
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
    /// A boolean setting as the portal gives it; nullopt for anything else.
    static std::optional<bool> fromPortalBoolean(const QVariant& value);
    /// A boolean setting as the gsettings tool prints it; nullopt for anything else.
    static std::optional<bool> fromGnomeBoolean(std::string_view value);
    /// The value of `key` in the gsettings tool's listing of GNOME's interface settings (one
    /// "schema key value" line each); empty where the key is not listed.
    static std::string_view gnomeListedValue(std::string_view listing, std::string_view key);
    /// Whether dconf's change notice (a path, and the paths below it that changed) covers one of
    /// the GNOME keys followed here: the key itself, or a folder holding it.
    static bool dconfNoticeCoversGnomeKeys(const QString& prefix, const QStringList& keys);

private:
    void readPortal(const QString& group, const QString& key,
                    std::function<void(std::optional<QVariant>)> answered);
    void followPortal(const QVariant& answer);
    void followGnome();
    void readGnome();
    void gnomeRead(const QByteArray& listing);
    void follow(std::optional<DesignTokens::Appearance> preference);
    static void followAnimations(std::optional<bool> enabled);

    QApplication& m_application;
    QDBusConnection m_bus;
    QPalette m_platformPalette;
    /// SORVALA_APPEARANCE decides the colour scheme; the animations switch is followed still.
    bool m_schemeForced = false;
    std::optional<DesignTokens::Appearance> m_preference;
    /// The gsettings run under way; a change noticed meanwhile reads once more after it.
    QProcess* m_gnomeRead = nullptr;
    bool m_readGnomeAgain = false;
};

} // namespace sorvala
