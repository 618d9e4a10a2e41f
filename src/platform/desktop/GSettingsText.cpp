// SPDX-License-Identifier: MIT
#include "platform/desktop/GSettingsText.h"

#include "platform/desktop/GSettingsStore.h"

namespace sorvala {

bool gsettingsHasKey(const char* schema, const char* key) {
    GSettingsStore* store = GSettingsStore::load(nullptr);
    return store && store->hasKey(schema, key);
}

std::optional<std::string> gsettingsSetString(const char* schema, const char* key, const std::string& value) {
    GSettingsStore* store = GSettingsStore::load(nullptr);
    if (!store)
        return std::string("the settings module is not installed");
    return store->setText(schema, key, value);
}

} // namespace sorvala
