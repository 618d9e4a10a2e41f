// SPDX-License-Identifier: MIT
#include "platform/network/NetworkTransport.h"

#include "platform/module/LoadableModule.h"

namespace sorvala {

NetworkTransport* NetworkTransport::load(Logger* log) {
    return LoadableModule::load<NetworkTransport>("network", log);
}

} // namespace sorvala
