// SPDX-License-Identifier: MIT
#pragma once

#include <QFileSystemWatcher>
#include <QObject>

#include <filesystem>
#include <functional>

namespace sorvala {

/// Calls `changed` whenever the history file is appended to, replaced, created or deleted. The
/// folder is watched too, since a file that is replaced or not yet made has nothing to watch.
class HistoryFileWatch final : public QObject {
public:
    HistoryFileWatch(std::filesystem::path file, std::function<void()> changed, QObject* parent = nullptr);

private:
    void rearm();

    std::filesystem::path m_file;
    std::function<void()> m_changed;
    QFileSystemWatcher m_watcher;
};

} // namespace sorvala
