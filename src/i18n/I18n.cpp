// SPDX-License-Identifier: MIT
#include "i18n/I18n.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <libintl.h>
#include <system_error>

#ifndef SORVALA_LOCALE_DIR
#define SORVALA_LOCALE_DIR "/usr/share/locale"
#endif

extern "C" int _nl_msg_cat_cntr; // glibc's catalogue generation: bumped, cached lookups are redone

namespace sorvala::Translation {
namespace {

constexpr const char* domain = "sorvala";

/// SORVALA_LOCALE_DIR from the environment, else `<bin>/../share/locale` of the running program
/// where it exists, else the install prefix's.
std::filesystem::path localeDirectory() {
    if (const char* chosen = std::getenv("SORVALA_LOCALE_DIR"); chosen != nullptr && *chosen != '\0')
        return chosen;
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        auto beside = program.parent_path().parent_path() / "share" / "locale";
        if (std::filesystem::is_directory(beside, error))
            return beside;
    }
    return SORVALA_LOCALE_DIR;
}

/// gettext's lookup of `context` + EOT + `message` (how msgctxt is stored); `message` when the
/// catalogue has no entry.
const char* lookUp(const char* context, const char* message, const char* plural, unsigned long n) {
    if (*message == '\0')
        return message; // gettext answers "" with the catalogue's header
    if (context == nullptr)
        return plural == nullptr ? dgettext(domain, message) : dngettext(domain, message, plural, n);
    const std::string key = std::string(context) + '\004' + message;
    const char* found = plural == nullptr ? dgettext(domain, key.c_str()) : dngettext(domain, key.c_str(), plural, n);
    if (found == key.c_str())
        return message;
    if (plural != nullptr && found == plural)
        return plural;
    return found;
}

} // namespace

void setUp() {
    std::setlocale(LC_ALL, "");
    bindtextdomain(domain, localeDirectory().c_str());
    bind_textdomain_codeset(domain, "UTF-8");
}

void useLanguage(std::string_view language) {
    if (language.empty())
        unsetenv("LANGUAGE");
    else
        setenv("LANGUAGE", std::string(language).c_str(), 1);
    // LANGUAGE counts only outside the "C" locale; C.UTF-8 is always there.
    const char* current = std::setlocale(LC_MESSAGES, nullptr);
    if (!language.empty() && (current == nullptr || std::string_view(current) == "C" || std::string_view(current) == "POSIX"))
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    ++_nl_msg_cat_cntr;
}

std::string translated(const char* context, const char* message) {
    return lookUp(context, message, nullptr, 0);
}

std::string translatedPlural(const char* context, const char* singular, const char* plural, unsigned long n) {
    return lookUp(context, singular, plural, n);
}

std::string substitute(std::string_view pattern, std::initializer_list<Argument> arguments) {
    std::string out;
    out.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        const char next = pattern[i + 1];
        if (next == '%') {
            out += '%';
            ++i;
        } else if (next >= '1' && next <= '9' && static_cast<std::size_t>(next - '1') < arguments.size()) {
            out += std::data(arguments)[next - '1'].text();
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace sorvala::Translation
