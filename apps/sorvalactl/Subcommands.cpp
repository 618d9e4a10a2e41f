// SPDX-License-Identifier: MIT
#include "Subcommands.h"

#include "DrawCommand.h"

#include "i18n/I18n.h"
#ifdef SORVALA_WITH_QT
#include "HistoryCommand.h"
#endif

namespace sorvala::ctl {

#ifdef SORVALA_WITH_QT
int settingsCommand(const Invocation& invocation); // SettingsCommand.cpp
int soundCommand(const Invocation& invocation);    // SoundCommand.cpp
int probeCommand(const Invocation& invocation);    // ProbeCommand.cpp
int shortcutsCommand(const Invocation& invocation); // ShortcutsCommand.cpp
int statusCommand(const Invocation& invocation);    // StatusCommand.cpp
int actionCommand(const Invocation& invocation);    // StatusCommand.cpp
#endif

int runSimulate(const Invocation& invocation); // SimulateCommand.cpp

namespace {
// One row per subcommand; each lives in <Name>Command.cpp.
const Subcommand table[] = {
    {"version", I18N_NOOP("Print the version"), [](const Invocation& invocation) {
         invocation.out << "sorvalactl " SORVALA_VERSION "\n";
         return 0;
     }},
    {"draw", I18N_NOOP("Generate a drawing: print its strokes, render a PNG or simulate it"), runDraw},
    {"simulate", I18N_NOOP("Run a day on virtual time and print the log and history it would make"), runSimulate},
#ifdef SORVALA_WITH_QT
    {"settings", I18N_NOOP("Show and change settings"), settingsCommand},
    {"history", I18N_NOOP("Break history: the day's statistics, reports and CSV export"), runHistory},
    {"sound", I18N_NOOP("Play one chime and wait until it ends"), soundCommand},
    {"probe", I18N_NOOP("Show what the system reports and which smart-pause cause holds breaks"), probeCommand},
    {"shortcuts", I18N_NOOP("List the global shortcuts and listen for them"), shortcutsCommand},
    {"status", I18N_NOOP("Print what the running Sorvala is doing, once or on every change"), statusCommand},
    {"action", I18N_NOOP("Hand a command to the running Sorvala"), actionCommand},
#endif
};
} // namespace

std::span<const Subcommand> subcommands() {
    return table;
}

} // namespace sorvala::ctl
