// SPDX-License-Identifier: MIT
#include "updater/qt/SelfUpdater.h"

#include "app/ports/BannerCenter.h"
#include "core/Logger.h"
#include "notices/UserSignal.h"
#include "updater/UpdateFlow.h"
#include "updater/qt/UpdatePackage.h"

#include <QCoreApplication>
#include <QTemporaryFile>

#include <cstdlib>

namespace sorvala {

namespace fs = std::filesystem;
using namespace UpdatePresentation;

namespace {

constexpr double dailyCheckSeconds = 86400;
constexpr double firstCheckSeconds = 5;
/// A feed or signature longer than this is not ours.
constexpr qint64 feedLimitBytes = 1000000;

std::string text(const QUrl& url) {
    return url.toString().toStdString();
}

/// Why a transfer failed, for the log.
std::string reason(const NetworkTransport::Outcome& outcome) {
    return outcome.error == 0 ? std::string("bad response") : outcome.errorText.toStdString();
}

} // namespace

struct SelfUpdater::Download {
    UpdateCheck::Release release;
    NetworkTransport::Transfer transfer;
    std::unique_ptr<QTemporaryFile> file;
    QCryptographicHash hash{QCryptographicHash::Sha256};
    qint64 written = 0;
    bool tooLong = false;
    bool writeFailed = false;
};

SelfUpdater::SelfUpdater(Services services)
    : m_services(std::move(services)), m_kind(UpdateInstaller::installKind(m_services.install)) {}

SelfUpdater::~SelfUpdater() = default;

bool SelfUpdater::isEnabled() const {
    return m_services.source && (m_kind == UpdateInstaller::InstallKind::userFolder ||
                                 m_kind == UpdateInstaller::InstallKind::appImage);
}

void SelfUpdater::startAutomaticChecks() {
    if (!isEnabled()) {
        if (!std::exchange(m_loggedOff, true))
            m_services.log.log("updater off reason=" +
                               std::string(m_services.source ? UpdateInstaller::text(m_kind) : "no-feed-configured") +
                               " program=" + m_services.install.executable);
        return;
    }
    m_firstCheck = m_services.timers.scheduled(firstCheckSeconds, false, 1, [this] { silentCheck(); });
    m_checkTimer = m_services.timers.scheduled(dailyCheckSeconds, true, 60, [this] { silentCheck(); });
}

void SelfUpdater::silentCheck() {
    fetch([this](const FetchResult& result) {
        const auto* available = std::get_if<FetchResult::Available>(&result.outcome);
        if (!available || !UpdateFlow::shouldOfferUpdate(m_stagedAppPath.has_value(), m_installInProgress))
            return;
        m_pendingRelease = available->release;
        m_services.log.log("posting update-available notification for build=" +
                           std::to_string(available->release.build));
        if (m_services.banners.isAvailable())
            m_services.banners.post(UserSignal::updateAvailable(available->release.version));
    });
}

void SelfUpdater::notificationTapped() {
    const auto route = UpdateFlow::notificationRoute(m_pendingRelease.has_value(), m_stagedAppPath.has_value(),
                                                     m_installInProgress);
    if (route == UpdateFlow::NotificationRoute::openAbout || !isEnabled()) {
        openAbout();
        return;
    }
    startDownload(*m_pendingRelease);
    if (auto* window = m_services.window ? m_services.window() : nullptr)
        window->present();
}

void SelfUpdater::openAbout() {
    m_services.log.log("about window opened");
    if (!isEnabled()) {
        render(UpdatedElsewhere{m_services.current, m_kind == UpdateInstaller::InstallKind::packageManaged
                                                        ? packageManagerMessage()
                                                        : installedElsewhereMessage()});
    } else {
        switch (UpdateFlow::entry(m_stagedAppPath.has_value(), m_installInProgress)) {
        case UpdateFlow::Entry::showReadyToInstall:
            render(ReadyToInstall{m_pendingRelease ? m_pendingRelease->version : m_services.current.name});
            break;
        case UpdateFlow::Entry::showDownloading:
            render(Downloading{m_pendingRelease ? m_pendingRelease->version : std::string(), m_lastDownloadFraction,
                               downloadingStep});
            break;
        case UpdateFlow::Entry::checkForUpdates:
            render(Checking{m_services.current});
            fetch([this](const FetchResult& result) {
                std::visit(
                    [this](const auto& outcome) {
                        using Outcome = std::decay_t<decltype(outcome)>;
                        if constexpr (std::is_same_v<Outcome, FetchResult::Failed>) {
                            render(Failed{m_services.current, outcome.message});
                        } else if constexpr (std::is_same_v<Outcome, FetchResult::UpToDate>) {
                            render(UpToDate{m_services.current});
                        } else {
                            m_pendingRelease = outcome.release;
                            render(Available{m_services.current, outcome.release.version});
                        }
                    },
                    result.outcome);
            });
            break;
        }
    }
    if (auto* window = m_services.window ? m_services.window() : nullptr)
        window->present();
}

void SelfUpdater::perform(Action action) {
    switch (action) {
    case Action::downloadAndInstall:
        if (m_pendingRelease)
            startDownload(*m_pendingRelease);
        return;
    case Action::restartNow: performStagedRestart(); return;
    case Action::retry: openAbout(); return;
    case Action::close: return;
    }
}

bool SelfUpdater::get(const QUrl& url, qint64 limitBytes, NetworkTransport::Callbacks callbacks,
                      NetworkTransport::Transfer* transfer) {
    NetworkTransport* network = NetworkTransport::load(&m_services.log);
    if (!network)
        return false;
    NetworkTransport::Request request;
    request.url = url;
    request.timeoutMs = m_services.source->timeoutMs;
    request.extraCaPem = m_services.source->extraCaPem;
    request.sameOriginRedirects = true;
    request.limitBytes = limitBytes;
    const auto started = network->get(request, &m_network, std::move(callbacks));
    if (transfer)
        *transfer = started;
    return true;
}

void SelfUpdater::fetch(std::function<void(const FetchResult&)> done) {
    m_services.log.log("update check requested");
    if (!isEnabled()) {
        done({FetchResult::Failed{noAnswerMessage()}});
        return;
    }
    const UpdateSource source = *m_services.source;
    const auto failed = [this, source, done](const std::string& why) {
        m_services.log.log("update check failed: no readable appcast from " + text(source.feed) + " reason=" + why);
        done({FetchResult::Failed{noAnswerMessage()}});
    };
    const auto verify = [this, source, done, failed](const QByteArray& body, const QByteArray& signature) {
        NetworkTransport* network = NetworkTransport::load(&m_services.log);
        if (!network || !network->verifySignature(body, signature, source.publicKey))
            return failed("bad signature");
        const auto release = UpdateCheck::release(body.toStdString());
        if (!release)
            return failed("unreadable feed");
        const long long local = m_services.current.build;
        const bool newer = UpdateCheck::isNewer(local, *release);
        m_services.log.log("update check result localBuild=" + std::to_string(local) +
                           " latestBuild=" + std::to_string(release->build) + " version=" + release->version +
                           " newer=" + (newer ? "true" : "false"));
        if (newer)
            done({FetchResult::Available{*release}});
        else
            done({FetchResult::UpToDate{}});
    };
    auto body = std::make_shared<QByteArray>();
    const bool started = get(
        source.feed, feedLimitBytes,
        {.received = [body](const QByteArray& chunk) { *body += chunk; },
         .finished =
             [this, source, body, failed, verify](const NetworkTransport::Outcome& outcome) {
                 if (!outcome.succeeded())
                     return failed(reason(outcome));
                 auto signature = std::make_shared<QByteArray>();
                 get(source.signatureURL(), feedLimitBytes,
                     {.received = [signature](const QByteArray& chunk) { *signature += chunk; },
                      .finished =
                          [body, signature, failed, verify](const NetworkTransport::Outcome& answer) {
                              if (!answer.succeeded())
                                  return failed("no signature");
                              verify(*body, *signature);
                          }});
             }});
    if (!started)
        failed("no network module");
}

fs::path SelfUpdater::runningVersionFolder() const {
    return fs::path(m_services.install.executable).parent_path().parent_path();
}

fs::path SelfUpdater::downloadFolder() const {
    if (m_kind == UpdateInstaller::InstallKind::appImage)
        return fs::path(m_services.install.appImage).parent_path();
    return runningVersionFolder().parent_path();
}

void SelfUpdater::startDownload(const UpdateCheck::Release& release) {
    if (m_installInProgress || m_stagedAppPath || !isEnabled())
        return;
    if (!UpdateCheck::isTrustedDownloadURL(release.url, text(m_services.source->feed))) {
        m_services.log.log("update refused: untrusted download url " + release.url);
        render(Failed{m_services.current, untrustedMessage()});
        return;
    }
    auto download = std::make_unique<Download>();
    download->release = release;
    // Beside the program it replaces, so the final rename never crosses file systems.
    download->file = std::make_unique<QTemporaryFile>(
        QString::fromStdString((downloadFolder() / ".sorvala-download-XXXXXX").string()));
    if (!download->file->open()) {
        m_services.log.log("update download failed: cannot write folder=" + downloadFolder().string());
        render(Failed{m_services.current, downloadFailedMessage()});
        return;
    }
    m_installInProgress = true;
    m_lastDownloadFraction = 0;
    render(Downloading{release.version, 0, downloadingStep});
    m_services.log.log("update download starting from " + release.url);
    m_download = std::move(download);
    const bool started = get(QUrl(QString::fromStdString(release.url)), -1,
                             {.received = [this](const QByteArray& chunk) { downloadReceived(chunk); },
                              .finished =
                                  [this](const NetworkTransport::Outcome& outcome) {
                                      downloadFinished(outcome.succeeded(), reason(outcome));
                                  }},
                             &m_download->transfer);
    if (!started)
        downloadFinished(false, "no network module");
}

void SelfUpdater::downloadReceived(const QByteArray& chunk) {
    auto& download = *m_download;
    if (download.tooLong || download.writeFailed)
        return; // aborted: the rest is not ours to keep
    if (download.written + chunk.size() > download.release.size) {
        download.tooLong = true;
        download.transfer.abort();
        return;
    }
    download.hash.addData(chunk);
    if (download.file->write(chunk) != chunk.size()) {
        download.writeFailed = true;
        download.transfer.abort();
        return;
    }
    download.written += chunk.size();
    const double fraction = static_cast<double>(download.written) / static_cast<double>(download.release.size);
    if (m_installInProgress && !m_stagedAppPath && fraction - m_lastDownloadFraction >= 0.01) {
        m_lastDownloadFraction = fraction;
        render(Downloading{download.release.version, fraction, downloadingStep});
    }
}

void SelfUpdater::downloadFinished(bool succeeded, const std::string& error) {
    const std::unique_ptr<Download> download = std::move(m_download);
    if (download->tooLong)
        return failDownload("update download failed: longer than the feed's size", downloadFailedMessage());
    if (download->writeFailed)
        return failDownload("update download failed: cannot write " + download->file->fileName().toStdString(),
                            downloadFailedMessage());
    if (!succeeded)
        return failDownload("update download failed: " + error, downloadFailedMessage());
    if (download->written != download->release.size)
        return failDownload("update download failed: size expected=" + std::to_string(download->release.size) +
                                " received=" + std::to_string(download->written),
                            downloadFailedMessage());
    if (download->hash.result().toHex().toStdString() != download->release.sha256)
        return failDownload("update download failed: sha256 mismatch", downloadFailedMessage());
    if (!download->file->flush()) {
        return failDownload("update download failed: cannot write " + download->file->fileName().toStdString(),
                            downloadFailedMessage());
    }
    download->file->setAutoRemove(false);
    const fs::path path = download->file->fileName().toStdString();
    download->file->close();
    stage(path, download->release);
}

void SelfUpdater::failDownload(const std::string& logLine, const std::string& message) {
    m_services.log.log(logLine);
    m_installInProgress = false;
    render(Failed{m_services.current, message});
}

void SelfUpdater::stage(const fs::path& file, const UpdateCheck::Release& release) {
    const auto staged = m_kind == UpdateInstaller::InstallKind::appImage
                            ? UpdatePackage::stageAppImage(file, m_services.install.appImage)
                            : UpdatePackage::stageVersionFolder(file, downloadFolder(), release.version,
                                                                runningVersionFolder());
    m_installInProgress = false;
    if (const auto* error = std::get_if<UpdateInstallError>(&staged)) {
        m_services.log.log("update install failed: " + error->description());
        render(Failed{m_services.current, installFailedMessage(error->description())});
        return;
    }
    m_stagedAppPath = std::get<fs::path>(staged).string();
    m_services.log.log("update staged path=" + *m_stagedAppPath);
    render(ReadyToInstall{release.version});
}

void SelfUpdater::performStagedRestart() {
    if (!m_stagedAppPath)
        return;
    const bool appImage = m_kind == UpdateInstaller::InstallKind::appImage;
    const std::string installed = appImage ? m_services.install.appImage : runningVersionFolder().string();
    const auto script = UpdateInstaller::relaunchScript(
        {m_kind, *m_stagedAppPath, installed, m_services.processId});
    m_services.log.log("update swapping " + installed + " and relaunching");
    if (!m_services.launchDetached || !m_services.launchDetached(script)) {
        m_services.log.log("update relaunch failed: /bin/sh did not start");
        render(Failed{m_services.current, launchFailedMessage()});
        return;
    }
    if (m_services.quit)
        m_services.quit();
}

void SelfUpdater::render(const State& state) {
    if (auto* window = m_services.window ? m_services.window() : nullptr)
        window->render(state);
}

UpdateInstaller::InstallFacts currentInstallFacts() {
    UpdateInstaller::InstallFacts facts;
    std::error_code error;
    const fs::path executable = fs::canonical("/proc/self/exe", error);
    facts.executable = error ? QCoreApplication::applicationFilePath().toStdString() : executable.string();
    if (const char* appImage = std::getenv("APPIMAGE"))
        facts.appImage = appImage;
    facts.flatpak = std::getenv("FLATPAK_ID") != nullptr || fs::exists("/.flatpak-info", error);
    if (!facts.executable.empty())
        facts.versionLinkBeside = fs::is_symlink(executable.parent_path().parent_path().parent_path() / "current", error);
    return facts;
}

} // namespace sorvala
