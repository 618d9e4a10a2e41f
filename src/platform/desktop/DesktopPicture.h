// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dbus/BoundedDBus.h"
#include "platform/desktop/LinuxSession.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sorvala {

/// The desktop picture of every display.
class DesktopPicture {
public:
    /// What setting a picture did: how many displays there are and why the others failed.
    struct Outcome {
        int displays = 0;
        std::vector<std::string> failures; ///< one description per display that did not take it

        int successes() const { return displays - static_cast<int>(failures.size()); }
    };

    virtual ~DesktopPicture() = default;
    /// The file of the current picture of every display, wherever it lies; empty when unknown.
    virtual std::vector<std::filesystem::path> currentPictures() = 0;
    /// Sets `file` on every display; nullopt when this desktop has no way we know.
    virtual std::optional<Outcome> set(const std::filesystem::path& file) = 0;
};

/// The desktop picture of the running desktop: GSettings on GNOME, Cinnamon and MATE, the Plasma
/// shell's scripting on KDE, xfconf on XFCE. Any other desktop has no way.
class LinuxDesktopPicture final : public DesktopPicture {
public:
    enum class Way { gnome, cinnamon, mate, plasma, xfce, none };

    /// `displayCount` answers how many displays there are (one picture covers all on GNOME).
    LinuxDesktopPicture(LinuxSession session, QDBusConnection sessionBus, int timeoutMs,
                        std::function<int()> displayCount);

    /// The way chosen for the session's desktop.
    Way way() const { return m_way; }

    std::vector<std::filesystem::path> currentPictures() override;
    std::optional<Outcome> set(const std::filesystem::path& file) override;

    /// The Plasma shell script that sets `uri` on every desktop and prints "set/total".
    static std::string plasmaSetScript(const std::string& uri);
    /// The Plasma shell script that prints the picture of every desktop, one a line.
    static std::string plasmaReadScript();

private:
    Outcome setThroughGSettings(const char* schema, const std::vector<const char*>& keys,
                                const std::string& value);
    Outcome setOnPlasma(const std::filesystem::path& file);
    Outcome setOnXfce(const std::filesystem::path& file);
    std::vector<std::string> xfceImageProperties(std::vector<std::filesystem::path>* current);

    Way m_way = Way::none;
    BoundedDBus m_bus;
    std::function<int()> m_displayCount;
};

/// The way a desktop session sets its picture.
LinuxDesktopPicture::Way desktopPictureWay(const LinuxSession& session);

} // namespace sorvala
