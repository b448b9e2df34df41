#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints, as JSON, the accessibility tree of one process's window as a
screen reader reads it over AT-SPI: each element in depth-first order with
its depth, role, name, text, states and extents on the desktop.

    a11y_tree.py PID [WINDOW-NAME]

Run with Debian's python3, which has pyatspi, in a process of its own for
each reading, so that nothing cached from an earlier screen is read again.
Exits 1 when the process or its window is not on the accessibility bus.
"""

import json
import sys

import pyatspi


def text_of(accessible):
    try:
        text = accessible.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, text.characterCount)


def element(accessible, depth):
    states = accessible.getState()
    try:
        x, y, width, height = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except NotImplementedError:
        x = y = width = height = 0
    return {
        "depth": depth,
        "role": accessible.getRoleName(),
        "name": accessible.name or "",
        "text": text_of(accessible),
        "showing": states.contains(pyatspi.STATE_SHOWING),
        "focusable": states.contains(pyatspi.STATE_FOCUSABLE),
        "editable": states.contains(pyatspi.STATE_EDITABLE),
        "extents": [x, y, width, height],
        "children": accessible.childCount,
    }


def walk(accessible, depth, out):
    out.append(element(accessible, depth))
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is not None:
            walk(child, depth + 1, out)


def main():
    pid = int(sys.argv[1])
    window_name = sys.argv[2] if len(sys.argv) > 2 else None
    desktop = pyatspi.Registry.getDesktop(0)
    for application in desktop:
        if application is None or application.get_process_id() != pid:
            continue
        for window in application:
            if window is None or not window.getState().contains(pyatspi.STATE_SHOWING):
                continue
            if window_name is None or window.name == window_name:
                out = []
                walk(window, 0, out)
                json.dump(out, sys.stdout, indent=1)
                return 0
    print(f"no showing window {window_name!r} of process {pid} on the accessibility bus", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
