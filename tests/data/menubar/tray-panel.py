#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# A stand-in for a desktop panel on the session bus, for tests and measurements.
#
#   tray-panel.py host [LOG]    own org.kde.StatusNotifierWatcher with a host registered, until killed;
#                               with LOG, append "NANOSECONDS SENDER" to it as each item registers
#   tray-panel.py items         print the registered items, one a line
#   tray-panel.py menu          print the first item's exported menu as JSON, after AboutToShow
#   tray-panel.py click PATH    choose a menu item by its labels, "Pause Reminders/For 10 Minutes"
#   tray-panel.py activate      left-click the first item
#   tray-panel.py tooltip       print the first item's tooltip title and text
#   tray-panel.py icon OUT.pam  write the first item's largest icon pixmap as a PAM image
import json
import re
import sys
import time

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
PROPS = "org.freedesktop.DBus.Properties"


INTROSPECTION = """<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
</node>"""


class Watcher(dbus.service.Object):
    def __init__(self, bus, record=None):
        self.items = []
        self.bus = bus
        self.record = record
        super().__init__(bus, "/StatusNotifierWatcher")
        bus.add_signal_receiver(self.name_owner_changed, "NameOwnerChanged", "org.freedesktop.DBus")

    def name_owner_changed(self, name, old, new):
        # An item goes with the connection that registered it, as a panel's watcher does.
        if new:
            return
        for entry in [e for e in self.items if e.startswith(name + "/") or (old and e.startswith(old + "/"))]:
            self.items.remove(entry)
            self.StatusNotifierItemUnregistered(entry)

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        if self.record:
            # Wall-clock nanoseconds, as the shell's $EPOCHREALTIME at the program's exec.
            with open(self.record, "a") as out:
                out.write("%d %s\n" % (time.time_ns(), sender))
        name = service if service.startswith(":") or "." in service else sender
        path = service if service.startswith("/") else "/StatusNotifierItem"
        entry = name + path if not service.startswith("/") else sender + service
        if entry not in self.items:
            self.items.append(entry)
        self.StatusNotifierItemRegistered(entry)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    def properties(self):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(True),
            "ProtocolVersion": dbus.Int32(0),
        }

    # Qt reads the host flag through an introspected proxy: the properties must be declared.
    @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s")
    def Introspect(self):
        return INTROSPECTION

    @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.properties()[name]

    @dbus.service.method(PROPS, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.properties()


def host(record=None):
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    # The object first, so the name never answers without it.
    watcher = Watcher(bus, record)
    name = dbus.service.BusName(WATCHER, bus)
    GLib.MainLoop().run()


def first_item(bus):
    watcher = bus.get_object(WATCHER, "/StatusNotifierWatcher")
    items = watcher.Get(WATCHER, "RegisteredStatusNotifierItems", dbus_interface=PROPS)
    if not items:
        sys.exit("no item registered")
    entry = str(items[0])
    slash = entry.index("/")
    return entry[:slash], entry[slash:]


def layout_to_json(node):
    identifier, properties, children = node
    out = {"id": int(identifier)}
    for key, value in properties.items():
        out[str(key)] = python_value(value)
    out["children"] = [layout_to_json(child) for child in children]
    return out


def python_value(value):
    if isinstance(value, (dbus.Boolean,)):
        return bool(value)
    if isinstance(value, (dbus.Int32, dbus.Int64, dbus.UInt32, dbus.Byte)):
        return int(value)
    if isinstance(value, dbus.String):
        return str(value)
    if isinstance(value, dbus.Array):
        return [python_value(v) for v in value]
    if isinstance(value, dbus.Struct):
        return [python_value(v) for v in value]
    return str(value)


def menu_object(bus):
    service, path = first_item(bus)
    item = bus.get_object(service, path)
    menu_path = item.Get(ITEM, "Menu", dbus_interface=PROPS)
    return bus.get_object(service, menu_path)


def layout(bus):
    menu = menu_object(bus)
    menu.AboutToShow(0, dbus_interface=MENU)
    _, tree = menu.GetLayout(0, -1, dbus.Array([], signature="s"), dbus_interface=MENU)
    return menu, layout_to_json(tree)


def mnemonic_free(label):
    # dbusmenu marks a mnemonic with "_" ("__" is a literal one); Qt's "&" may come through too.
    return re.sub(r"_(.)", r"\1", label).replace("&", "")


def find(node, labels):
    if not labels:
        return node
    for child in node["children"]:
        if mnemonic_free(child.get("label", "")) == labels[0]:
            return find(child, labels[1:])
    sys.exit("no menu item " + labels[0])


def main():
    command = sys.argv[1] if len(sys.argv) > 1 else "host"
    if command == "host":
        return host(sys.argv[2] if len(sys.argv) > 2 else None)
    bus = dbus.SessionBus()
    if command == "items":
        watcher = bus.get_object(WATCHER, "/StatusNotifierWatcher")
        for entry in watcher.Get(WATCHER, "RegisteredStatusNotifierItems", dbus_interface=PROPS):
            print(entry)
    elif command == "menu":
        print(json.dumps(layout(bus)[1], ensure_ascii=False, indent=1))
    elif command == "click":
        menu, tree = layout(bus)
        labels = sys.argv[2].split("/")
        parent = find(tree, labels[:-1])
        if parent is not tree:
            menu.AboutToShow(parent["id"], dbus_interface=MENU)
        target = find(tree, labels)
        menu.Event(target["id"], "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0), dbus_interface=MENU)
    elif command == "activate":
        service, path = first_item(bus)
        bus.get_object(service, path).Activate(0, 0, dbus_interface=ITEM)
    elif command == "tooltip":
        service, path = first_item(bus)
        tip = bus.get_object(service, path).Get(ITEM, "ToolTip", dbus_interface=PROPS)
        print(str(tip[2]))
        print(str(tip[3]))
    elif command == "icon":
        service, path = first_item(bus)
        pixmaps = bus.get_object(service, path).Get(ITEM, "IconPixmap", dbus_interface=PROPS)
        width, height, data = max(pixmaps, key=lambda p: int(p[0]))
        argb = bytes(data)
        rgba = bytearray()
        for i in range(0, len(argb), 4):
            rgba += bytes((argb[i + 1], argb[i + 2], argb[i + 3], argb[i]))
        with open(sys.argv[2], "wb") as out:
            out.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (width, height))
            out.write(rgba)
    else:
        sys.exit("unknown command " + command)


if __name__ == "__main__":
    main()
