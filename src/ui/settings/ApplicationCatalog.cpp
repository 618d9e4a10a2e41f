// SPDX-License-Identifier: MIT
#include "ui/settings/ApplicationCatalog.h"

#include "platform/desktop/DesktopEntryIndex.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QStandardPaths>
#include <QStyle>
#include <QTextStream>

#include <algorithm>

namespace sorvala {
namespace {

struct EntryFields {
    QString name;
    QString icon;
    bool listed = true;
};

// The few keys of the [Desktop Entry] group a chooser needs.
EntryFields readEntry(const QString& path) {
    EntryFields fields;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return fields;
    QTextStream in(&file);
    bool inMainGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup)
            continue;
        const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = line.section(QLatin1Char('='), 1).trimmed();
        if (key == QLatin1String("Name"))
            fields.name = value;
        else if (key == QLatin1String("Icon"))
            fields.icon = value;
        else if ((key == QLatin1String("NoDisplay") || key == QLatin1String("Hidden")) &&
                 value == QLatin1String("true"))
            fields.listed = false;
        else if (key == QLatin1String("Type") && value != QLatin1String("Application"))
            fields.listed = false;
    }
    return fields;
}

} // namespace

ApplicationCatalog::ApplicationCatalog(QStringList folders) : m_folders(std::move(folders)) {
    if (m_folders.isEmpty())
        m_folders = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

void ApplicationCatalog::read() {
    m_read = true;
    // The same ids, first folder winning, as the index the busy probe matches against.
    DesktopEntryIndex::forEachEntry(m_folders, [this](const std::string& id, const QString& path) {
        const auto fields = readEntry(path);
        InstalledApplication application{id, fields.name.isEmpty() ? QString::fromStdString(id) : fields.name,
                                         fields.icon};
        m_all.push_back(application);
        if (fields.listed)
            m_listed.push_back(std::move(application));
    });
    std::sort(m_listed.begin(), m_listed.end(),
              [](const auto& a, const auto& b) { return QString::localeAwareCompare(a.name, b.name) < 0; });
}

const std::vector<InstalledApplication>& ApplicationCatalog::applications() {
    if (!m_read)
        read();
    return m_listed;
}

std::optional<InstalledApplication> ApplicationCatalog::find(const std::string& id) {
    if (!m_read)
        read();
    const auto found = std::find_if(m_all.begin(), m_all.end(), [&](const auto& a) { return a.id == id; });
    if (found == m_all.end())
        return std::nullopt;
    return *found;
}

QIcon ApplicationCatalog::icon(const QString& iconName) {
    const QIcon generic = QApplication::style()->standardIcon(QStyle::SP_DesktopIcon);
    if (iconName.isEmpty())
        return generic;
    if (QFileInfo(iconName).isAbsolute())
        return QFileInfo::exists(iconName) ? QIcon(iconName) : generic;
    return QIcon::fromTheme(iconName, generic);
}

} // namespace sorvala
