// SPDX-License-Identifier: MIT
#include "platform/x11/X11Connection.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <map>
#include <mutex>

namespace sorvala {

namespace {

// Xlib's error handler is one per process: ours counts errors on our private connections and
// hands every other display's errors to the handler that was there before.
std::mutex handlerMutex;
std::map<Display*, int> errorCounts;
XErrorHandler previousHandler = nullptr;
bool handlerInstalled = false;

int countError(Display* display, XErrorEvent* event) {
    std::unique_lock lock(handlerMutex);
    const auto found = errorCounts.find(display);
    if (found != errorCounts.end()) {
        ++found->second;
        return 0;
    }
    const XErrorHandler previous = previousHandler;
    lock.unlock();
    return previous ? previous(display, event) : 0;
}

} // namespace

X11Connection::X11Connection(const std::string& displayName) {
    m_display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!m_display)
        return;
    std::lock_guard lock(handlerMutex);
    errorCounts[m_display] = 0;
    if (!handlerInstalled) {
        previousHandler = XSetErrorHandler(countError);
        handlerInstalled = true;
    }
}

X11Connection::~X11Connection() {
    if (!m_display)
        return;
    XCloseDisplay(m_display);
    std::lock_guard lock(handlerMutex);
    errorCounts.erase(m_display);
}

unsigned long X11Connection::root() const {
    return m_display ? DefaultRootWindow(m_display) : 0;
}

int X11Connection::errorCount() const {
    std::lock_guard lock(handlerMutex);
    const auto found = errorCounts.find(m_display);
    return found == errorCounts.end() ? 0 : found->second;
}

std::optional<int> X11Connection::selectRawEvents(int rawEventType) {
    if (!m_display)
        return std::nullopt;
    int opcode = 0;
    int event = 0;
    int error = 0;
    if (!XQueryExtension(m_display, "XInputExtension", &opcode, &event, &error))
        return std::nullopt;
    // The server answers with the highest version both sides know: 2.1 and later deliver raw
    // events also while another client holds a grab.
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(m_display, &major, &minor) != Success || major < 2)
        return std::nullopt;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XIEventMask mask{XIAllMasterDevices, sizeof(bits), bits};
    XISetMask(bits, rawEventType);
    if (XISelectEvents(m_display, root(), &mask, 1) != Success)
        return std::nullopt;
    XSync(m_display, False);
    if (errorCount() != 0)
        return std::nullopt;
    return opcode;
}

unsigned long X11Connection::atom(const char* name) const {
    return m_display ? XInternAtom(m_display, name, False) : 0;
}

namespace {

/// One property as the server sent it; freed with the object.
struct PropertyData {
    int format = 0;
    Atom type = 0;
    unsigned long count = 0;
    unsigned char* data = nullptr;
    ~PropertyData() {
        if (data)
            XFree(data);
    }
};

bool fetch(Display* display, unsigned long window, Atom property, Atom type, PropertyData& out) {
    if (!display || window == 0)
        return false;
    unsigned long remaining = 0;
    return XGetWindowProperty(display, window, property, 0, 1024, False, type, &out.type, &out.format,
                              &out.count, &remaining, &out.data) == Success &&
           out.data;
}

} // namespace

std::optional<std::vector<unsigned long>> X11Connection::cardinals(unsigned long window, const char* property,
                                                                   unsigned long type) const {
    PropertyData got;
    if (!fetch(m_display, window, atom(property), type, got) || got.format != 32 || got.type != type)
        return std::nullopt;
    // Xlib hands 32-bit items back as longs, whatever the width of long.
    const auto* items = reinterpret_cast<const unsigned long*>(got.data);
    return std::vector<unsigned long>(items, items + got.count);
}

std::optional<std::string> X11Connection::text(unsigned long window, const char* property) const {
    PropertyData got;
    if (!fetch(m_display, window, atom(property), AnyPropertyType, got) || got.format != 8)
        return std::nullopt;
    std::string value(reinterpret_cast<const char*>(got.data), got.count);
    // Some clients store a trailing NUL.
    while (!value.empty() && value.back() == '\0')
        value.pop_back();
    return value.empty() ? std::nullopt : std::optional<std::string>(std::move(value));
}

} // namespace sorvala
