// SPDX-License-Identifier: MIT
#pragma once

#include "i18n/QtI18n.h"

#include <QString>

#include <string>
#include <string_view>

namespace sorvala {

/// A fixed text kept as data (a page title, a caption), marked for the catalogue where it is
/// defined, in the user's language. Empty stays empty: gettext answers "" with the catalogue's
/// header.
inline QString shownText(std::string_view text, const char* context = nullptr) {
    if (text.empty())
        return {};
    const std::string message(text);
    return QString::fromStdString(context ? i18nc(context, message.c_str()) : i18n(message.c_str()));
}

} // namespace sorvala
