// SPDX-License-Identifier: MIT
#include "ui/stats/HistoryFileWatch.h"

#include <QFileInfo>

namespace sorvala {

HistoryFileWatch::HistoryFileWatch(std::filesystem::path file, std::function<void()> changed, QObject* parent)
    : QObject(parent), m_file(std::move(file)), m_changed(std::move(changed)) {
    rearm();
    const auto notify = [this] {
        rearm();
        m_changed();
    };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, notify);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, notify);
}

void HistoryFileWatch::rearm() {
    // A replaced or deleted file drops out of the watch; add it again once it is back. Before the
    // first record even the folder may be missing: then its parent tells when it is made.
    const auto watch = [this](const std::filesystem::path& path, const QStringList& watched) {
        const QString name = QString::fromStdString(path.string());
        if (!QFileInfo::exists(name))
            return false;
        if (!watched.contains(name))
            m_watcher.addPath(name);
        return true;
    };
    watch(m_file, m_watcher.files());
    if (!watch(m_file.parent_path(), m_watcher.directories()))
        watch(m_file.parent_path().parent_path(), m_watcher.directories());
}

} // namespace sorvala
