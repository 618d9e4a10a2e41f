// SPDX-License-Identifier: MIT
// Kept apart from every Qt header: GLib's headers use the word Qt defines as "signals".
#include "platform/desktop/GSettingsText.h"

#include <gio/gio.h>

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
    if (!g_settings_is_writable(settings, key) || !g_settings_set_string(settings, key, value.c_str()))
        failure = std::string("the setting ") + schema + " " + key + " is not writable";
    g_settings_sync();
    g_object_unref(settings);
    g_settings_schema_unref(found);
    return failure;
}

} // namespace sorvala
