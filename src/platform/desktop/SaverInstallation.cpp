// SPDX-License-Identifier: MIT
#include "platform/desktop/SaverInstallation.h"

#include "core/FileWriting.h"
#include "core/Text.h"
#include "core/UserDirectories.h"
#include "gallery/XScreenSaverPrograms.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

namespace sorvala {

namespace {

std::optional<std::string> readText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

/// An argument of an Exec line, quoted as desktop entries want when it needs quoting.
std::string execArgument(const std::string& text) {
    if (text.find_first_of(" \t\"'`$\\;&|<>()*?#~=%") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%'; // a literal percent sign is doubled
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

SaverInstallation::SaverInstallation(Logger& log, LinuxSession session, Places places)
    : m_log(log), m_session(std::move(session)), m_places(std::move(places)) {}

SaverInstallation::Places SaverInstallation::standardPlaces(const std::filesystem::path& program,
                                                            std::string version) {
    Places places;
    const char* home = std::getenv("HOME");
    places.home = home && *home ? home : "/";
    places.dataHome = UserDirectories::dataHome();
    places.program = program;
    places.version = std::move(version);
    return places;
}

bool SaverInstallation::programOnPath(const char* name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':'))
        if (!folder.empty() && ::access((std::filesystem::path(folder) / name).c_str(), X_OK) == 0)
            return true;
    return false;
}

std::filesystem::path SaverInstallation::mateEntryFile() const {
    return m_places.dataHome / "applications" / "screensavers" / "sorvala-saver.desktop";
}

std::filesystem::path SaverInstallation::versionFile() const {
    return m_places.dataHome / "Sorvala" / "screensaver.version";
}

std::string SaverInstallation::mateEntry(const std::filesystem::path& program, const std::string& version) {
    const std::string exec = execArgument(program.string());
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Sorvala\n"
           "Comment=Line drawings drawn stroke by stroke, as in Sorvala's long breaks\n"
           "TryExec=" +
           program.string() +
           "\n"
           "Exec=" +
           exec +
           " --root\n"
           "Categories=Screensaver;\n"
           "OnlyShowIn=MATE;\n"
           "NoDisplay=true\n"
           "X-Sorvala-Version=" +
           version + "\n";
}

std::optional<std::string> SaverInstallation::execProgram(const std::string& entry) {
    std::istringstream lines(entry);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.starts_with("Exec="))
            continue;
        const std::string value = line.substr(5);
        if (!value.starts_with("\""))
            return value.substr(0, value.find(' '));
        std::string program;
        for (std::size_t i = 1; i < value.size() && value[i] != '"'; ++i) {
            if (value[i] == '\\' && i + 1 < value.size())
                ++i;
            program += value[i];
        }
        return program;
    }
    return std::nullopt;
}

bool SaverInstallation::xscreensaverPresent() const {
    std::error_code ignored;
    return m_places.hasProgram("xscreensaver") || std::filesystem::exists(xscreensaverFile(), ignored);
}

bool SaverInstallation::matePresent() const {
    return m_session.isDesktop("MATE") || m_places.hasProgram("mate-screensaver");
}

std::optional<std::string> SaverInstallation::registerWithXScreenSaver(bool refreshing) {
    std::error_code error;
    std::filesystem::path file = xscreensaverFile();
    // A ~/.xscreensaver kept elsewhere and linked in stays a link: the file it names is edited.
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(file, error)))
        file = std::filesystem::canonical(file, error);
    if (error && error != std::errc::no_such_file_or_directory)
        return "could not follow " + xscreensaverFile().string() + ": " + error.message();
    const auto existing = readText(file);
    if (!existing) {
        if (std::filesystem::exists(file, error))
            return file.string() + " could not be read";
        const std::string defaults = readText(m_places.xscreensaverDefaults).value_or("");
        return writeAtomically(XScreenSaverPrograms::fromDefaults(defaults, m_places.program.string()), file);
    }
    const std::string updated =
        XScreenSaverPrograms::withEntry(*existing, m_places.program.string(), refreshing);
    if (updated == *existing)
        return std::nullopt;
    // The owner's write bit is honoured even where the process could write anyway (root): a file
    // made read-only is meant to stay as it is.
    const auto permissions = std::filesystem::status(file, error).permissions();
    if (::access(file.c_str(), W_OK) != 0 ||
        (permissions & std::filesystem::perms::owner_write) == std::filesystem::perms::none)
        return file.string() + " is read-only, so Sorvala left it unchanged.";
    // The user's own file: a copy of it as it was goes first.
    if (const auto failed = writeAtomically(*existing, file.string() + ".sorvala-backup"))
        return "could not back up " + file.string() + ": " + *failed;
    return writeAtomically(updated, file);
}

