// SPDX-License-Identifier: MIT
#include "platform/QtStandardTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace sorvala::QtStandardTranslations {

std::string install(QCoreApplication& application) {
    const QLocale locale = QLocale::system();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // "qt" pulls in qtbase and the other modules' catalogues of the same language.
    auto* translator = new QTranslator(&application);
    if (translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"), folder)) {
        QCoreApplication::installTranslator(translator);
        return {};
    }
    delete translator;
    const QString language = locale.uiLanguages().value(0, QStringLiteral("C"));
    if (language.startsWith(QLatin1String("en")) || language == QLatin1String("C"))
        return {};
    return "qt translations not found language=" + language.toStdString() + " folder=" + folder.toStdString();
}

} // namespace sorvala::QtStandardTranslations
