#!/usr/bin/python3
"""Prints the AT-SPI tree of the running brenlo window as a screen reader
gets it: role, name and description of every object, and at the end each
control that has no name. Exits 1 when one has none."""
import sys
import time

import pyatspi

CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_SLIDER, pyatspi.ROLE_SCROLL_BAR, pyatspi.ROLE_LIST,
}


def find_app(name, wait_s=20):
    end = time.time() + wait_s
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.5)
    return None


def walk(node, depth, nameless):
    role = node.getRole()
    print("%s%s: %r %r" % ("  " * depth, node.getRoleName(), node.name, node.description))
    # A combo box's drop-down list is read through the combo box.
    in_combo = node.parent is not None and node.parent.getRole() == pyatspi.ROLE_COMBO_BOX
    if role in CONTROLS and not in_combo and not node.name.strip():
        nameless.append("%s under %r" % (node.getRoleName(), node.parent.name if node.parent else ""))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, nameless)


def main():
    app = find_app(sys.argv[1] if len(sys.argv) > 1 else "brenlo")
    if app is None:
        print("the application did not appear on the accessibility bus", file=sys.stderr)
        return 2
    nameless = []
    walk(app, 0, nameless)
    for n in nameless:
        print("NO NAME:", n)
    return 1 if nameless else 0


if __name__ == "__main__":
    sys.exit(main())
