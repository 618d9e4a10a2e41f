// SPDX-License-Identifier: MIT
#pragma once

#include <string>

class QCoreApplication;

namespace sorvala::QtStandardTranslations {

/// Loads Qt's own words (dialog buttons, a line edit's context menu) in the user's language from
/// Qt's translations folder and installs them in `application`. The outcome as a log line when
/// none was found for a language other than English; empty otherwise.
std::string install(QCoreApplication& application);

} // namespace sorvala::QtStandardTranslations
