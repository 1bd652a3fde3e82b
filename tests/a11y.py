#!/usr/bin/python3
"""The program's controls as a screen reader sees them (AT-SPI), for the tray tests.
PID focus: prints the focused control as "LABEL|TEXT|CARET|SELECTION START|SELECTION END".
PID where ROLE LABEL: prints the middle of a control on the screen.
PID press ROLE LABEL: does a control's first action (a menu item's or a button's press)."""
import sys

import pyatspi


def controls(pid):
    def walk(node):
        for child in node:
            if child is not None:
                yield child
                yield from walk(child)
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            yield from walk(app)


def label(node):  # a chooser is named by its text, and known by its description
    return node.description if node.getRoleName() == "combo box" else node.name


def find(pid, role, name):
    found = [c for c in controls(pid) if c.getRoleName() == role and label(c) == name]
    len(found) == 1 or sys.exit(f"{len(found)} controls {role} {name!r}")
    return found[0]


def focused(pid):  # a table's current cell says "focused" also where the table has no focus
    node = next((c for c in controls(pid) if c.getRoleName() != "table cell"
                 and c.getState().contains(pyatspi.STATE_FOCUSED)), None)
    node or sys.exit("no control has the focus")
    if node.getRoleName() == "text" and node.parent.getRoleName() == "combo box":
        node = node.parent  # a chooser's text field stands for the chooser
    text = next((c for c in [node, *node] if c.getRoleName() == "text"), None)
    if text is None:
        return label(node)
    t = text.queryText()
    start, end = t.getSelection(0) if t.getNSelections() else (t.caretOffset, t.caretOffset)
    return f"{label(node)}|{t.getText(0, -1)}|{t.caretOffset}|{start}|{end}"


def main(pid, command, *args):
    pid = int(pid)
    if command == "focus":
        print(focused(pid))
    elif command == "where":
        node = find(pid, *args)
        x, y, w, h = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        print(x + w // 2, y + h // 2)
    else:
        find(pid, *args).queryAction().doAction(0)


if __name__ == "__main__":
    main(*sys.argv[1:])
