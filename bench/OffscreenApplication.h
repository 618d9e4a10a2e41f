// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace sorvala {

/// The one application of a benchmark program, on the offscreen platform, made at first use. It
/// is never destroyed: at exit Qt's own statics go first, and an application destroyed after them
/// crashes in its input devices' destructors.
template <typename Application>
Application& offscreenApplication() {
    static int argc = 1;
    static char name[] = "sorvala_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static auto* instance = new Application(argc, argv);
    return *instance;
}

} // namespace sorvala
