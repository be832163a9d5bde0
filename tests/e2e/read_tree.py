#!/usr/bin/python3
"""Reads the game's accessibility tree as a screen reader would, over AT-SPI
(pyatspi), and waits until it shows what is expected: the application of the
game's process, named Hangman, its window as a frame, and in it the screen
as a panel of the given name holding the given buttons, in order, one of
them focused. Fails, printing the tree it last saw, after the guard.

    read_tree.py <game pid> <screen> <focused button> <role:name>...

where role is "push button" or "toggle button" (as "push_button" and
"toggle_button").
"""
import sys
import time

import pyatspi

GUARD = 60


def describe(node, depth=0):
    states = [pyatspi.stateToString(s) for s in node.getState().getStates()]
    text = "%s%s %r %s\n" % ("  " * depth, node.getRoleName(), node.name, ",".join(states))
    return text + "".join(describe(child, depth + 1) for child in node if child is not None)


def game_application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def shows(app, screen, focused, buttons):
    """True when the application shows the screen as expected."""
    if app.name != "Hangman" or app.getRoleName() != "application" or app.childCount != 1:
        return False
    frame = app[0]
    if frame.getRoleName() != "frame" or frame.name != "Hangman":
        return False
    panels = [child for child in frame if child.getRoleName() == "panel"]
    if len(panels) != 1 or panels[0].name != screen:
        return False
    seen = ["%s:%s" % (child.getRoleName().replace(" ", "_"), child.name) for child in panels[0]]
    focus = [child.name for child in panels[0]
             if child.getState().contains(pyatspi.STATE_FOCUSED)]
    return seen == buttons and focus == [focused]


def main():
    pid, screen, focused, buttons = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4:]
    deadline = time.monotonic() + GUARD
    last = "no accessible application of process %d" % pid
    while time.monotonic() < deadline:
        app = game_application(pid)
        if app is not None:
            try:
                if shows(app, screen, focused, buttons):
                    print("tree: %s shows %s, %s focused" % (screen, " ".join(buttons), focused))
                    return 0
                last = describe(app)
            except Exception as error:  # an object gone while it was read
                last = "reading the tree failed: %s" % error
        time.sleep(0.1)
    print("FAIL: waited %d s for the tree to show %s with %s, %s focused; it showed:\n%s"
          % (GUARD, screen, " ".join(buttons), focused, last))
    return 1


sys.exit(main())
