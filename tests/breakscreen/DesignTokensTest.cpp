// SPDX-License-Identifier: MIT
#include "breakscreen/DesignTokens.h"

#include <gtest/gtest.h>

using namespace sorvala;
using namespace sorvala::DesignTokens;

TEST(DesignTokens, ThemedTokensResolveByAppearanceAndDarkNeedsADarkBackground) {
    EXPECT_EQ(windowSurface.resolve(Appearance::light), (Colour{0.973, 0.973, 0.98, 1}));
    EXPECT_EQ(windowSurface.resolve(Appearance::dark), (Colour{0.118, 0.118, 0.133, 1}));
    EXPECT_EQ(cardBorder.resolve(Appearance::dark), (Colour{1, 1, 1, 0.1}));
    EXPECT_DOUBLE_EQ(sidebarSurface.light.red, 233 / 255.0);
    EXPECT_EQ(appearanceForBackgroundLightness(0.12), Appearance::dark);
    EXPECT_EQ(appearanceForBackgroundLightness(0.5), Appearance::light);
    EXPECT_EQ(appearanceForBackgroundLightness(0.95), Appearance::light);
    EXPECT_EQ(scoreBands.size(), 4u);
}
