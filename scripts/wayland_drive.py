#!/usr/bin/python3
"""Drives the running brenlo window through the accessibility bus, which
works the same on Wayland as on X11: preview, stop, save into the folder
given as the first argument (base name "wl"), quit. Prints each step; exits
non-zero when a control or the saved files are missing."""
import os
import sys
import time

import pyatspi

# Finding the window on the bus is the same as for the accessibility check.
from a11y_tree import find_app


# Qt's table and tree views answer a walk through their cells with warnings;
# nothing driven here is inside one.
SKIPPED = {pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_LIST}


def nodes(node):
    yield node
    if node.getRole() in SKIPPED:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from nodes(child)


def find(root, role, prefix, wait_s=10):
    end = time.time() + wait_s
    while time.time() < end:
        for n in nodes(root):
            try:
                if n.getRole() == role and n.name.replace("&", "").startswith(prefix) and \
                        n.getState().contains(pyatspi.STATE_SHOWING):
                    return n
            except Exception:  # a node that went away while walking
                pass
        time.sleep(0.3)
    raise SystemExit("not found: %s %r" % (role, prefix))


def press(root, prefix):
    button = find(root, pyatspi.ROLE_PUSH_BUTTON, prefix)
    print("press", repr(button.name), flush=True)
    button.queryAction().doAction(0)


def main():
    folder = sys.argv[1]
    app = find_app("brenlo")
    if app is None:
        raise SystemExit("the application did not appear on the accessibility bus")
    press(app, "プレビュー")
    time.sleep(2)
    # Step to a paused frame and copy it: the frame list shows it, and the
    # frame goes to the clipboard (Qt's Wayland clipboard).
    press(app, "コマ送り")
    time.sleep(0.5)
    press(app, "Copy")
    end = time.time() + 5
    while time.time() < end and not any(n.name == "フレーム1" for n in nodes(app)):
        time.sleep(0.3)
    if not any(n.name == "フレーム1" for n in nodes(app)):
        raise SystemExit("the copied frame is not in the frame list")
    print("the frame list shows フレーム1", flush=True)
    press(app, "中止")
    time.sleep(0.5)
    press(app, "保存")
    # The save dialog: its file name field, the editable text that is not
    # inside the folder combo box, takes the whole path.
    dialog = find(app, pyatspi.ROLE_DIALOG, "")
    fields = [n for n in nodes(dialog) if n.getRole() == pyatspi.ROLE_TEXT and
              n.getState().contains(pyatspi.STATE_EDITABLE) and n.getState().contains(pyatspi.STATE_SHOWING) and
              n.parent.getRole() != pyatspi.ROLE_COMBO_BOX]
    print("dialog", repr(dialog.name), "fields", [f.name for f in fields], flush=True)
    if not fields:
        raise SystemExit("no file name field in the save dialog")
    field = fields[-1]
    field.queryEditableText().setTextContents(os.path.join(folder, "wl"))
    print("file name", os.path.join(folder, "wl"), flush=True)
    press(dialog, "保存")
    end = time.time() + 20
    while time.time() < end and not os.listdir(folder):
        time.sleep(0.5)
    time.sleep(2)
    print("saved:", " ".join(sorted(os.listdir(folder))), flush=True)
    press(app, "終了")
    # The copied frame was never saved from the frame list, so closing asks
    # first; Yes closes without it.
    answer_yes(app)
    return 0 if os.listdir(folder) else 1


def answer_yes(app, wait_s=5):
    end = time.time() + wait_s
    while time.time() < end:
        for n in nodes(app):
            try:
                if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.getState().contains(pyatspi.STATE_SHOWING) and \
                        n.name.replace("&", "").startswith(("はい", "Yes")):
                    print("press", repr(n.name), flush=True)
                    n.queryAction().doAction(0)
                    return
            except Exception:  # the window closed while walking
                return
        time.sleep(0.3)


sys.exit(main())
