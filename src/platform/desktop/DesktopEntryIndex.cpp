// SPDX-License-Identifier: MIT
#include "platform/desktop/DesktopEntryIndex.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

namespace sorvala {

namespace {
constexpr auto maxAge = std::chrono::minutes(5);

// Reads StartupWMClass from the [Desktop Entry] group; the rest of the file does not matter here.
QString startupWmClass(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    bool inMainGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inMainGroup = line == QLatin1String("[Desktop Entry]");
        else if (inMainGroup && line.startsWith(QLatin1String("StartupWMClass")))
            return line.section(QLatin1Char('='), 1).trimmed();
    }
    return {};
}
} // namespace

DesktopEntryIndex::DesktopEntryIndex(QStringList folders) : m_folders(std::move(folders)) {
    if (m_folders.isEmpty())
        m_folders = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

const FrontmostApplication::DesktopEntries& DesktopEntryIndex::entries() {
    const auto now = std::chrono::steady_clock::now();
    if (!m_readAt || now - *m_readAt > maxAge) {
        m_entries = read(m_folders);
        m_readAt = now;
    }
    return m_entries;
}

FrontmostApplication::DesktopEntries DesktopEntryIndex::read(const QStringList& folders) {
    FrontmostApplication::DesktopEntries entries;
    forEachEntry(folders, [&](const std::string& id, const QString& path) {
        entries.ids.insert(id);
        const QString wmClass = startupWmClass(path);
        if (!wmClass.isEmpty())
            entries.idByStartupWmClass.emplace(wmClass.toStdString(), id);
    });
    return entries;
}

void DesktopEntryIndex::forEachEntry(const QStringList& folders,
                                     const std::function<void(const std::string& id, const QString& path)>& visit) {
    std::set<std::string> seen;
    for (const QString& folder : folders) {
        const QDir base(folder);
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QString id = base.relativeFilePath(path);
            id.chop(int(sizeof(".desktop") - 1));
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            const std::string key = id.toStdString();
            if (seen.insert(key).second)
                visit(key, path);
        }
    }
}

} // namespace sorvala
