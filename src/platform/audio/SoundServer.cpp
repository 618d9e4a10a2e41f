// SPDX-License-Identifier: MIT
#include "platform/audio/SoundServer.h"

#include "platform/module/LoadableModule.h"

namespace sorvala {

SoundServer* SoundServer::load(Logger* log) {
    return LoadableModule::load<SoundServer>("sound", log);
}

} // namespace sorvala
