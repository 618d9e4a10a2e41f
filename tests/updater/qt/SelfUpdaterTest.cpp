// SPDX-License-Identifier: MIT
#include "updater/qt/SelfUpdater.h"

#include "app/ports/BannerCenter.h"
#include "simulation/VirtualTimers.h"
#include "support/EventLoopWait.h"
#include "support/RecordingLogger.h"
#include "support/ScopedEnvironment.h"
#include "support/TemporaryDirectory.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <set>

namespace sorvala {
namespace {

namespace fs = std::filesystem;
using namespace UpdatePresentation;

/// Runs a helper program to its end; its standard output, or a failed test.
QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << " " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

/// A private certificate authority, a certificate for 127.0.0.1 and localhost, a feed signing
/// key, and the HTTPS server serving `root`.
class UpdateServer {
public:
    explicit UpdateServer(const fs::path& folder) : m_folder(folder) {
        fs::create_directories(root());
        const auto at = [&](const char* name) { return QString::fromStdString((folder / name).string()); };
        writeFile(folder / "server.ext", "subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\n");
        run("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                        "-keyout", at("ca.key"), "-out", at("ca.pem"), "-days", "2", "-subj", "/CN=Sorvala Test CA"});
        run("openssl", {"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                        at("server.key"), "-out", at("server.csr"), "-subj", "/CN=127.0.0.1"});
        run("openssl", {"x509", "-req", "-in", at("server.csr"), "-CA", at("ca.pem"), "-CAkey", at("ca.key"),
                        "-CAcreateserial", "-out", at("server.pem"), "-days", "2", "-extfile", at("server.ext")});
        run("openssl", {"genpkey", "-algorithm", "ed25519", "-out", at("sign.pem")});
        publicKey = run(SORVALA_SIGN_FEED, {"--key", at("sign.pem"), "--public-key"}).trimmed();
        ca = QByteArray::fromStdString(readFile(folder / "ca.pem"));

        m_process.start("/usr/bin/python3", {SORVALA_UPDATE_SERVER, QString::fromStdString(root().string()),
                                             at("server.pem"), at("server.key")});
        m_process.waitForReadyRead(10000);
        port = m_process.readLine().trimmed().toInt();
    }
    ~UpdateServer() {
        m_process.kill();
        m_process.waitForFinished();
    }

    fs::path root() const { return m_folder / "www"; }
    QString base() const { return QStringLiteral("https://127.0.0.1:%1").arg(port); }
    std::string url(const std::string& path) const { return base().toStdString() + "/" + path; }

    /// Publishes `feed` with a signature made with the signing key.
    void publish(const std::string& feed) const {
        fs::create_directories(root() / "api");
        writeFile(root() / "api/cast.json", feed);
        run(SORVALA_SIGN_FEED, {"--key", QString::fromStdString((m_folder / "sign.pem").string()),
                                QString::fromStdString((root() / "api/cast.json").string())});
    }

    UpdateSource source(int timeoutMs = 10000) const {
        auto made = UpdateSource::from(base(), publicKey);
        made->extraCaPem = ca;
        made->timeoutMs = timeoutMs;
        return *made;
    }

    QByteArray publicKey, ca;
    int port = 0;

private:
    fs::path m_folder;
    QProcess m_process;
};

/// How many logged lines begin with `start`.
long linesStarting(const RecordingLogger& log, std::string_view start) {
    return std::count_if(log.lines.begin(), log.lines.end(),
                         [&](const std::string& line) { return line.starts_with(start); });
}

class RecordingWindow final : public SelfUpdater::Window {
public:
    void render(const State& state) override { states.push_back(state); }
    void present() override { ++presented; }
    Card last() const { return states.empty() ? Card{} : card(states.back()); }
    std::vector<State> states;
    int presented = 0;
};

class RecordingBanners final : public BannerCenter {
public:
    void registerCategories(const std::vector<int>&) override {}
    void refreshAuthorization(bool) override {}
    bool isAvailable() const override { return true; }
    void clearDelivered() override {}
    void post(const UserSignal& signal) override { posted.push_back(signal.title); }
    std::vector<std::string> posted;
};

/// A self-contained install of version 1.1.0 (build 10100) in a temporary home, and a package
/// of 1.2.0 whose program writes a marker when started.
class SelfUpdaterTest : public testing::Test {
protected:
    SelfUpdaterTest() : server(tmp.path() / "server") {
        for (const auto& [folder, version] : {std::pair{base / "1.1.0", "1.1.0"},
                                              std::pair{tmp.path() / "package/sorvala-1.2.0", "1.2.0"}}) {
            fs::create_directories(folder / "bin");
            writeFile(folder / "bin/sorvala",
                      "#!/bin/sh\necho " + std::string(version) + " > '" + marker().string() + "'\n");
            fs::permissions(folder / "bin/sorvala", fs::perms::owner_all);
        }
        fs::create_directory_symlink("1.1.0", base / "current");
        run("tar", {"-czf", QString::fromStdString((server.root() / "sorvala-1.2.0.tar.gz").string()), "-C",
                    QString::fromStdString((tmp.path() / "package").string()), "sorvala-1.2.0"});
        package = QByteArray::fromStdString(readFile(server.root() / "sorvala-1.2.0.tar.gz"));
    }

    void SetUp() override { ASSERT_GT(server.port, 0) << "the update server did not start"; }

    fs::path marker() const { return tmp.path() / "started"; }

    /// A feed offering 1.2.0 at `url`, described by `bytes` (the package) unless a digest or size is given.
    std::string feed(const std::string& url, const std::string& sha256 = {}, qsizetype size = 0,
                     const QByteArray* bytes = nullptr) const {
        if (!bytes)
            bytes = &package;
        return R"({"version":"1.2.0","build":10200,"url":")" + url + R"(","sha256":")" +
               (sha256.empty() ? QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex().toStdString()
                               : sha256) +
               R"(","size":)" + std::to_string(size ? size : bytes->size()) + "}";
    }

