// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace sorvala {

/// Why unpacking or placing an update failed, in words for the failed card.
struct UpdateInstallError {
    /// A helper command ended with a non-zero status.
    struct CommandFailed {
        std::string command;
        int status = 0;
    };
    /// The package held no program where one belongs.
    struct AppNotFound {};
    /// The package named files outside its own folder.
    struct UnsafePackage {};
    std::variant<CommandFailed, AppNotFound, UnsafePackage> reason;

    /// "tar failed (exit 2).", "The update package didn't contain Sorvala.", ...
    std::string description() const;
};

namespace UpdateInstaller {

/// How this copy of Sorvala was installed, which decides whether it may replace itself.
enum class InstallKind {
    userFolder, ///< ~/.local/opt/sorvala/<version>/ beside a `current` link: replaces itself
    appImage, ///< one file named by $APPIMAGE: replaces itself
    packageManaged, ///< under /usr or in a Flatpak: the package manager updates it
    elsewhere, ///< a build folder or a hand-made copy: never updated
};

/// What tells the install kinds apart, read once at start.
struct InstallFacts {
    std::string executable; ///< the running program, links resolved
    std::string appImage; ///< $APPIMAGE, empty when unset
    bool flatpak = false; ///< $FLATPAK_ID is set or /.flatpak-info exists
    bool versionLinkBeside = false; ///< the program's version folder has a `current` link beside it
};

/// The install kind for these facts. A Flatpak or a program under /usr belongs to a package
/// manager even when $APPIMAGE happens to be set in its environment.
InstallKind installKind(const InstallFacts& facts);
/// The words of an install kind in log lines.
std::string_view text(InstallKind kind);

/// `text` in single quotes for /bin/sh; each single quote inside becomes '\''.
std::string singleQuoted(std::string_view text);

/// What the relaunch script swaps and starts.
struct Relaunch {
    InstallKind kind = InstallKind::userFolder;
    /// userFolder: the new version folder beside the installed one; appImage: the verified file
    /// in the AppImage's own folder.
    std::string stagedAppPath;
    /// userFolder: the running version folder; appImage: the AppImage file.
    std::string installedAppPath;
    long long parentProcessID = 0;
};

/// The text handed to "/bin/sh -c": waits until the running program has exited, swaps the new
/// build in with one rename(2), starts it detached, and (for a version folder) removes the old
/// folder once the new program is still running five seconds later. "set -e" stops it at the
/// first failing step, leaving the old program in place.
std::string relaunchScript(const Relaunch& relaunch);

/// Whether an archive member may be unpacked: a relative path inside `topFolder`, without ".."
/// parts.
bool isSafeArchiveMember(std::string_view member, std::string_view topFolder);
/// Whether a symbolic link at `linkPath` (relative to the unpacked top folder) pointing at
/// `target` stays inside that folder.
bool symlinkStaysInside(std::string_view linkPath, std::string_view target);

} // namespace UpdateInstaller
} // namespace sorvala
