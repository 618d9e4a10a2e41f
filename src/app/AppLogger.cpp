// SPDX-License-Identifier: MIT
#include "app/AppLogger.h"

#include "core/UserDirectories.h"

#include <chrono>
#include <cstdlib>
#include <cxxabi.h>
#include <exception>
#include <execinfo.h>
#include <memory>
#include <thread>
#include <typeinfo>

namespace sorvala {

namespace {

std::filesystem::path& uncaughtLogURL() {
    static std::filesystem::path url;
    return url;
}

std::string demangled(const char* name) {
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> readable(abi::__cxa_demangle(name, nullptr, nullptr, &status),
                                                          std::free);
    return status == 0 && readable ? std::string(readable.get()) : std::string(name);
}

[[noreturn]] void terminateHandler() {
    std::string name = "std::terminate";
    std::string reason;
    if (const std::exception_ptr failure = std::current_exception()) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& exception) {
            name = demangled(typeid(exception).name());
            reason = exception.what();
        } catch (...) {
            const std::type_info* type = abi::__cxa_current_exception_type();
            name = type ? demangled(type->name()) : "unknown exception";
        }
    }
    AppLogger::logUncaught(name, reason);
    std::abort();
}

} // namespace

std::filesystem::path AppLogger::fileURL() {
    return UserDirectories::stateHome() / "Sorvala" / "Sorvala.log";
}

std::filesystem::path AppLogger::generationURL(int n, const std::filesystem::path& of) {
    std::filesystem::path generation = of;
    generation += "." + std::to_string(n);
    return generation;
}

std::string AppLogger::line(std::string_view message, Instant date) {
    std::string text = iso8601(date);
    text += ' ';
    text += message;
    return text;
}

std::optional<Instant> AppLogger::timestamp(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return std::nullopt;
    return parseIso8601(line.substr(0, space));
}

std::optional<AppendFailure> AppLogger::append(std::string_view data, const std::filesystem::path& url,
                                               const OpenForWriting& openForWriting) {
    return appendLocked(data, url, openForWriting);
}

void AppLogger::rotateIfNeeded(const std::filesystem::path& url, std::uintmax_t maximum, int kept) {
    std::error_code error;
    if (kept < 1)
        return;
    const std::uintmax_t size = std::filesystem::file_size(url, error);
    if (error || size <= maximum)
        return;
    std::filesystem::remove(generationURL(kept, url), error);
    for (int n = kept - 1; n >= 1; --n)
        std::filesystem::rename(generationURL(n, url), generationURL(n + 1, url), error);
    std::filesystem::rename(url, generationURL(1, url), error);
}

void AppLogger::log(std::string_view message, const std::filesystem::path& url, Instant now,
                    const OpenForWriting& openForWriting, std::uintmax_t rotateAbove) {
    try {
        std::string bytes = line(message, now);
        bytes += '\n';
        std::lock_guard lock(fileWriteLock());
        rotateIfNeeded(url, rotateAbove, keptGenerations);
        (void)appendHoldingLock(bytes, url, openForWriting);
    } catch (...) {
        // Logging never reports failures; running out of memory here must not end the program.
    }
}

std::string AppLogger::exceptionMessage(std::string_view name, std::string_view reason,
                                        const std::vector<std::string>& callStack) {
    std::string message = "EXCEPTION ";
    message += name;
    message += ": ";
    message += reason.empty() ? std::string_view("no reason") : reason;
    message += ' ';
    for (std::size_t i = 0; i < callStack.size(); ++i) {
        if (i > 0)
            message += " | ";
        message += callStack[i];
    }
    return message;
}

std::vector<std::string> AppLogger::callStackSymbols() {
    void* frames[64];
    const int count = ::backtrace(frames, 64);
    std::vector<std::string> symbols;
    const std::unique_ptr<char*, void (*)(void*)> names(::backtrace_symbols(frames, count), std::free);
    if (!names)
        return symbols;
    for (int i = 0; i < count; ++i)
        symbols.emplace_back(names.get()[i]);
    return symbols;
}

void AppLogger::logUncaught(std::string_view name, std::string_view reason) {
    const std::filesystem::path url = uncaughtLogURL().empty() ? fileURL() : uncaughtLogURL();
    const std::string bytes = line(exceptionMessage(name, reason, callStackSymbols()), SystemClock().now()) + "\n";
    // The failing thread may be the one holding the lock; after a short wait, write without it.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (fileWriteLock().try_lock()) {
            (void)appendHoldingLock(bytes, url);
            fileWriteLock().unlock();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    (void)appendHoldingLock(bytes, url);
}

void AppLogger::installExceptionHandler(const std::filesystem::path& url) {
    uncaughtLogURL() = url;
    std::set_terminate(terminateHandler);
}

AppLogger::AppLogger(const Clock& clock, std::filesystem::path url) : m_clock(clock), m_url(std::move(url)) {}

void AppLogger::log(std::string_view message) {
    log(message, m_url, m_clock.now());
}

} // namespace sorvala
