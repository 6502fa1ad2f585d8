# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Reads the running program's accessible tree through AT-SPI, as a screen
reader does, and fails with what it found wrong:
  - the kill list is not in the tree;
  - in the running list, each row has one checkable cell, its name cell, with
    the toggle action alone; the ID and Type cells offer no action;
  - the toggle action checks the row and says so, and clears it again."""

import sys
import time

import pyatspi

ROWS_READ = 25  # every row would take long over the bus; the first ones tell


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


main()
