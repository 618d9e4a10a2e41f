// SPDX-License-Identifier: MIT
#pragma once

#include "app/ports/MainLoopTimer.h"
#include "app/ports/Updater.h"
#include "platform/network/NetworkTransport.h"
#include "updater/UpdateCheck.h"
#include "updater/UpdateInstaller.h"
#include "updater/UpdatePresentation.h"
#include "updater/qt/UpdateSource.h"

#include <QCryptographicHash>
#include <QObject>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

class QTemporaryFile;

namespace sorvala {

class BannerCenter;
class Logger;

/// The self-updater: the daily silent check, the About window's cards, the verified download,
/// the staging beside the installed program and the relaunch that swaps it in.
class SelfUpdater final : public Updater {
public:
    /// Where the cards are shown: the About window.
    class Window {
    public:
        virtual ~Window() = default;
        /// Shows `state`'s card.
        virtual void render(const UpdatePresentation::State& state) = 0;
        /// Brings the window up.
        virtual void present() = 0;
    };

    struct Services {
        Logger& log;
        MainLoopTimer& timers;
        BannerCenter& banners;
        UpdatePresentation::Version current;
        UpdateInstaller::InstallFacts install;
        /// Nullopt for a build without a feed: it never checks.
        std::optional<UpdateSource> source;
        long long processId = 0;
        /// Starts "/bin/sh -c script" detached; false when it could not start.
        std::function<bool(const std::string& script)> launchDetached;
        /// Ends the running program after the relaunch script has started.
        std::function<void()> quit;
        /// The About window, made on first use; null where there is none.
        std::function<Window*()> window;
    };

    /// The result of one feed check.
    struct FetchResult {
        struct Available {
            UpdateCheck::Release release;
        };
        struct Failed {
            std::string message;
        };
        struct UpToDate {};
        std::variant<Available, Failed, UpToDate> outcome;
    };

    explicit SelfUpdater(Services services);
    ~SelfUpdater() override;

    void startAutomaticChecks() override;
    void notificationTapped() override;
    /// The menu's "About Sorvala…".
    void openAbout();
    /// A card button was pressed ("Later" and "Close" only close the window, which it does).
    void perform(UpdatePresentation::Action action);

    /// Whether this install replaces itself and has a feed to read.
    bool isEnabled() const;
    bool hasStagedUpdate() const { return m_stagedAppPath.has_value(); }
    bool isInstallInProgress() const { return m_installInProgress; }

    /// Reads and checks the feed; `done` runs once on the main thread.
    void fetch(std::function<void(const FetchResult&)> done);

private:
    struct Download;

    void silentCheck();
    void startDownload(const UpdateCheck::Release& release);
    void downloadReceived(const QByteArray& chunk);
    void downloadFinished(bool succeeded, const std::string& error);
    void failDownload(const std::string& logLine, const std::string& message);
    void stage(const std::filesystem::path& file, const UpdateCheck::Release& release);
    void performStagedRestart();
    void render(const UpdatePresentation::State& state);
    /// Starts a GET on the network module; false, logged, when the module is missing.
    bool get(const QUrl& url, qint64 limitBytes, NetworkTransport::Callbacks callbacks,
             NetworkTransport::Transfer* transfer = nullptr);
    std::filesystem::path downloadFolder() const;
    std::filesystem::path runningVersionFolder() const;

    Services m_services;
    UpdateInstaller::InstallKind m_kind;
    QObject m_network; ///< what the transfers report to: once the updater is gone, nothing is called
    std::optional<UpdateCheck::Release> m_pendingRelease;
    std::optional<std::string> m_stagedAppPath;
    bool m_installInProgress = false;
    double m_lastDownloadFraction = 0;
    bool m_loggedOff = false;
    TimerField m_firstCheck;
    TimerField m_checkTimer;
    std::unique_ptr<Download> m_download;
};

/// The install facts of the running program: /proc/self/exe, $APPIMAGE, the Flatpak markers and
/// the `current` link two folders up.
UpdateInstaller::InstallFacts currentInstallFacts();

} // namespace sorvala
