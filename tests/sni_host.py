#!/usr/bin/python3
"""A StatusNotifierItem watcher and host for the tray tests. serve LOG: owns the watcher, appends
"ready" and "registered|unregistered SERVICE PATH" to LOG. clicks: reads requests from stdin, one
a line, fields split by tabs: SERVICE PATH get PROPERTY | activate | secondary | click LABEL;
gets an item's property, sends a left or middle click, picks LABEL from its menu; answers each
with one line, "ok" and what it got, or "failed" and why (one process for the whole run: each
start of Python with GLib costs a fifth of a second of processor time)."""
import sys

from gi.repository import Gio, GLib

WATCHER, ITEM, MENU = "org.kde.StatusNotifierWatcher", "org.kde.StatusNotifierItem", "com.canonical.dbusmenu"
WATCHER_XML = f"""<node><interface name="{WATCHER}">
  <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/><property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal><signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/></interface></node>"""


def serve(log_path):
    log, items = open(log_path, "a", buffering=1), {}  # "SERVICE PATH" -> name watch

    def tell(conn, what, item):
        if what == "Unregistered":  # its owner left the bus
            Gio.bus_unwatch_name(items.pop(item))
        log.write(f"{what.lower()} {item}\n")
        conn.emit_signal(None, "/StatusNotifierWatcher", WATCHER, f"StatusNotifierItem{what}", GLib.Variant("(s)", (item,)))

    def call(conn, sender, _path, _iface, method, params, invocation):
        if method == "RegisterStatusNotifierItem":
            arg = params.unpack()[0]  # the item's bus name, or its object path on the sender
            service, path = (sender, arg) if arg.startswith("/") else (arg, "/StatusNotifierItem")
            item = f"{service} {path}"
            if item not in items:
                items[item] = Gio.bus_watch_name_on_connection(
                    conn, service, Gio.BusNameWatcherFlags.NONE, None, lambda c, _name: tell(c, "Unregistered", item))
            tell(conn, "Registered", item)
        invocation.return_value(None)

    def get(_conn, _sender, _path, _iface, prop):
        return {"RegisteredStatusNotifierItems": GLib.Variant("as", list(items)),
                "IsStatusNotifierHostRegistered": GLib.Variant("b", True), "ProtocolVersion": GLib.Variant("i", 0)}[prop]

    def acquired(conn, _name):
        conn.register_object("/StatusNotifierWatcher", Gio.DBusNodeInfo.new_for_xml(WATCHER_XML).interfaces[0], call, get, None)

    loop = GLib.MainLoop()
    Gio.bus_own_name(Gio.BusType.SESSION, WATCHER, Gio.BusNameOwnerFlags.NONE, acquired,
                     lambda *_: log.write("ready\n"), lambda *_: loop.quit())
    loop.run()
    sys.exit(f"{WATCHER} is taken, or the bus is gone")


def clicks():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)

    def call(service, obj, iface, method, signature, args):
        return bus.call_sync(service, obj, iface, method, GLib.Variant(signature, args), None,
                             Gio.DBusCallFlags.NONE, 5000, None).unpack()

    def request(service, path, command, arg=None):
        def prop(name):
            return call(service, path, "org.freedesktop.DBus.Properties", "Get", "(ss)", (ITEM, name))[0]

        if command == "get":
            return str(prop(arg))
        if command in ("activate", "secondary"):
            call(service, path, ITEM, "Activate" if command == "activate" else "SecondaryActivate", "(ii)", (0, 0))
            return ""
        # click: dbusmenu marks the mnemonic with "_" where the toolkit has "&"
        menu = prop("Menu")
        call(service, menu, MENU, "AboutToShow", "(i)", (0,))
        entries = call(service, menu, MENU, "GetLayout", "(iias)", (0, -1, []))[1][2]
        ids = [e[0] for e in entries if e[1].get("label") == arg.replace("&", "_")]
        if len(ids) != 1:
            raise LookupError(f"the menu has no single entry {arg!r}: {entries}")
        call(service, menu, MENU, "Event", "(isvu)", (ids[0], "clicked", GLib.Variant("i", 0), 0))
        return ""

    for line in sys.stdin:
        try:
            answer = "ok " + request(*line.rstrip("\n").split("\t"))
        except Exception as e:  # the item gone, no such entry: the test says so, and asks again or fails
            answer = "failed " + str(e)
        print(answer.replace("\n", " "), flush=True)


if __name__ == "__main__":
    serve(sys.argv[2]) if sys.argv[1] == "serve" else clicks()
