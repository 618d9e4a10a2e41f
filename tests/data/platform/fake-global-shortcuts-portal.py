#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# A stand-in for the desktop portal's global shortcuts on a private session bus. It answers
# CreateSession and BindShortcuts through Request objects as the real portal does, binds every
# shortcut (or refuses with the response code given as the first argument), and emits Activated
# when a test calls Press(shortcut_id).
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

PORTAL = "org.freedesktop.portal.GlobalShortcuts"
REQUEST = "org.freedesktop.portal.Request"
PATH = "/org/freedesktop/portal/desktop"
refusal = int(sys.argv[1]) if len(sys.argv) > 1 else 0


class Request(dbus.service.Object):
    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.bus = bus
        self.sessions = []
        self.requests = []

    def answer(self, sender, token, response, results):
        path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), token)
        request = Request(self.bus, path)
        self.requests.append(request)
        GLib.idle_add(lambda: request.Response(dbus.UInt32(response), dbus.Dictionary(results, signature="sv")))
        return dbus.ObjectPath(path)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == PORTAL and name == "version":
            return dbus.UInt32(1)
        raise dbus.exceptions.DBusException("no such property", name="org.freedesktop.DBus.Error.UnknownProperty")

    @dbus.service.method(PORTAL, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        session = "%s/session/%s/%s" % (PATH, sender[1:].replace(".", "_"), options["session_handle_token"])
        self.sessions.append(session)
        return self.answer(sender, options["handle_token"], 0, {"session_handle": session})

    @dbus.service.method(PORTAL, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender=None):
        print("bind", session, ",".join("%s=%s" % (s[0], s[1].get("preferred_trigger", "")) for s in shortcuts),
              flush=True)
        bound = dbus.Array([(s[0], {"description": s[1]["description"]}) for s in shortcuts], signature="(sa{sv})")
        return self.answer(sender, options["handle_token"], refusal, {"shortcuts": bound} if refusal == 0 else {})

    @dbus.service.method("org.sorvala.FakePortal", in_signature="s")
    def Press(self, shortcut_id):
        self.Activated(dbus.ObjectPath(self.sessions[-1]), shortcut_id, dbus.UInt64(0), {})

    @dbus.service.signal(PORTAL, signature="osta{sv}")
    def Activated(self, session, shortcut_id, timestamp, options):
        pass


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
portal = Portal(bus)
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
print("ready", flush=True)
GLib.MainLoop().run()
