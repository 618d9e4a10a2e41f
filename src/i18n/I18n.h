// SPDX-License-Identifier: MIT
#pragma once

#include <concepts>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

/// The program's words in the user's language, through GNU gettext (text domain "sorvala").
///
/// Every text a person reads goes through one of these calls with the English text as a literal,
/// so `xgettext` finds it (the keywords are listed in po/CMakeLists.txt). Arguments fill the
/// numbered places "%1" to "%9" after translation, so a translator may move them:
///   i18n("Next break in %1", countdown)
///   i18np("%1 minute", "%1 minutes", n)             (%1 is n)
///   i18nc("tray menu", "Pause")                     (same words, another meaning)
/// Texts kept as data are marked where they are defined with I18N_NOOP / I18NC_NOOP and
/// translated where they are shown, with i18n(text) or i18nc(context, text).
namespace sorvala::Translation {

/// One value for a numbered place.
class Argument {
public:
    Argument(std::string_view text) : text_(text) {}
    Argument(const std::string& text) : text_(text) {}
    Argument(const char* text) : text_(text) {}
    template <std::integral Number>
        requires(!std::same_as<Number, bool> && !std::same_as<Number, char>)
    Argument(Number number) : text_(std::to_string(number)) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

/// Binds the text domain to the catalogues in $SORVALA_LOCALE_DIR, else beside the program
/// (`<bin>/../share/locale`: the build folder's and every install's), else in the install prefix;
/// takes the user's locale.
/// Called once by each program before its first text.
void setUp();

/// Switches the language of the texts in this process ("de", "pseudo", "" for the user's own),
/// for tests and tools that render one language after another.
void useLanguage(std::string_view language);

/// `pattern` with "%1" … "%9" replaced by `arguments` in order; "%%" is one "%".
std::string substitute(std::string_view pattern, std::initializer_list<Argument> arguments);

std::string translated(const char* context, const char* message);
std::string translatedPlural(const char* context, const char* singular, const char* plural, unsigned long n);

/// The count that picks a plural form: its magnitude.
template <std::integral Number>
unsigned long pluralCount(Number n) {
    if constexpr (std::is_signed_v<Number>)
        return static_cast<unsigned long>(n < 0 ? -static_cast<long long>(n) : static_cast<long long>(n));
    else
        return static_cast<unsigned long>(n);
}

} // namespace sorvala::Translation

namespace sorvala {

template <typename... Arguments>
std::string i18n(const char* message, const Arguments&... arguments) {
    return Translation::substitute(Translation::translated(nullptr, message), {Translation::Argument(arguments)...});
}

template <typename... Arguments>
std::string i18nc(const char* context, const char* message, const Arguments&... arguments) {
    return Translation::substitute(Translation::translated(context, message), {Translation::Argument(arguments)...});
}

/// The form for `n` of a text that counts something; `n` fills "%1", the arguments "%2" on.
template <std::integral Number, typename... Arguments>
std::string i18np(const char* singular, const char* plural, Number n, const Arguments&... arguments) {
    return Translation::substitute(Translation::translatedPlural(nullptr, singular, plural, Translation::pluralCount(n)),
                            {Translation::Argument(n), Translation::Argument(arguments)...});
}

template <std::integral Number, typename... Arguments>
std::string i18ncp(const char* context, const char* singular, const char* plural, Number n,
                   const Arguments&... arguments) {
    return Translation::substitute(Translation::translatedPlural(context, singular, plural, Translation::pluralCount(n)),
                            {Translation::Argument(n), Translation::Argument(arguments)...});
}

} // namespace sorvala

/// Marks a text kept as data for the catalogue; it is translated where it is shown.
#define I18N_NOOP(text) text
/// The same with a context; the context is passed to i18nc where the text is shown.
#define I18NC_NOOP(context, text) text
