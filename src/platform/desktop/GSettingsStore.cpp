// SPDX-License-Identifier: MIT
#include "platform/desktop/GSettingsStore.h"

#include "platform/module/LoadableModule.h"

namespace sorvala {

GSettingsStore* GSettingsStore::load(Logger* log) {
    return LoadableModule::load<GSettingsStore>("gsettings", log);
}

} // namespace sorvala
