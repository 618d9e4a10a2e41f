// SPDX-License-Identifier: MIT
// The gsettings module: the one place that links GIO. Kept apart from every Qt header: GLib's
// headers use the word Qt defines as "signals".
#include "platform/desktop/GSettingsStore.h"

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

/// The value of `key` when the schema has it and the value is of `type`; the caller unrefs it.
GVariant* valueOfType(const char* schema, const char* key, const GVariantType* type) {
    GSettingsSchema* found = schemaWithKey(schema, key);
    if (!found)
        return nullptr;
    GSettings* settings = g_settings_new_full(found, nullptr, nullptr);
    GVariant* value = g_settings_get_value(settings, key);
    if (value && !g_variant_is_of_type(value, type)) {
        g_variant_unref(value);
        value = nullptr;
    }
    g_object_unref(settings);
    g_settings_schema_unref(found);
    return value;
}

/// Whether the settings backend only keeps values in this process (GIO's fallback where no
/// settings service is installed): a value written there changes nothing on the desktop.
bool backendKeepsValuesInMemory() {
    GSettingsBackend* backend = g_settings_backend_get_default();
    const bool memory = std::strcmp(G_OBJECT_TYPE_NAME(backend), "GMemorySettingsBackend") == 0;
    g_object_unref(backend);
    return memory;
}

class GioSettingsStore final : public GSettingsStore {
public:
    bool hasKey(const char* schema, const char* key) override {
        GSettingsSchema* found = schemaWithKey(schema, key);
        if (found)
            g_settings_schema_unref(found);
        return found != nullptr;
    }

    std::optional<bool> boolean(const char* schema, const char* key) override {
        GVariant* value = valueOfType(schema, key, G_VARIANT_TYPE_BOOLEAN);
        if (!value)
            return std::nullopt;
        const bool on = g_variant_get_boolean(value) != FALSE;
        g_variant_unref(value);
        return on;
    }

    std::optional<std::string> text(const char* schema, const char* key) override {
        GVariant* value = valueOfType(schema, key, G_VARIANT_TYPE_STRING);
        if (!value)
            return std::nullopt;
        std::string read = g_variant_get_string(value, nullptr);
        g_variant_unref(value);
        return read;
    }

    std::optional<std::string> setText(const char* schema, const char* key, const std::string& value) override {
        const std::string name = std::string("the setting ") + schema + " " + key;
        GSettingsSchema* found = schemaWithKey(schema, key);
        if (!found)
            return name + " is not installed";
        GSettings* settings = g_settings_new_full(found, nullptr, nullptr);
        std::optional<std::string> failure;
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
};

} // namespace

} // namespace sorvala

extern "C" __attribute__((visibility("default"))) void* sorvala_module() {
    static sorvala::GioSettingsStore store;
    return static_cast<sorvala::GSettingsStore*>(&store);
}
