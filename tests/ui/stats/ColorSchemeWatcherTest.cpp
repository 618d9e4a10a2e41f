// SPDX-License-Identifier: MIT
#include "ui/style/ColorSchemeWatcher.h"

#include <QDBusVariant>

#include <gtest/gtest.h>

namespace sorvala {
namespace {

using Appearance = DesignTokens::Appearance;

TEST(ColorSchemeWatcher, DesktopValuesToAppearances) {
    // The portal answers a variant inside a variant; its signal gives the value itself.
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant::fromValue(QDBusVariant(QVariant(1u)))), Appearance::dark);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant(2u)), Appearance::light);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant(0u)), std::nullopt);
    EXPECT_EQ(ColorSchemeWatcher::fromPortalValue(QVariant(QStringLiteral("dark"))), std::nullopt);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("prefer-dark"), Appearance::dark);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("prefer-light"), Appearance::light);
    EXPECT_EQ(ColorSchemeWatcher::fromGnomeValue("default"), std::nullopt);
}

} // namespace
} // namespace sorvala
