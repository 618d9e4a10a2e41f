// SPDX-License-Identifier: MIT
#include "platform/DetachedProcessLauncher.h"

#include "app/AutomationHooks.h"

#include <QProcess>
#include <QStringList>

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace sorvala {

std::string DetachedProcessLauncher::loginShell() const {
    std::string fromUserDatabase;
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_shell)
        fromUserDatabase = found->pw_shell;
    const char* fromEnvironment = std::getenv("SHELL");
    return AutomationHooks::loginShell(fromUserDatabase, fromEnvironment ? fromEnvironment : "");
}

ProcessLauncher::Launch DetachedProcessLauncher::startDetached(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return {false, "no program"};
    QProcess process;
    process.setProgram(QString::fromStdString(arguments.front()));
    QStringList rest;
    for (std::size_t i = 1; i < arguments.size(); ++i)
        rest.append(QString::fromStdString(arguments[i]));
    process.setArguments(rest);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (process.startDetached())
        return {true, {}};
    const std::string reason = process.errorString().toStdString();
    return {false, reason.empty() ? std::string("unknown error") : reason};
}

} // namespace sorvala
