// SPDX-License-Identifier: MIT
#include "ui/style/ColorSchemeWatcher.h"

#include "support/WidgetTestSupport.h"

#include <QApplication>
#include <QDBusVariant>

#include <gtest/gtest.h>

// GIO names a struct member "signals", which Qt defines as a keyword.
#undef signals
#include <gio/gio.h>

namespace sorvala {
namespace {

using Appearance = DesignTokens::Appearance;

TEST(ColorSchemeWatcher, DesktopValuesToAppearances) {
    // The portal answers a variant inside a variant; its signal gives the value itself.
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant::fromValue(QDBusVariant(QVariant(1u)))),
              Appearance::dark);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant(2u)), Appearance::light);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant(0u)), std::nullopt);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant(QStringLiteral("dark"))), std::nullopt);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("prefer-dark"), Appearance::dark);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("prefer-light"), Appearance::light);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("default"), std::nullopt);
}

bool windowIsDark() {
    return QApplication::palette().color(QPalette::Window).lightness() < 128;
}

TEST(ColorSchemeWatcher, FollowsGnomesKeyTheMomentItChanges) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.interface", TRUE) : nullptr;
    if (!schema || !g_settings_schema_has_key(schema, "color-scheme"))
        GTEST_SKIP() << "GNOME's interface settings are not installed";
    g_settings_schema_unref(schema);
    if (qEnvironmentVariableIsSet("SORVALA_APPEARANCE"))
        GTEST_SKIP() << "SORVALA_APPEARANCE decides the appearance here";

    GSettings* desktop = g_settings_new("org.gnome.desktop.interface");
    g_settings_set_string(desktop, "color-scheme", "prefer-light");
    auto* watcher = new ColorSchemeWatcher(*qApp);
    const auto turns = [](bool dark) { return waitFor([&] { return windowIsDark() == dark; }, 3000); };
    EXPECT_TRUE(turns(false));
    // No polling: the change itself reaches the watcher through the event loop.
    g_settings_set_string(desktop, "color-scheme", "prefer-dark");
    EXPECT_TRUE(turns(true));
    g_settings_set_string(desktop, "color-scheme", "prefer-light");
    EXPECT_TRUE(turns(false));

    delete watcher;
    g_settings_reset(desktop, "color-scheme");
    g_object_unref(desktop);
}

} // namespace
} // namespace sorvala
