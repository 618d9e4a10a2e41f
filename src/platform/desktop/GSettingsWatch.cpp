// SPDX-License-Identifier: MIT
#include "platform/desktop/GSettingsWatch.h"

#include <gio/gio.h>

#include <string>

namespace sorvala {

GSettingsWatch::GSettingsWatch(const char* schema, const char* key, std::function<void()> changed)
    : m_changed(std::move(changed)) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* found = source ? g_settings_schema_source_lookup(source, schema, TRUE) : nullptr;
    if (!found)
        return;
    if (g_settings_schema_has_key(found, key)) {
        m_settings = g_settings_new_full(found, nullptr, nullptr);
        const std::string signal = std::string("changed::") + key;
        m_handler =
            g_signal_connect(m_settings, signal.c_str(), G_CALLBACK(&GSettingsWatch::onChanged), this);
        // A backend announces changes only of keys read since the handler was connected.
        if (GVariant* value = g_settings_get_value(m_settings, key))
            g_variant_unref(value);
    }
    g_settings_schema_unref(found);
}

GSettingsWatch::~GSettingsWatch() {
    if (!m_settings)
        return;
    g_signal_handler_disconnect(m_settings, m_handler);
    g_object_unref(m_settings);
}

void GSettingsWatch::onChanged(GSettings*, const char*, void* self) {
    auto* watch = static_cast<GSettingsWatch*>(self);
    if (watch->m_changed)
        watch->m_changed();
}

} // namespace sorvala
