// SPDX-License-Identifier: MIT
// Kept apart from every Qt header: GLib's headers use the word Qt defines as "signals".
#include "platform/desktop/GSettingsText.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <cstring>

namespace sorvala {

namespace {

/// The installed schema when it has `key`; the caller unrefs it.
GSettingsSchema* schemaWithKey(const char* schema, const char* key) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return nullptr;
    GSettingsSchema* found = g_settings_schema_source_lookup(source, schema, TRUE);
    if (found && !g_settings_schema_has_key(found, key)) {
        g_settings_schema_unref(found);
        return nullptr;
    }
    return found;
}

/// Whether the settings backend only keeps values in this process (GIO's fallback where no
/// settings service is installed): a value written there changes nothing on the desktop.
bool backendKeepsValuesInMemory() {
    GSettingsBackend* backend = g_settings_backend_get_default();
    const bool memory = std::strcmp(G_OBJECT_TYPE_NAME(backend), "GMemorySettingsBackend") == 0;
    g_object_unref(backend);
    return memory;
}

} // namespace

bool gsettingsHasKey(const char* schema, const char* key) {
    GSettingsSchema* found = schemaWithKey(schema, key);
    if (found)
        g_settings_schema_unref(found);
    return found != nullptr;
}

std::optional<std::string> gsettingsSetString(const char* schema, const char* key, const std::string& value) {
    GSettingsSchema* found = schemaWithKey(schema, key);
    if (!found)
        return std::string("the setting ") + schema + " " + key + " is not installed";
    GSettings* settings = g_settings_new_full(found, nullptr, nullptr);
    std::optional<std::string> failure;
    const std::string name = std::string("the setting ") + schema + " " + key;
    if (!g_settings_is_writable(settings, key) || !g_settings_set_string(settings, key, value.c_str())) {
        failure = name + " is not writable";
    } else if (backendKeepsValuesInMemory()) {
        failure = name + " is kept in memory only";
    } else {
        // A write is taken at once and confirmed later: the sync waits for the settings service,
        // and a write it refused (or no service took) is taken back by then.
        g_settings_sync();
        gchar* stored = g_settings_get_string(settings, key);
        if (value != stored)
            failure = name + " did not reach the settings store";
        g_free(stored);
    }
    g_object_unref(settings);
    g_settings_schema_unref(found);
    return failure;
}

} // namespace sorvala
