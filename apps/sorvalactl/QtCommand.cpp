// SPDX-License-Identifier: MIT
#include "QtCommand.h"

namespace sorvala::ctl {

std::unique_ptr<QCoreApplication> coreApplicationIfMissing() {
    if (QCoreApplication::instance())
        return nullptr;
    static int argc = 1;
    static char programName[] = "sorvalactl";
    static char* argv[] = {programName, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace sorvala::ctl
