// SPDX-License-Identifier: MIT
#pragma once

#include "sensing/FrontmostApplication.h"

#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <string>

namespace sorvala {

/// The installed applications' desktop-file ids and the StartupWMClass each declares, read
/// from the applications folders of the XDG data dirs and read again after a while.
class DesktopEntryIndex {
public:
    /// `folders`: the applications folders, most important first (empty: the XDG ones).
    explicit DesktopEntryIndex(QStringList folders = {});

    /// The index, re-read when older than a few minutes.
    const FrontmostApplication::DesktopEntries& entries();

    /// Reads `folders` now: ids are paths under a folder with '/' turned into '-' and without
    /// ".desktop"; the first folder that has an id wins.
    static FrontmostApplication::DesktopEntries read(const QStringList& folders);

    /// Calls `visit(id, path)` once for each id under `folders`, named and ranked as `read` does.
    static void forEachEntry(const QStringList& folders,
                             const std::function<void(const std::string& id, const QString& path)>& visit);

private:
    QStringList m_folders;
    std::optional<std::chrono::steady_clock::time_point> m_readAt;
    FrontmostApplication::DesktopEntries m_entries;
};

} // namespace sorvala
