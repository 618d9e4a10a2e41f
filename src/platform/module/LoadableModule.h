// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace sorvala {

class Logger;

/// The parts that link a large system library an idle program never needs (sound, the network,
/// calendars) are modules, loaded at their first use: until then the program maps none of it.
/// A module `sorvala-<name>.so` offers one object through `extern "C" void* sorvala_module()`,
/// a pointer to the abstract class its users know it by.
namespace LoadableModule {

/// The folders a module is looked for in, in order: $SORVALA_MODULE_DIR alone when it is set;
/// else lib/sorvala of the install the running program belongs to, then the build tree's.
QStringList folders();

/// The object module `name` offers, loaded on the first call and kept for the life of the
/// process; null when it cannot be loaded, which each such call says in `log`. Thread-safe.
void* load(const char* name, Logger* log);

/// `load` as the class the module offers.
template <class Offered>
Offered* load(const char* name, Logger* log) {
    return static_cast<Offered*>(load(name, log));
}

} // namespace LoadableModule

} // namespace sorvala
