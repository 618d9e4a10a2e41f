// SPDX-License-Identifier: MIT
#include "updater/qt/UpdatePackage.h"

#include <QProcess>
#include <QStringList>

#include <cstdlib>
#include <system_error>

namespace sorvala::UpdatePackage {

namespace fs = std::filesystem;

namespace {

struct Run {
    int status = -1;
    QByteArray output;
};

/// Runs tar with `arguments`, its output captured; a status of -1 when it could not run or hung.
Run tar(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("tar"), arguments);
    if (!process.waitForStarted() || !process.waitForFinished(120000)) {
        process.kill();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput()};
}

/// A fresh folder inside `base`, so the final rename stays on one file system.
fs::path makeWorkFolder(const fs::path& base) {
    std::string pattern = (base / ".sorvala-staging-XXXXXX").string();
    return ::mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
}

/// Whether everything unpacked under `root` is a file, folder or link that stays inside.
bool holdsOnlyPlainEntries(const fs::path& root) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, fs::directory_options::none, error), end; it != end;
         it.increment(error)) {
        if (error)
            return false;
        const auto status = it->symlink_status(error);
        if (error)
            return false;
        if (fs::is_symlink(status)) {
            const auto target = fs::read_symlink(it->path(), error);
            const auto inside = fs::relative(it->path(), root, error);
            if (error || !UpdateInstaller::symlinkStaysInside(inside.string(), target.string()))
                return false;
        } else if (!fs::is_regular_file(status) && !fs::is_directory(status)) {
            return false;
        }
    }
    return !error;
}

} // namespace

Staged stageVersionFolder(const fs::path& archive, const fs::path& base, const std::string& version,
                          const fs::path& runningVersionFolder) {
    std::error_code ignored;
    const fs::path work = makeWorkFolder(base);
    const auto fail = [&](UpdateInstallError error) -> Staged {
        fs::remove_all(work, ignored);
        fs::remove(archive, ignored);
        return error;
    };
    if (work.empty())
        return fail({UpdateInstallError::CommandFailed{"mkdtemp", errno}});

    const QString archivePath = QString::fromStdString(archive.string());
    const auto listing = tar({QStringLiteral("-tzf"), archivePath});
    if (listing.status != 0)
        return fail({UpdateInstallError::CommandFailed{"tar", listing.status}});
    const std::string top = "sorvala-" + version;
    for (const auto& member : listing.output.split('\n'))
        if (!member.isEmpty() && !UpdateInstaller::isSafeArchiveMember(member.toStdString(), top))
            return fail({UpdateInstallError::UnsafePackage{}});

    const auto unpacked = tar({QStringLiteral("-xzf"), archivePath, QStringLiteral("-C"),
                               QString::fromStdString(work.string()), QStringLiteral("--no-same-owner"),
                               QStringLiteral("--no-overwrite-dir")});
    if (unpacked.status != 0)
        return fail({UpdateInstallError::CommandFailed{"tar", unpacked.status}});
    if (!fs::is_directory(fs::symlink_status(work / top, ignored)))
        return fail({UpdateInstallError::AppNotFound{}});
    if (!holdsOnlyPlainEntries(work / top))
        return fail({UpdateInstallError::UnsafePackage{}});
    const auto program = fs::symlink_status(work / top / "bin" / "sorvala", ignored);
    if (!fs::is_regular_file(program) || (program.permissions() & fs::perms::owner_exec) == fs::perms::none)
        return fail({UpdateInstallError::AppNotFound{}});

    // A version folder left from an earlier attempt is replaced; the running one never is.
    const fs::path target = base / version;
    if (fs::exists(target, ignored) && fs::equivalent(target, runningVersionFolder, ignored))
        return fail({UpdateInstallError::CommandFailed{"rename", EEXIST}});
    fs::remove_all(target, ignored);
    std::error_code renamed;
    fs::rename(work / top, target, renamed);
    if (renamed)
        return fail({UpdateInstallError::CommandFailed{"rename", renamed.value()}});
    fs::remove_all(work, ignored);
    fs::remove(archive, ignored);
    return target;
}

Staged stageAppImage(const fs::path& download, const fs::path& appImage) {
    std::error_code error;
    fs::permissions(download,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                        fs::perms::others_exec,
                    error);
    const fs::path staged = appImage.string() + ".update";
    if (!error)
        fs::rename(download, staged, error);
    if (error) {
        std::error_code ignored;
        fs::remove(download, ignored);
        return UpdateInstallError{UpdateInstallError::CommandFailed{"rename", error.value()}};
    }
    return staged;
}

} // namespace sorvala::UpdatePackage
