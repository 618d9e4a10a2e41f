// SPDX-License-Identifier: MIT
#include "platform/desktop/LaunchAtLogin.h"

#include "core/FileWriting.h"
#include "core/Logger.h"
#include "menubar/AutostartEntry.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace sorvala {

LaunchAtLogin::LaunchAtLogin(Logger& log, std::filesystem::path entry, std::string executable)
    : m_log(log), m_entry(std::move(entry)), m_executable(std::move(executable)) {}

std::filesystem::path LaunchAtLogin::standardEntryPath() {
    std::filesystem::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        base = config;
    else if (const char* home = std::getenv("HOME"); home && home[0] != '\0')
        base = std::filesystem::path(home) / ".config";
    else
        base = "/tmp";
    const auto entry = base / "autostart" / "org.sorvala.Sorvala.desktop";
    // Earlier builds named the entry sorvala.desktop: it moves to the new name, so the user keeps
    // launching at login and the menu's check mark keeps reading it. Where it cannot be moved it
    // stays the entry.
    const auto earlier = base / "autostart" / "sorvala.desktop";
    std::error_code error;
    if (!std::filesystem::exists(entry, error) && std::filesystem::exists(earlier, error)) {
        std::filesystem::rename(earlier, entry, error);
        if (error)
            return earlier;
    }
    return entry;
}

std::string LaunchAtLogin::executableToStart(const std::string& applicationFilePath) {
    if (const char* image = std::getenv("APPIMAGE"); image && image[0] == '/')
        return image;
    // <base>/<version>/bin/sorvala beside <base>/current -> <version>: the link outlives upgrades.
    const std::filesystem::path program(applicationFilePath);
    const auto version = program.parent_path().parent_path();
    const auto current = version.parent_path() / "current";
    std::error_code error;
    if (program.parent_path().filename() == "bin" && std::filesystem::is_symlink(current, error) &&
        std::filesystem::equivalent(current, version, error))
        return (current / "bin" / program.filename()).string();
    return applicationFilePath;
}

std::optional<std::string> LaunchAtLogin::contents() const {
    std::ifstream in(m_entry);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool LaunchAtLogin::startsThisProgram(const std::string& program) const {
    if (program == m_executable)
        return true;
    std::error_code error;
    return std::filesystem::equivalent(program, m_executable, error);
}

bool LaunchAtLogin::isEnabled() const {
    const auto text = contents();
    return text && AutostartEntry::isEnabled(*text) && startsThisProgram(AutostartEntry::program(*text));
}

bool LaunchAtLogin::followMovedProgram() {
    const auto text = contents();
    if (!text || !AutostartEntry::isEnabled(*text))
        return false;
    const auto program = AutostartEntry::program(*text);
    std::error_code error;
    if (startsThisProgram(program) || (!program.empty() && std::filesystem::exists(program, error)))
        return false;
    if (const auto failure = writeAtomically(AutostartEntry::text(m_executable), m_entry)) {
        m_log.log("launch-at-login entry not written path=" + m_entry.string() + " error=" + *failure);
        return false;
    }
    m_log.log("launch-at-login entry follows the moved program from=" + program + " to=" + m_executable);
    return true;
}

bool LaunchAtLogin::setEnabled(bool enabled) {
    std::error_code error;
    if (!enabled) {
        std::filesystem::remove(m_entry, error);
        if (error) {
            m_log.log("launch-at-login entry not removed path=" + m_entry.string() + " error=" + error.message());
            return false;
        }
        m_log.log("launch-at-login unregistered");
        return true;
    }
    std::filesystem::create_directories(m_entry.parent_path(), error);
    if (const auto failure = writeAtomically(AutostartEntry::text(m_executable), m_entry)) {
        m_log.log("launch-at-login entry not written path=" + m_entry.string() + " error=" + *failure);
        return false;
    }
    m_log.log("launch-at-login registered exec=" + m_executable);
    return true;
}

} // namespace sorvala
