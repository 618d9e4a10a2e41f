#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# A stand-in for the desktop portal's settings on a private session bus: Read answers the
# appearance's color-scheme (the first argument, 0 no preference by default) wrapped in a variant
# as the real portal does, and GNOME's enable-animations where the second argument gives it (true
# or false), as GNOME's portal backend does; every other setting is unknown.
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

SETTINGS = "org.freedesktop.portal.Settings"
PATH = "/org/freedesktop/portal/desktop"
scheme = int(sys.argv[1]) if len(sys.argv) > 1 else 0
animations = sys.argv[2] == "true" if len(sys.argv) > 2 else None


class Portal(dbus.service.Object):
    @dbus.service.method(SETTINGS, in_signature="ss", out_signature="v")
    def Read(self, group, key):
        if (group, key) == ("org.freedesktop.appearance", "color-scheme"):
            return dbus.UInt32(scheme, variant_level=2)
        if (group, key) == ("org.gnome.desktop.interface", "enable-animations") and animations is not None:
            return dbus.Boolean(animations, variant_level=2)
        raise dbus.exceptions.DBusException("no such setting", name="org.freedesktop.portal.Error.NotFound")


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
portal = Portal(bus, PATH)
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)
GLib.MainLoop().run()
