// SPDX-License-Identifier: MIT
#include "platform/desktop/GSettingsText.h"

#include "support/ScopedEnvironment.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace sorvala {
namespace {

bool gioMapped() {
    return readFile("/proc/self/maps").find("/libgio") != std::string::npos;
}

// GIO is mapped only once GSettings is first asked; where the module is missing, every question
// gets the harmless answer and a write says why it failed.
TEST(GSettingsStore, LoadedAtTheFirstQuestionAndWithoutItEveryAnswerIsHarmless) {
    if (gioMapped())
        GTEST_SKIP() << "an earlier test of this process asked GSettings already";
    {
        const ScopedEnvironment nowhere("SORVALA_MODULE_DIR", "/nonexistent/sorvala-modules");
        EXPECT_EQ(gsettingsString("org.gnome.desktop.interface", "color-scheme"), std::nullopt);
        EXPECT_EQ(gsettingsBoolean("org.gnome.desktop.interface", "enable-animations"), std::nullopt);
        EXPECT_FALSE(gsettingsHasKey("org.gnome.desktop.interface", "color-scheme"));
        EXPECT_EQ(gsettingsSetString("org.gnome.desktop.background", "picture-uri", "file:///x.png"),
                  "the settings module is not installed");
        EXPECT_FALSE(gioMapped());
    }
    if (!gsettingsHasKey("org.gnome.desktop.interface", "color-scheme"))
        GTEST_SKIP() << "GNOME's interface schema is not installed";
    EXPECT_TRUE(gioMapped());
}

} // namespace
} // namespace sorvala
