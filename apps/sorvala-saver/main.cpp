// SPDX-License-Identifier: MIT
// sorvala-saver: Sorvala's drawings as an xscreensaver-style screen saver.
#include "core/Logger.h"
#include "i18n/I18n.h"
#include "platform/QSettingsPreferencesStore.h"
#include "platform/QtStandardTranslations.h"
#include "saver/ScreenSaverHost.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdlib>
#include <iostream>

#include <sys/socket.h>
#include <unistd.h>

namespace {

/// The saver's own lines go to standard error, where the saver daemon collects them.
class StandardErrorLogger final : public sorvala::Logger {
public:
    void log(std::string_view message) override { std::cerr << "sorvala-saver: " << message << '\n'; }
};

int signalPipe[2] = {-1, -1};

void onTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

/// SIGTERM and SIGINT end the event loop, so the program leaves the way it would on its own.
void quitOnTerminate(QGuiApplication& application) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(signalPipe[1], &byte, 1);
        QGuiApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    sorvala::Translation::setUp();
    using sorvala::SaverOptions;
    const SaverOptions options =
        SaverOptions::parse(std::vector<std::string>(argv + 1, argv + argc), [](const char* name) {
            const char* value = std::getenv(name);
            return value ? std::optional<std::string>(value) : std::nullopt;
        });
    if (options.error) {
        std::cerr << "sorvala-saver: " << *options.error << "\n" << SaverOptions::usage();
        return 2;
    }
    if (options.mode == SaverOptions::Mode::help) {
        std::cout << SaverOptions::usage();
        return 0;
    }
    if (options.mode == SaverOptions::Mode::version) {
        std::cout << "sorvala-saver " SORVALA_VERSION "\n";
        return 0;
    }

    // A host's window is an X window: drawing into it needs Qt's X11 platform, whatever the
    // session prefers for the program's own windows.
    if (options.mode == SaverOptions::Mode::hostWindow || options.mode == SaverOptions::Mode::rootWindow)
        qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication::setDesktopFileName(QStringLiteral("org.sorvala.Sorvala"));
    QGuiApplication application(argc, argv);
    quitOnTerminate(application);
    StandardErrorLogger log;
    if (const auto missing = sorvala::QtStandardTranslations::install(application); !missing.empty())
        log.log(missing);
    sorvala::QSettingsPreferencesStore store(log); // the same settings file as Sorvala, watched
    sorvala::ScreenSaverHost host(store, options);
    if (const auto failure = host.start()) {
        log.log(*failure);
        return 1;
    }
    return application.exec();
}
