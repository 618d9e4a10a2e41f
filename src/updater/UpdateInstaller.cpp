// SPDX-License-Identifier: MIT
#include "updater/UpdateInstaller.h"

#include "i18n/I18n.h"

#include <vector>

namespace sorvala {

namespace {

std::string parentOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string(".") : std::string(path.substr(0, slash));
}

std::string nameOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::vector<std::string_view> partsOf(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const auto slash = path.find('/');
        const auto part = path.substr(0, slash);
        if (!part.empty() && part != ".")
            parts.push_back(part);
        if (slash == std::string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return parts;
}

/// How deep `parts` end up below their starting folder, walked lexically; nullopt when the walk
/// leaves it at any point.
std::optional<std::size_t> depthAfter(std::size_t start, const std::vector<std::string_view>& parts) {
    std::size_t depth = start;
    for (const auto part : parts) {
        if (part == "..") {
            if (depth == 0)
                return std::nullopt;
            --depth;
        } else {
            ++depth;
        }
    }
    return depth;
}

} // namespace

std::string UpdateInstallError::description() const {
    if (const auto* failed = std::get_if<CommandFailed>(&reason))
        return failed->command + " failed (exit " + std::to_string(failed->status) + ").";
    if (std::holds_alternative<AppNotFound>(reason))
        return I18N_NOOP("The update package didn't contain Sorvala.");
    return I18N_NOOP("The update package held files outside its folder and was not installed.");
}

namespace UpdateInstaller {

InstallKind installKind(const InstallFacts& facts) {
    if (facts.flatpak || facts.executable.starts_with("/usr/"))
        return InstallKind::packageManaged;
    if (!facts.appImage.empty() && facts.appImage.front() == '/')
        return InstallKind::appImage;
    if (facts.versionLinkBeside)
        return InstallKind::userFolder;
    return InstallKind::elsewhere;
}

std::string_view text(InstallKind kind) {
    switch (kind) {
    case InstallKind::userFolder: return "user-folder";
    case InstallKind::appImage: return "appimage";
    case InstallKind::packageManaged: return "package-managed";
    case InstallKind::elsewhere: return "elsewhere";
    }
    return "elsewhere";
}

std::string singleQuoted(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string relaunchScript(const Relaunch& relaunch) {
    const std::string pid = std::to_string(relaunch.parentProcessID);
    std::string script = "set -e\nwhile kill -0 " + pid + " 2>/dev/null; do /bin/sleep 0.2; done\n";
    const auto start = [](const std::string& program) {
        return "/usr/bin/setsid " + singleQuoted(program) + " </dev/null >/dev/null 2>&1 &\n";
    };
    if (relaunch.kind == InstallKind::appImage) {
        script += "/bin/mv -f " + singleQuoted(relaunch.stagedAppPath) + " " +
                  singleQuoted(relaunch.installedAppPath) + "\n";
        return script + start(relaunch.installedAppPath);
    }
    // The link is made under a temporary name and renamed over `current`: no moment without one.
    const std::string base = parentOf(relaunch.installedAppPath);
    const std::string next = base + "/.current.update";
    script += "/bin/ln -sfn " + singleQuoted(nameOf(relaunch.stagedAppPath)) + " " + singleQuoted(next) + "\n";
    script += "/bin/mv -fT " + singleQuoted(next) + " " + singleQuoted(base + "/current") + "\n";
    script += start(base + "/current/bin/sorvala");
    script += "/bin/sleep 5\n";
    script += "if kill -0 $! 2>/dev/null; then /bin/rm -rf " + singleQuoted(relaunch.installedAppPath) + "; fi\n";
    return script;
}

bool isSafeArchiveMember(std::string_view member, std::string_view topFolder) {
    if (member.empty() || member.front() == '/')
        return false;
    const auto parts = partsOf(member);
    if (parts.empty() || parts.front() != topFolder)
        return false;
    for (const auto part : parts)
        if (part == "..")
            return false;
    return true;
}

bool symlinkStaysInside(std::string_view linkPath, std::string_view target) {
    if (target.empty() || target.front() == '/')
        return false;
    const auto folder = depthAfter(0, partsOf(parentOf(linkPath) == "." ? "" : parentOf(linkPath)));
    return folder && depthAfter(*folder, partsOf(target)).has_value();
}

} // namespace UpdateInstaller
} // namespace sorvala