    std::unique_ptr<SelfUpdater> updater(std::optional<UpdateSource> source,
                                         UpdateInstaller::InstallFacts install = {}) {
        if (install.executable.empty())
            install = {(base / "1.1.0/bin/sorvala").string(), "", false, true};
        return std::make_unique<SelfUpdater>(SelfUpdater::Services{
            .log = log, .timers = timers, .banners = banners, .current = {"1.1.0", 10100}, .install = install,
            .source = std::move(source), .processId = finishedProcessId(),
            .launchDetached = [](const std::string& script) {
                return QProcess::startDetached("/bin/sh", {"-c", QString::fromStdString(script)});
            },
            .quit = [this] { ++quits; }, .window = [this] { return &window; }});
    }

    /// Opens the About window and waits for the check to end.
    void openAbout(SelfUpdater& self) {
        self.openAbout();
        ASSERT_TRUE(waitFor([&] { return !std::holds_alternative<Checking>(window.states.back()); }, 20000));
    }

    /// Nothing was unpacked or left behind, and 1.1.0 still runs.
    void expectUntouched() {
        EXPECT_EQ(fs::read_symlink(base / "current"), "1.1.0");
        std::set<std::string> entries;
        for (const auto& entry : fs::directory_iterator(base))
            entries.insert(entry.path().filename().string());
        EXPECT_EQ(entries, (std::set<std::string>{"1.1.0", "current"}));
    }

    static long long finishedProcessId() {
        QProcess done;
        done.start("/bin/true");
        done.waitForFinished();
        return done.processId() ? done.processId() : 999999999;
    }

