// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/GSettingsStore.h"

#include <functional>
#include <memory>

namespace sorvala {

/// Calls `changed` whenever `key` of `schema` changes. GSettings announces changes through the GLib
/// main loop, which Qt's event loop runs, so nothing has to look again every few seconds. Watches
/// nothing when the schema or the key is not installed, or GSettings cannot be loaded.
class GSettingsWatch {
public:
    GSettingsWatch(const char* schema, const char* key, std::function<void()> changed);

    bool isWatching() const { return m_watch != nullptr; }

private:
    std::unique_ptr<GSettingsStore::Watch> m_watch;
};

} // namespace sorvala
