#!/usr/bin/python3
"""The program's controls as a screen reader sees them (AT-SPI), for the tray tests.
PID focus: prints the focused control as "LABEL|TEXT|CARET|SELECTION START|SELECTION END".
PID where ROLE LABEL: prints the middle of a control on the screen.
PID press ROLE LABEL: does a control's first action (a menu item's or a button's press)."""
import sys

import pyatspi


def controls(pid, test):
    return [c for app in pyatspi.Registry.getDesktop(0) if app and app.get_process_id() == pid
            for c in pyatspi.findAllDescendants(app, test)]


def label(node):  # a chooser is named by its text, and known by its description
    return node.description if node.getRoleName() == "combo box" else node.name


def find(pid, role, name):
    found = controls(pid, lambda c: c.getRoleName() == role and label(c) == name)
    len(found) == 1 or sys.exit(f"{len(found)} controls {role} {name!r}")
    return found[0]


def focused(pid):  # a table's current cell says "focused" also where the table has no focus
    found = controls(pid, lambda c: c.getRoleName() != "table cell" and c.getState().contains(pyatspi.STATE_FOCUSED))
    found or sys.exit("no control has the focus")
    node = found[0].parent if found[0].parent.getRoleName() == "combo box" else found[0]
    text = next((c for c in [node, *node] if c.getRoleName() == "text"), None)
    if text is None:
        return label(node)
    t = text.queryText()
    start, end = t.getSelection(0) if t.getNSelections() else (t.caretOffset, t.caretOffset)
    return f"{label(node)}|{t.getText(0, -1)}|{t.caretOffset}|{start}|{end}"


def main(pid, command, *args):
    if command == "focus":
        print(focused(int(pid)))
    elif command == "where":
        x, y, w, h = find(int(pid), *args).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        print(x + w // 2, y + h // 2)
    else:
        find(int(pid), *args).queryAction().doAction(0)


if __name__ == "__main__":
    main(*sys.argv[1:])