    TemporaryDirectory tmp;
    fs::path base = tmp.path() / "opt/sorvala";
    UpdateServer server;
    QByteArray package;
    RecordingLogger log;
    VirtualClock clock;
    VirtualTimers timers{clock};
    RecordingBanners banners;
    RecordingWindow window;
    int quits = 0;
};

TEST_F(SelfUpdaterTest, AGoodUpdateIsStagedAndSwappedInOnRestart) {
    server.publish(feed(server.url("sorvala-1.2.0.tar.gz")));
    const auto self = updater(server.source());

    openAbout(*self);
    ASSERT_EQ(window.last().title, "Sorvala 1.2.0 is available");
    self->perform(Action::downloadAndInstall);
    ASSERT_TRUE(waitFor([&] { return std::holds_alternative<ReadyToInstall>(window.states.back()); }))
        << window.last().subtitle;
    EXPECT_TRUE(fs::is_regular_file(base / "1.2.0/bin/sorvala"));
    EXPECT_EQ(fs::read_symlink(base / "current"), "1.1.0");
    // Later checks offer nothing more, and the window goes straight to the staged build.
    self->openAbout();
    EXPECT_EQ(window.last().title, "Sorvala 1.2.0 is ready");

    self->perform(Action::restartNow);
    EXPECT_EQ(quits, 1);
    ASSERT_TRUE(waitFor([&] { return readFile(marker()) == "1.2.0\n"; }));
    EXPECT_EQ(fs::read_symlink(base / "current"), "1.2.0");
}

TEST_F(SelfUpdaterTest, EveryUntrustedOrBrokenUpdateEndsInTheFailedCard) {
    const std::string good = server.url("sorvala-1.2.0.tar.gz");
    // The signature replaces the good one; "none" removes it.
    const struct { const char* name; std::string feed, signature; bool failsAtCheck; } cases[] = {
        {"bad signature", feed(good), "forged", true},
        {"missing signature", feed(good), "none", true},
        {"wrong sha256", feed(good, std::string(64, 'b')), "", false},
        {"longer than promised", feed(good, "", package.size() - 1), "", false},
        {"truncated body", feed(server.url("truncated/sorvala-1.2.0.tar.gz")), "", false},
        {"another host", feed("https://localhost:" + std::to_string(server.port) + "/sorvala-1.2.0.tar.gz"), "", false},
        {"redirect to another host", feed(server.url("away/sorvala-1.2.0.tar.gz")), "", false},
        {"server never answers", feed(server.url("hang/sorvala-1.2.0.tar.gz")), "", false},
        {"not found", feed(server.url("sorvala-9.tar.gz")), "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.publish(c.feed);
        if (c.signature == "none")
            fs::remove(server.root() / "api/cast.json.sig");
        else if (!c.signature.empty())
            writeFile(server.root() / "api/cast.json.sig", std::string(64, 'x'));
        window.states.clear();
        const auto self = updater(server.source(2500));
        openAbout(*self);
        if (!c.failsAtCheck) {
            ASSERT_EQ(window.last().title, "Sorvala 1.2.0 is available") << log.lines.back();
            self->perform(Action::downloadAndInstall);
            ASSERT_TRUE(waitFor([&] { return !std::holds_alternative<Downloading>(window.states.back()); }, 20000));
        }
        EXPECT_EQ(window.last().title, "Update failed");
        EXPECT_EQ(window.last().buttons.front().title, "Retry");
        EXPECT_FALSE(self->hasStagedUpdate());
        EXPECT_FALSE(self->isInstallInProgress());
        expectUntouched();
    }
    EXPECT_EQ(quits, 0);
}

TEST_F(SelfUpdaterTest, ArchivesThatEscapeOrLackTheProgramAreRefused) {
    const auto package_ = tmp.path() / "bad";
    const struct { const char* name; std::function<void()> make; const char* message; } cases[] = {
        {"no program", [&] { fs::create_directories(package_ / "sorvala-1.2.0/share"); },
         "The update package didn't contain Sorvala."},
        {"link out of its folder",
         [&] {
             fs::create_directories(package_ / "sorvala-1.2.0/bin");
             fs::create_symlink("../../../../../etc/passwd", package_ / "sorvala-1.2.0/bin/sorvala");
         },
         "The update package held files outside its folder and was not installed."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(package_);
        c.make();
        const auto archive = server.root() / "bad.tar.gz";
        run("tar", {"-czf", QString::fromStdString(archive.string()), "-C", QString::fromStdString(package_.string()),
                    "sorvala-1.2.0"});
        const QByteArray bytes = QByteArray::fromStdString(readFile(archive));
        server.publish(feed(server.url("bad.tar.gz"), {}, 0, &bytes));
        const auto self = updater(server.source());
        openAbout(*self);
        self->perform(Action::downloadAndInstall);
        ASSERT_TRUE(waitFor([&] { return std::holds_alternative<Failed>(window.states.back()); }));
        EXPECT_TRUE(window.last().subtitle.starts_with(c.message)) << window.last().subtitle;
        expectUntouched();
    }
}

TEST_F(SelfUpdaterTest, AnAppImageIsReplacedByRename) {
    const fs::path appImage = tmp.path() / "apps/it's Sorvala.AppImage";
    fs::create_directories(appImage.parent_path());
    writeFile(appImage, "old");
    const auto program = QByteArray::fromStdString(readFile(tmp.path() / "package/sorvala-1.2.0/bin/sorvala"));
    server.publish(feed(server.url("sorvala-1.2.0/bin/sorvala"), {}, 0, &program));
    fs::copy(tmp.path() / "package/sorvala-1.2.0", server.root() / "sorvala-1.2.0", fs::copy_options::recursive);
    const auto self = updater(server.source(), {"/tmp/.mount_x/usr/bin/sorvala", appImage.string(), false, false});
    openAbout(*self);
    self->perform(Action::downloadAndInstall);
    ASSERT_TRUE(waitFor([&] { return std::holds_alternative<ReadyToInstall>(window.states.back()); }))
        << window.last().subtitle;
    EXPECT_EQ(readFile(appImage), "old");
    self->perform(Action::restartNow);
    ASSERT_TRUE(waitFor([&] { return readFile(marker()) == "1.2.0\n"; }));
    EXPECT_NE((fs::status(appImage).permissions() & fs::perms::others_exec), fs::perms::none);
}

TEST_F(SelfUpdaterTest, ChecksDailyOnlyWhereItMayReplaceItself) {
    server.publish(feed(server.url("sorvala-1.2.0.tar.gz")));
    {
        const auto self = updater(server.source());
        self->startAutomaticChecks();
        timers.runUntil(clock.now() + 5);
        ASSERT_TRUE(waitFor([&] { return !banners.posted.empty(); }));
        EXPECT_EQ(banners.posted, std::vector<std::string>{"Sorvala 1.2.0 is available"});
        // The banner's "Download & Install" downloads at once; once staged, no check offers more.
        self->notificationTapped();
        EXPECT_EQ(window.presented, 1);
        ASSERT_TRUE(waitFor([&] { return std::holds_alternative<ReadyToInstall>(window.states.back()); }));
        timers.runUntil(clock.now() + 86400);
        EXPECT_EQ(timers.firings(), 2u) << "one check 5 s after the start, then one a day";
        EXPECT_EQ(timers.liveCount(), 1) << "the daily check repeats";
        ASSERT_TRUE(waitFor([&] { return linesStarting(log, "update check result") == 2; }));
        EXPECT_EQ(banners.posted.size(), 1u);
    }
    struct Case { const char* name; UpdateInstaller::InstallFacts install; bool hasSource; std::string sentence; };
    const Case cases[] = {
        {"package-managed", {"/usr/bin/sorvala", "", false, false}, true, packageManagerMessage()},
        {"no feed in this build", {(base / "1.1.0/bin/sorvala").string(), "", false, true}, false,
         installedElsewhereMessage()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.lines.clear();
        const auto self = updater(c.hasSource ? std::optional(server.source()) : std::nullopt, c.install);
        self->startAutomaticChecks();
        self->startAutomaticChecks();
        self->openAbout();
        EXPECT_EQ(timers.liveCount(), 0);
        EXPECT_EQ(linesStarting(log, "updater off reason="), 1);
        EXPECT_EQ(std::find(log.lines.begin(), log.lines.end(), "update check requested"), log.lines.end());
        EXPECT_EQ(window.last().subtitle, c.sentence);
    }
}

TEST(UpdateSourceConfigured, TheEnvironmentCountsOnlyWithItsKey) {
    RecordingLogger log;
    const std::string key = QByteArray(32, 'k').toBase64().toStdString();
    const struct { const char* name; std::optional<std::string> base, publicKey; bool configured; } cases[] = {
        {"address without key", "https://127.0.0.1:4433", std::nullopt, false},
        {"both", "https://127.0.0.1:4433", key, true},
        {"plain http", "http://127.0.0.1:4433", key, false},
        {"short key", "https://127.0.0.1:4433", QByteArray(31, 'k').toBase64().toStdString(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnvironment base("SORVALA_UPDATE_FEED_BASE", c.base);
        ScopedEnvironment publicKey("SORVALA_UPDATE_PUBLIC_KEY", c.publicKey);
        const auto source = UpdateSource::configured(log);
        ASSERT_EQ(source.has_value(), c.configured);
        if (source) {
            EXPECT_EQ(source->feed.toString(), "https://127.0.0.1:4433/api/cast.json");
        }
    }
}

} // namespace
} // namespace sorvala
