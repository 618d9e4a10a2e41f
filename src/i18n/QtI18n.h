// SPDX-License-Identifier: MIT
#pragma once

#include "i18n/I18n.h"

#include <QString>

/// The translation calls of I18n.h for Qt code: QString in and out.
namespace sorvala::Translation {

inline Argument qtArgument(const QString& text) {
    return Argument(text.toStdString());
}
template <typename Value>
const Value& qtArgument(const Value& value) {
    return value;
}

} // namespace sorvala::Translation

namespace sorvala {

template <typename... Arguments>
QString qi18n(const char* message, const Arguments&... arguments) {
    return QString::fromStdString(i18n(message, Translation::qtArgument(arguments)...));
}

template <typename... Arguments>
QString qi18nc(const char* context, const char* message, const Arguments&... arguments) {
    return QString::fromStdString(i18nc(context, message, Translation::qtArgument(arguments)...));
}

template <std::integral Number, typename... Arguments>
QString qi18np(const char* singular, const char* plural, Number n, const Arguments&... arguments) {
    return QString::fromStdString(i18np(singular, plural, n, Translation::qtArgument(arguments)...));
}

template <std::integral Number, typename... Arguments>
QString qi18ncp(const char* context, const char* singular, const char* plural, Number n,
                const Arguments&... arguments) {
    return QString::fromStdString(i18ncp(context, singular, plural, n, Translation::qtArgument(arguments)...));
}

} // namespace sorvala
