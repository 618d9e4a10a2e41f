// SPDX-License-Identifier: MIT
#include "platform/module/LoadableModule.h"

#include "core/Logger.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <map>
#include <mutex>
#include <string>

namespace sorvala::LoadableModule {

namespace {

using Entry = void* (*)();

// A module once loaded stays: its threads and the objects it made may outlive any one user.
void* open(const char* name, std::string& error) {
    const QString file = QStringLiteral("sorvala-%1.so").arg(QString::fromUtf8(name));
    for (const QString& folder : folders()) {
        const QString path = QDir(folder).filePath(file);
        if (!QFile::exists(path))
            continue;
        QLibrary library(path);
        if (!library.load()) {
            error = library.errorString().toStdString();
            return nullptr;
        }
        if (const auto entry = reinterpret_cast<Entry>(library.resolve("sorvala_module")))
            return entry();
        error = "no entry point in " + path.toStdString();
        return nullptr;
    }
    error = "not found in " + folders().join(QLatin1Char(':')).toStdString();
    return nullptr;
}

} // namespace

QStringList folders() {
    const QString chosen = qEnvironmentVariable("SORVALA_MODULE_DIR");
    if (!chosen.isEmpty())
        return {chosen};
    // The program's real folder, so links to the program lead to its install.
    const QString programFolder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    QStringList found;
    if (!programFolder.isEmpty())
        found << QDir::cleanPath(programFolder + QStringLiteral("/" SORVALA_MODULE_DIR_FROM_BIN));
    found << QStringLiteral(SORVALA_MODULE_BUILD_DIR);
    found.removeDuplicates();
    return found;
}

void* load(const char* name, Logger* log) {
    static std::mutex mutex;
    static std::map<std::string, void*> loaded;
    const std::lock_guard lock(mutex);
    const auto known = loaded.find(name);
    if (known != loaded.end())
        return known->second;
    std::string error;
    void* offered = open(name, error);
    if (!offered) {
        // Not remembered: each use that needs it fails on its own, and a module put back is found.
        if (log)
            log->log("module not loaded name=" + std::string(name) + " error=" + error);
        return nullptr;
    }
    loaded.emplace(name, offered);
    return offered;
}

} // namespace sorvala::LoadableModule
