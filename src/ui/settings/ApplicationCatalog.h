// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// An installed application as the busy-app list shows it.
struct InstalledApplication {
    std::string id;   ///< the desktop-file id ("org.gnome.Calculator"), what the setting stores
    QString name;     ///< the entry's Name
    QString iconName; ///< the entry's Icon: a theme name or an absolute path
};

/// The applications of the desktop entries (the same ids `DesktopEntryIndex` knows), with the
/// name and icon a person recognises them by.
class ApplicationCatalog {
public:
    /// `folders`: the applications folders, most important first (empty: the XDG ones).
    explicit ApplicationCatalog(QStringList folders = {});

    /// The applications a launcher would list (no hidden entries), sorted by name.
    const std::vector<InstalledApplication>& applications();
    /// The application of `id`, hidden ones included; nullopt for an id no entry has.
    std::optional<InstalledApplication> find(const std::string& id);

    /// The icon of an entry's Icon value, or a generic application icon.
    static QIcon icon(const QString& iconName);

private:
    void read();

    QStringList m_folders;
    bool m_read = false;
    std::vector<InstalledApplication> m_listed;
    std::vector<InstalledApplication> m_all;
};

} // namespace sorvala
