// SPDX-License-Identifier: MIT
#include "platform/desktop/GSettingsWatch.h"

namespace sorvala {

GSettingsWatch::GSettingsWatch(const char* schema, const char* key, std::function<void()> changed) {
    if (GSettingsStore* store = GSettingsStore::load(nullptr))
        m_watch = store->watch(schema, key, std::move(changed));
}

} // namespace sorvala
