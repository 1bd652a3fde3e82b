#!/usr/bin/python3
"""A StatusNotifierItem watcher and host for the tray tests, on the session bus.

  sni_host.py serve LOG      owns org.kde.StatusNotifierWatcher with a host registered and
                             appends "ready", "registered SERVICE PATH" and "unregistered
                             SERVICE PATH" lines to LOG
  sni_host.py SERVICE PATH get PROPERTY     prints one property of the item
  sni_host.py SERVICE PATH activate|secondary
                             what a host sends on a left or a middle click
  sni_host.py SERVICE PATH click LABEL      picks the item's menu entry with that label, as a
                             host does when the user chooses it from the exported menu
"""
import sys

from gi.repository import Gio, GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
WATCHER_XML = """<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
</interface></node>"""


def serve(log_path):
    log = open(log_path, "a", buffering=1)
    items = {}  # "SERVICE PATH" -> name watch

    def emit(conn, signal, item):
        conn.emit_signal(None, "/StatusNotifierWatcher", WATCHER, signal,
                         GLib.Variant("(s)", (item,)))

    def vanished(conn, item):
        Gio.bus_unwatch_name(items.pop(item))
        log.write(f"unregistered {item}\n")
        emit(conn, "StatusNotifierItemUnregistered", item)

    def call(conn, sender, _path, _iface, method, params, invocation):
        if method == "RegisterStatusNotifierItem":
            arg = params.unpack()[0]
            # The argument is the item's bus name, or its object path on the sender.
            service, path = (sender, arg) if arg.startswith("/") else (arg, "/StatusNotifierItem")
            item = f"{service} {path}"
            if item not in items:
                items[item] = Gio.bus_watch_name_on_connection(
                    conn, service, Gio.BusNameWatcherFlags.NONE, None,
                    lambda c, _name, i=item: vanished(c, i))
            log.write(f"registered {item}\n")
            emit(conn, "StatusNotifierItemRegistered", item)
        invocation.return_value(None)

    def get(_conn, _sender, _path, _iface, prop):
        return {"RegisteredStatusNotifierItems": GLib.Variant("as", list(items)),
                "IsStatusNotifierHostRegistered": GLib.Variant("b", True),
                "ProtocolVersion": GLib.Variant("i", 0)}[prop]

    def acquired(conn, _name):
        info = Gio.DBusNodeInfo.new_for_xml(WATCHER_XML).interfaces[0]
        conn.register_object("/StatusNotifierWatcher", info, call, get, None)

    def named(_conn, _name):
        log.write("ready\n")

    loop = GLib.MainLoop()

    def lost(_conn, _name):
        print(f"{WATCHER} is taken, or the bus is gone", file=sys.stderr)
        loop.quit()

    Gio.bus_own_name(Gio.BusType.SESSION, WATCHER, Gio.BusNameOwnerFlags.NONE, acquired, named,
                     lost)
    loop.run()
    sys.exit(1)


def client(service, path, command, arg):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)

    def call(obj, iface, method, signature, args):
        return bus.call_sync(service, obj, iface, method, GLib.Variant(signature, args), None,
                             Gio.DBusCallFlags.NONE, 5000, None).unpack()

    def prop(name):
        return call(path, "org.freedesktop.DBus.Properties", "Get", "(ss)", (ITEM, name))[0]

    if command == "get":
        print(prop(arg))
    elif command in ("activate", "secondary"):
        call(path, ITEM, "Activate" if command == "activate" else "SecondaryActivate", "(ii)",
             (0, 0))
    elif command == "click":
        menu = prop("Menu")
        call(menu, MENU, "AboutToShow", "(i)", (0,))
        _revision, (_id, _props, entries) = call(menu, MENU, "GetLayout", "(iias)", (0, -1, []))
        # dbusmenu marks the mnemonic with "_" where the toolkit has "&".
        ids = [e[0] for e in entries if e[1].get("label") == arg.replace("&", "_")]
        if len(ids) != 1:
            sys.exit(f"the menu has no single entry {arg!r}: {entries}")
        call(menu, MENU, "Event", "(isvu)", (ids[0], "clicked", GLib.Variant("i", 0), 0))
    else:
        sys.exit(f"unknown command {command}")


if __name__ == "__main__":
    if sys.argv[1] == "serve":
        serve(sys.argv[2])
    else:
        client(*sys.argv[1:4], sys.argv[4] if len(sys.argv) > 4 else None)
