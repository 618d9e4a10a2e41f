// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace sorvala {

/// The one diagnostic channel: each call is one lower-case line with key=value fields.
class Logger {
public:
    virtual ~Logger() = default;
    virtual void log(std::string_view message) = 0;
};

/// A logger that drops every line, for tools that have nowhere to write.
class NullLogger final : public Logger {
public:
    void log(std::string_view) override {}
};

} // namespace sorvala
