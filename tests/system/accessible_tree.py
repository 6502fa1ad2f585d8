# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Reads the running program's accessible tree through AT-SPI, as a screen
reader does, and fails with what it found wrong:
  - the kill list is not in the tree;
  - in the running list, each row has one checkable cell, its name cell, with
    the toggle action alone; the ID and Type cells offer no action;
  - the toggle action checks the row and says so, and clears it again;
  - refreshed every half second while processes come and go, the program
    tells of no new focus while the current row stays listed."""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

ROWS_READ = 25  # every row would take long over the bus; the first ones tell
CHURN_SECONDS = 5


def application(name):
    for _ in range(300):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    sys.exit(f"FAIL: no application {name!r} on the accessibility bus")


def controls(node):
    """The window's controls, not the cells inside its tables."""
    yield node
    if node.getRole() not in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE):
        for child in node:
            if child is not None:
                yield from controls(child)


def actions(cell):
    try:
        action = cell.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def checked(cell):
    return cell.getState().contains(pyatspi.STATE_CHECKED)


def until(condition):
    for _ in range(50):
        if condition():
            return True
        time.sleep(0.1)
    return False


def main():
    app = application(sys.argv[1])
    names = {node.name: node for node in controls(app)}
    if "Processes/Tasks To Kill" in names:
        sys.exit("FAIL: the kill list is in the accessible tree")
    if "Running Processes/Tasks" not in names:
        sys.exit(f"FAIL: no running list among {sorted(names)}")
    running = names["Running Processes/Tasks"]
    if running.getRole() != pyatspi.ROLE_TABLE:
        sys.exit(f"FAIL: the running list is a {running.getRoleName()}, not a table")
    table = running.queryTable()
    if table.nRows == 0 or table.nColumns != 3:
        sys.exit(f"FAIL: a table of {table.nRows} rows and {table.nColumns} columns")
    for row in range(min(table.nRows, ROWS_READ)):
        found = [actions(table.getAccessibleAt(row, column)) for column in range(3)]
        if found != [["Toggle"], [], []]:
            sys.exit(f"FAIL: row {row}'s cells offer {found}")
    name = table.getAccessibleAt(0, 0)
    for wanted in (True, False):
        name.queryAction().doAction(0)
        if not until(lambda: checked(name) == wanted):
            sys.exit(f"FAIL: the toggle action left {name.name!r} checked: {checked(name)}")
    print(f"{min(table.nRows, ROWS_READ)} rows read: one checkable name cell each")
    focus_news = focus_news_while_rows_churn(names, running)
    if focus_news:
        sys.exit(f"FAIL: {len(focus_news)} focus events for an unchanged current row: "
                 f"{focus_news[:3]}")
    print(f"no focus news over {CHURN_SECONDS} s of refreshes with changing rows")


def focus_news_while_rows_churn(names, running):
    """The focus events heard while the list is refreshed every half second
    and processes start and end, the current row, the first, staying listed."""
    automatic = next(node for name, node in names.items()
                     if name.startswith("Refresh list automatically"))
    automatic.queryAction().doAction(0)
    names["Refresh interval in seconds"].queryEditableText().setTextContents("0.5")
    running.queryComponent().grabFocus()  # which makes the first row current
    heard = []
    started = time.monotonic()
    children = []

    def listen(event):
        if time.monotonic() - started > 1 and (event.type.startswith("focus") or event.detail1):
            heard.append(f"{event.type} {event.source.name!r}")

    def churn():
        children[:] = [child for child in children if child.poll() is None]
        children.append(subprocess.Popen(["sleep", "0.3"]))
        if time.monotonic() - started < 1 + CHURN_SECONDS:
            return True
        pyatspi.Registry.stop()
        return False

    pyatspi.Registry.registerEventListener(listen, "focus:", "object:state-changed:focused")
    GLib.timeout_add(100, churn)
    pyatspi.Registry.start()
    for child in children:
        child.wait()
    return heard


main()
