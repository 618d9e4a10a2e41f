// SPDX-License-Identifier: MIT
#include "Subcommand.h"

#include "i18n/I18n.h"
#include "simulation/Scenario.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace sorvala::ctl {

namespace {

// TRANSLATORS: the JSON keys and words in quotes, FILE, LABEL, N and the time patterns stay as they are.
constexpr const char* help = I18N_NOOP("usage: sorvalactl simulate [FILE|-]\n"
    "\n"
    "Runs Sorvala on virtual time through a day described in FILE (standard input for - or no\n"
    "FILE) and prints every line the application log would get, dated in virtual time, then the\n"
    "breaks it recorded as JSON Lines after a line \"--- history\". Nothing of yours is read or\n"
    "changed: the settings, the history and the clock are the scenario's own.\n"
    "\n"
    "The scenario is JSON Lines. The first line is the header:\n"
    "  {\"start\": \"2026-12-07T08:00:00\", \"timeZone\": \"Europe/Berlin\", \"until\": \"+09:00\",\n"
    "   \"settings\": {\"reminderMinutes\": 50}, \"drawingSeconds\": 180}\n"
    "start is local time in timeZone; until is how long to run; settings are stored before the\n"
    "launch (the others keep their defaults); drawingSeconds is how long a long break's drawing\n"
    "takes. Then one event per line in time order, each with \"at\": \"+HH:MM[:SS]\" and one of:\n"
    "  \"do\": \"work\" | \"read\" | \"idle\"           keys and mouse, mouse only, or no input from now on\n"
    "  \"cause\": LABEL, \"active\": true|false     a smart-pause cause by its menu label\n"
    "  \"displayAsleep\": true|false\n"
    "  \"do\": \"snooze\", \"minutes\": N           snooze from the menu\n"
    "  \"do\": \"pause\", \"minutes\": N\n"
    "  \"do\": \"pauseUntilTomorrow\" | \"pauseUntilResumed\" | \"resume\"\n"
    "  \"do\": \"startBreak\" | \"startMicroBreak\"\n"
    "  \"do\": \"skip\" | \"escape\" | \"extend\"     the break screen's controls\n"
    "  \"do\": \"skipHeadsUp\" | \"undoAway\"         the heads-up's skip, the away notice's undo\n"
    "  \"do\": \"displays\", \"count\": N         plug displays in or out so N remain (1 at launch)\n"
    "  \"do\": \"sleep\", \"for\": \"+HH:MM\"         system sleep\n"
    "  \"do\": \"setClock\", \"by\": \"+HH:MM\"|\"-HH:MM\"  the wall clock is set forward or back; later\n"
    "                                         \"at\" times count elapsed time\n"
    "  \"do\": \"quit\" | \"launch\"\n"
    "  \"settings\": {...}                        stored in the settings window, which then closes\n");

int simulateCommand(const Invocation& invocation) {
    if (wantsHelp(invocation)) {
        invocation.out << i18n(help);
        return 0;
    }
    if (invocation.args.size() > 1)
        return fail(invocation, i18n("simulate takes one scenario file"));
    std::string text;
    const bool fromStandardInput = invocation.args.empty() || invocation.args.front() == "-";
    if (fromStandardInput) {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream file(invocation.args.front(), std::ios::binary);
        if (!file)
            // TRANSLATORS: %1 is a file name.
            return fail(invocation, i18n("cannot read %1", invocation.args.front()));
        std::ostringstream contents;
        contents << file.rdbuf();
        text = contents.str();
    }
    const auto parsed = Scenario::parse(text);
    if (const auto* error = std::get_if<Scenario::Error>(&parsed))
        // TRANSLATORS: %1 is a line number of the scenario file, %2 what is wrong there.
        return fail(invocation, i18n("line %1: %2", error->line, error->message));
    invocation.out << std::get<Scenario>(parsed).output();
    return 0;
}

} // namespace

int runSimulate(const Invocation& invocation) {
    return simulateCommand(invocation);
}

} // namespace sorvala::ctl
