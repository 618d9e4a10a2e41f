// SPDX-License-Identifier: MIT
#include "platform/desktop/GSettingsValue.h"

#include "platform/desktop/GSettingsStore.h"

namespace sorvala {

std::optional<std::string> gsettingsString(const char* schema, const char* key) {
    GSettingsStore* store = GSettingsStore::load(nullptr);
    return store ? store->text(schema, key) : std::nullopt;
}

std::optional<bool> gsettingsBoolean(const char* schema, const char* key) {
    GSettingsStore* store = GSettingsStore::load(nullptr);
    return store ? store->boolean(schema, key) : std::nullopt;
}

} // namespace sorvala