std::optional<std::string> SaverInstallation::registerWithMate() {
    std::error_code error;
    std::filesystem::create_directories(mateEntryFile().parent_path(), error);
    if (error)
        return "could not create " + mateEntryFile().parent_path().string() + ": " + error.message();
    return writeAtomically(mateEntry(m_places.program, m_places.version), mateEntryFile());
}

SaverInstallation::Outcome SaverInstallation::install() {
    Outcome outcome;
    std::error_code error;
    if (!std::filesystem::is_regular_file(m_places.program, error)) {
        outcome.failure = "sorvala-saver is missing beside Sorvala (" + m_places.program.string() + ")";
    } else if (!xscreensaverPresent() && !matePresent()) {
        outcome.failure = "The screen saver is not available on this desktop: Sorvala's drawings run under "
                          "xscreensaver or mate-screensaver, and neither is installed.";
    } else {
        if (xscreensaverPresent()) {
            if (const auto failed = registerWithXScreenSaver(false))
                outcome.failure = *failed;
            else
                outcome.written.push_back(xscreensaverFile());
        }
        if (matePresent() && !outcome.failure) {
            if (const auto failed = registerWithMate())
                outcome.failure = *failed;
            else
                outcome.written.push_back(mateEntryFile());
        }
    }
    if (outcome.failure) {
        m_log.log("screensaver install failed: " + *outcome.failure);
        return outcome;
    }
    std::filesystem::create_directories(versionFile().parent_path(), error);
    writeAtomically(m_places.version + "\n", versionFile());
    std::vector<std::string> paths;
    for (const auto& path : outcome.written)
        paths.push_back(path.string());
    m_log.log("screensaver installed to " + Text::joined(paths));
    return outcome;
}

std::optional<std::string> SaverInstallation::installedVersion() const {
    const auto text = readText(versionFile());
    if (!text)
        return std::nullopt;
    const std::string_view version = Text::trimmed(*text);
    return version.empty() ? std::nullopt : std::optional<std::string>(version);
}

void SaverInstallation::refreshAtLaunch() {
    std::error_code error;
    if (!std::filesystem::is_regular_file(m_places.program, error))
        return; // this build carries no saver to point at
    const auto xscreensaverText = readText(xscreensaverFile());
    const auto xscreensaverProgram =
        xscreensaverText ? XScreenSaverPrograms::registeredProgram(*xscreensaverText) : std::nullopt;
    const auto mateText = readText(mateEntryFile());
    const auto mateProgram = mateText ? execProgram(*mateText) : std::nullopt;
    if (!xscreensaverProgram && !mateText)
        return; // never installed
    const auto installed = installedVersion();
    const bool stale = installed != m_places.version ||
                       (xscreensaverProgram && *xscreensaverProgram != m_places.program.string()) ||
                       (mateText && mateProgram != m_places.program.string());
    if (!stale)
        return;
    std::optional<std::string> failure;
    if (xscreensaverProgram)
        failure = registerWithXScreenSaver(true);
    if (mateText && !failure)
        failure = registerWithMate();
    if (failure) {
        m_log.log("saver refresh failed: " + *failure);
        return;
    }
    std::filesystem::create_directories(versionFile().parent_path(), error);
    writeAtomically(m_places.version + "\n", versionFile());
    m_log.log("saver refreshed from build " + installed.value_or("unreadable") + " to " + m_places.version);
}

} // namespace sorvala
