// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

typedef struct _GSettings GSettings;

namespace sorvala {

/// Calls `changed` whenever `key` of `schema` changes. GSettings announces changes through the GLib
/// main loop, which Qt's event loop runs, so nothing has to look again every few seconds. Watches
/// nothing when the schema or the key is not installed.
class GSettingsWatch {
public:
    GSettingsWatch(const char* schema, const char* key, std::function<void()> changed);
    ~GSettingsWatch();
    GSettingsWatch(const GSettingsWatch&) = delete;
    GSettingsWatch& operator=(const GSettingsWatch&) = delete;

    bool isWatching() const { return m_settings != nullptr; }

private:
    static void onChanged(GSettings*, const char*, void* self);

    GSettings* m_settings = nullptr;
    unsigned long m_handler = 0;
    std::function<void()> m_changed;
};

} // namespace sorvala
