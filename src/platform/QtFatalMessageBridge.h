// SPDX-License-Identifier: MIT
#pragma once

namespace sorvala::QtFatalMessageBridge {

/// Makes Qt's fatal messages (qFatal, a failed Q_ASSERT) write the application log's "EXCEPTION "
/// line before Qt ends the process; every message still reaches the handler installed before.
void install();

} // namespace sorvala::QtFatalMessageBridge
