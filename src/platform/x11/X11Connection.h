// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

using Display = struct _XDisplay;

namespace sorvala {

/// A private connection to the X server, so nothing we ask interferes with Qt's own. X errors
/// on it are swallowed (Xlib's default handler would end the process) and counted instead.
class X11Connection {
public:
    /// Opens `displayName` (empty: $DISPLAY); `isOpen()` says whether that worked.
    explicit X11Connection(const std::string& displayName = {});
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    bool isOpen() const { return m_display != nullptr; }
    Display* display() const { return m_display; }
    unsigned long root() const;

    /// The number of X errors seen on this connection so far (after a round trip).
    int errorCount() const;

    /// The atom called `name`, created when missing.
    unsigned long atom(const char* name) const;

    /// A property of `window` as raw 32-bit items (windows, atoms, cardinals); nullopt when absent.
    std::optional<std::vector<unsigned long>> cardinals(unsigned long window, const char* property,
                                                        unsigned long type) const;
    /// A text property (UTF8_STRING or STRING); nullopt when absent or empty.
    std::optional<std::string> text(unsigned long window, const char* property) const;

    /// Asks for one kind of XInput 2 raw event (`XI_RawKeyPress`, `XI_RawMotion`) from every
    /// device on the root window; the extension's opcode that marks those events, or nullopt where
    /// the server has no XInput 2 or refused.
    std::optional<int> selectRawEvents(int rawEventType);

private:
    Display* m_display = nullptr;
};

} // namespace sorvala
