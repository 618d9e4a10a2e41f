// SPDX-License-Identifier: MIT
// sorvalactl: the command line of Sorvala, for people and scripts.
#include "Subcommands.h"
#include "i18n/I18n.h"

#include <algorithm>
#include <iostream>
#include <string_view>

namespace {

void printUsage(std::ostream& out) {
    out << sorvala::i18n("usage: sorvalactl <command> [options]\n\ncommands:\n");
    for (const auto& command : sorvala::ctl::subcommands())
        out << "  " << command.name << std::string(12 - std::min<std::size_t>(command.name.size(), 11), ' ')
            << sorvala::i18n(command.summary) << '\n';
    out << "\n" << sorvala::i18n("Run 'sorvalactl <command> --help' for the options of one command.") << '\n';
}

} // namespace

int main(int argc, char** argv) {
    sorvala::Translation::setUp();
    // JSON is read by programs: every text in it stays in English.
    if (std::any_of(argv + 1, argv + argc, [](const char* arg) { return std::string_view(arg) == "--json"; }))
        sorvala::Translation::useLanguage("C");
    if (argc < 2) {
        printUsage(std::cout);
        return 0;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return 0;
    }
    for (const auto& command : sorvala::ctl::subcommands()) {
        if (command.name == name) {
            const sorvala::ctl::Invocation invocation{{argv + 2, argv + argc}, std::cout, std::cerr};
            return command.run(invocation);
        }
    }
    std::cerr << "sorvalactl: " << sorvala::i18n("unknown command '%1' (see sorvalactl --help)", name) << '\n';
    return sorvala::ctl::usageError;
}
