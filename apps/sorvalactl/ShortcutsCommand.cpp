// SPDX-License-Identifier: MIT
// sorvalactl shortcuts: the global shortcuts in force, whether the desktop takes them now, and
// (with --listen) which of them the user presses.
#include "Subcommand.h"

#include "app/HotKeys.h"
#include "app/ShortcutAction.h"
#include "i18n/I18n.h"
#include "platform/HotKeyRegistrars.h"
#include "platform/QSettingsPreferencesStore.h"

#include <QGuiApplication>
#include <QTimer>

#include <charconv>
#include <cstdlib>
#include <iomanip>
#include <memory>

namespace sorvala::ctl {

namespace {

// TRANSLATORS: the option and the quoted words "registered", "failed status=..." and "none" stay as they are.
constexpr const char* help = I18N_NOOP("usage: sorvalactl shortcuts [--listen SECONDS]\n"
    "\n"
    "Lists each global shortcut: the action, its binding in force (as shown and as stored), and\n"
    "whether the desktop lets it register now (\"registered\", \"failed status=...\" when another\n"
    "program holds the keys, \"none\" without a binding). A running Sorvala holds its own shortcuts,\n"
    "so they show as failed with status=10 while it runs.\n"
    "\n"
    "  --listen SECONDS   keep the shortcuts registered that long (1 to 3600) and print the\n"
    "                     action of each one pressed\n");

constexpr int longestListen = 3600;

// Keeps the adapters' diagnostics; the listing says what matters in its own words.
class QuietLogger final : public Logger {
public:
    void log(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

std::optional<int> listenSeconds(const std::string& text) {
    int seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc{} || end != text.data() + text.size() || seconds < 1 || seconds > longestListen)
        return std::nullopt;
    return seconds;
}

// Qt's X platform needs an application object; it is made only when an X server answers,
// because Qt ends the process when it cannot connect.
std::unique_ptr<QGuiApplication> x11Application(std::string_view sessionType) {
    if (QCoreApplication::instance() || sessionType == "wayland" || !x11ServerReachable())
        return nullptr;
    static int argc = 1;
    static char name[] = "sorvalactl";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "xcb");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int shortcutsCommand(const Invocation& invocation) {
    if (wantsHelp(invocation)) {
        invocation.out << i18n(help);
        return 0;
    }
    std::optional<int> listen;
    const auto& args = invocation.args;
    if (args.size() == 2 && args[0] == "--listen") {
        listen = listenSeconds(args[1]);
        if (!listen)
            return fail(invocation, i18n("--listen takes a whole number of seconds from 1 to 3600"));
    } else if (!args.empty()) {
        return fail(invocation, i18n("shortcuts takes only --listen SECONDS (see sorvalactl shortcuts --help)"));
    }

    QuietLogger log;
    const QSettingsPreferencesStore store(log);
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const std::string sessionType = session ? session : "";
    const auto application = x11Application(sessionType);
    const auto registrar = createHotKeyRegistrar(sessionType, log);

    const auto bindings = HotKeys::bindingsInForce(store);
    const auto results = registrar->available() ? registrar->replaceBindings(bindings)
                                                : std::vector<std::optional<std::string>>();
    int registered = 0;
    for (const auto action : allShortcutActions) {
        std::string shown = "none", stored = "-", state = "none";
        for (std::size_t i = 0; i < bindings.size(); ++i) {
            if (bindings[i].action != action)
                continue;
            shown = bindings[i].shortcut.displayString();
            stored = bindings[i].shortcut.encoded();
            if (!registrar->available())
                state = "unavailable";
            else if (i < results.size() && !results[i])
                state = "registered";
            else
                state = "failed status=" + (i < results.size() ? *results[i] : std::string("unanswered"));
        }
        registered += state == "registered" ? 1 : 0;
        invocation.out << std::left << std::setw(22) << text(action) << std::setw(24) << shown << std::setw(14)
                       << stored << state << '\n';
    }
    if (!registrar->available())
        invocation.out << '\n' << desktopShortcutsHint() << '\n';
    if (!listen)
        return 0;

    if (registered == 0) {
        invocation.err << "sorvalactl: " << i18n("no shortcut is registered, so there is nothing to listen for")
                       << '\n';
        return 1;
    }
    // TRANSLATORS: %1 is a number of seconds; "s" abbreviates seconds.
    invocation.out << i18n("listening for %1 s", *listen) << '\n' << std::flush;
    registrar->setPressedHandler([&invocation](ShortcutAction action) {
        invocation.out << "pressed " << text(action) << '\n' << std::flush;
    });
    QTimer::singleShot(std::chrono::seconds(*listen), QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    return 0;
}

} // namespace sorvala::ctl
