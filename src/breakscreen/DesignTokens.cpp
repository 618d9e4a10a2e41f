// SPDX-License-Identifier: MIT
#include "breakscreen/DesignTokens.h"

namespace sorvala::DesignTokens {

Appearance appearanceForBackgroundLightness(double lightness) {
    return lightness < 0.5 ? Appearance::dark : Appearance::light;
}

} // namespace sorvala::DesignTokens
