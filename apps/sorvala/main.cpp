// SPDX-License-Identifier: MIT
// sorvala: the break reminder in the tray.
#include "SorvalaProgram.h"

#include "app/AppLogger.h"
#include "i18n/I18n.h"
#include "menubar/ControlAction.h"
#include "platform/dbus/ControlService.h"
#include "platform/QtFatalMessageBridge.h"
#include "platform/QtStandardTranslations.h"
#include "ui/style/ColorSchemeWatcher.h"
#include "ui/style/DeferredIcon.h"
#include "ui/style/QtDesignTokens.h"

#include <QApplication>
#include <QIcon>

#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include <malloc.h>

namespace {

constexpr int usageError = 2;

/// What the command line asks for.
struct Request {
    bool help = false;
    bool version = false;
    std::optional<sorvala::ControlAction> action;
};

void printHelp(std::ostream& out) {
    out << sorvala::i18n(
        "usage: sorvala [--action NAME]\n\n"
        "Sorvala sits in the tray, measures how long you have worked and asks for breaks.\n"
        "Started again while it runs, it opens the drawing window of the running one.\n\n"
        "options:\n"
        "  --action NAME  hand a command to the running Sorvala (starting it when none runs);\n"
        "                 NAME is one of: %1\n"
        "  --version      print the version\n"
        "  --help         print this help\n"
        "Qt's own options (-platform NAME, -session ID, -display DISPLAY, ...) are accepted too.\n",
        sorvala::controlActionNames());
}

/// The request of `args`; nullopt after printing a one-line error.
std::optional<Request> parse(int argc, char** argv) {
    Request request;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            request.help = true;
        } else if (arg == "--version") {
            request.version = true;
        } else if (arg == "--action" || arg.starts_with("--action=")) {
            std::string_view name;
            if (arg == "--action") {
                if (i + 1 >= argc) {
                    std::cerr << "sorvala: " << sorvala::i18n("--action needs a NAME (%1)", sorvala::controlActionNames()) << '\n';
                    return std::nullopt;
                }
                name = argv[++i];
            } else {
                name = arg.substr(std::string_view("--action=").size());
            }
            request.action = sorvala::controlActionFromText(name);
            if (!request.action) {
                std::cerr << "sorvala: "
                          << sorvala::i18n("unknown action '%1' (one of: %2)", name, sorvala::controlActionNames())
                          << '\n';
                return std::nullopt;
            }
        } else {
            std::cerr << "sorvala: " << sorvala::i18n("unknown option '%1' (see sorvala --help)", arg) << '\n';
            return std::nullopt;
        }
    }
    return request;
}

/// Hands the request to the instance that runs already; the exit status.
int handOver(const Request& request) {
    const auto result = request.action
                            ? sorvala::ControlClient::call(QStringLiteral("Action"),
                                                           {QString::fromUtf8(sorvala::text(*request.action).data())})
                            : sorvala::ControlClient::call(QStringLiteral("Open"));
    if (result.ok())
        return 0;
    std::cerr << "sorvala: "
              << sorvala::i18n("the running Sorvala did not take the request: %1", result.error.toStdString()) << '\n';
    return 1;
}

/// Whether `name` is among the arguments: --help and --version answer without a display.
bool asked(int argc, char** argv, std::string_view name, std::string_view shortName = {}) {
    for (int i = 1; i < argc; ++i)
        if (argv[i] == name || (!shortName.empty() && argv[i] == shortName))
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // A break's screen images are megabytes each. With its threshold left to move, the allocator
    // takes the next ones from the heap after the first is freed, small allocations made beside
    // them pin the heap's far end, and the heap stays large after the break. Blocks of a quarter
    // megabyte and more are mapped on their own and go back to the system when freed.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    sorvala::Translation::setUp();
    if (asked(argc, argv, "--help", "-h")) {
        printHelp(std::cout);
        return 0;
    }
    if (asked(argc, argv, "--version")) {
        std::cout << "sorvala " SORVALA_VERSION "\n";
        return 0;
    }

    sorvala::AppLogger::installExceptionHandler();
    // Qt takes its own options (-platform, -session from a session manager, -display, ...) out of
    // the arguments; what is left is ours.
    QApplication application(argc, argv);
    const auto request = parse(argc, argv);
    if (!request)
        return usageError;
    sorvala::QtFatalMessageBridge::install();
    if (const auto missing = sorvala::QtStandardTranslations::install(application); !missing.empty())
        std::cerr << missing << '\n';
    QApplication::setApplicationName(QStringLiteral("Sorvala"));
    QApplication::setApplicationVersion(QStringLiteral(SORVALA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.sorvala.Sorvala"));
    QApplication::setWindowIcon(sorvala::deferredIcon(QStringLiteral(":/icons/sorvala.svg")));
    sorvala::QtDesignTokens::applyAppearanceOverride(application);
    sorvala::ColorSchemeWatcher colourScheme(application);
    // The program lives in the tray: closing its window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    if (sorvala::ControlClient::isRunning())
        return handOver(*request);
    sorvala::SorvalaProgram program;
    if (!program.claimSingleInstance())
        return handOver(*request); // another start won the race for the name
    program.launch();
    if (request->action)
        if (const auto refusal = program.perform(*request->action))
            std::cerr << "sorvala: " << *refusal << '\n';
    return QApplication::exec();
}
