// SPDX-License-Identifier: MIT
// Kept apart from every Qt header: GLib's headers use the word Qt defines as "signals".
#include "platform/desktop/GSettingsValue.h"

#include <gio/gio.h>

namespace sorvala {

namespace {

/// Reads `key` of `schema` when both are installed and the value is of `type`.
template <typename Convert>
auto readKey(const char* schema, const char* key, const GVariantType* type, Convert convert)
    -> std::optional<decltype(convert(static_cast<GVariant*>(nullptr)))> {
    std::optional<decltype(convert(static_cast<GVariant*>(nullptr)))> value;
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return value;
    GSettingsSchema* found = g_settings_schema_source_lookup(source, schema, TRUE);
    if (!found)
        return value;
    if (g_settings_schema_has_key(found, key)) {
        GSettings* settings = g_settings_new_full(found, nullptr, nullptr);
        GVariant* variant = g_settings_get_value(settings, key);
        if (variant && g_variant_is_of_type(variant, type))
            value = convert(variant);
        if (variant)
            g_variant_unref(variant);
        g_object_unref(settings);
    }
    g_settings_schema_unref(found);
    return value;
}

} // namespace

std::optional<std::string> gsettingsString(const char* schema, const char* key) {
    return readKey(schema, key, G_VARIANT_TYPE_STRING,
                   [](GVariant* variant) { return std::string(g_variant_get_string(variant, nullptr)); });
}

std::optional<bool> gsettingsBoolean(const char* schema, const char* key) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return std::nullopt;
    GSettingsSchema* found = g_settings_schema_source_lookup(source, schema, TRUE);
    if (!found)
        return std::nullopt;
    std::optional<bool> value;
    if (g_settings_schema_has_key(found, key)) {
        GSettings* settings = g_settings_new_full(found, nullptr, nullptr);
        GVariant* variant = g_settings_get_value(settings, key);
        if (variant && g_variant_is_of_type(variant, G_VARIANT_TYPE_BOOLEAN))
            value = g_variant_get_boolean(variant) != FALSE;
        if (variant)
            g_variant_unref(variant);
        g_object_unref(settings);
    }
    g_settings_schema_unref(found);
    return value;
}

} // namespace sorvala
