// SPDX-License-Identifier: MIT
#include "QtCommandSupport.h"

namespace sorvala::ctl {

std::unique_ptr<QCoreApplication> makeApplicationIfNone() {
    if (QCoreApplication::instance())
        return nullptr;
    static int argc = 1;
    static char programName[] = "sorvalactl";
    static char* argv[] = {programName, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace sorvala::ctl
