#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the calculator window through AT-SPI, as a screen reader does.

    screen-reader-check.py TARVIN

Runs inside a desktop session that has a display, a window manager and a
D-Bus session bus (see run-on-x11). Starts TARVIN, then checks every
control's role and name, that the outcome of a calculation reaches the
focused control as a description change, that the context-menu key
leads to the About box, and that F1 opens the help viewer as a window of
its own desktop identity with the program's icon. Prints one line per check; exit status 0 when all
passed, 1 when one failed.
"""

import subprocess
import sys

import pyatspi

from atspi_checks import (calculator, descendants, has_state, pump, text_of, visible_windows,
                          wait_for, window_named, xdotool)
from desktop_checks import check, summary

# Role and name of every control of the main window, in tab order, and the
# words its description must hold.
CONTROLS = [
    ("text", "Statement", "Enter"),
    ("text", "Result", "Error"),
    ("text", "Archive", "newest first"),
    ("push button", "Calculate", "Enter"),
    ("push button", "Help", "F1"),
    ("text", "Variables", "name order"),
]
LABELS = ["=", "Variables:", "Archive:"]

# A line typed into the input field and what the focused control is told.
PRESSES = [
    ("2*21", "Result: 42"),
    ("6*7", "Result: 42"),
    ("1+", "Result: Error"),
    ("x=2^20", "Result: 1.04858e+06"),
]

def check_controls(window):
    shown = [n for n in descendants(window) if n.getRoleName() in ("text", "push button")]
    named = [(n.getRoleName(), n.name) for n in shown]
    check(named == [(role, name) for role, name, _ in CONTROLS],
          "controls read as %s" % named)
    for node, (_, name, words) in zip(shown, CONTROLS):
        check(words in node.description,
              "%s is described: %r" % (name, node.description))
    labels = [n.name for n in descendants(window) if n.getRoleName() == "label"]
    check(labels == LABELS, "labels read as %s" % labels)
    focused = [n.name for n in shown if has_state(n, pyatspi.STATE_FOCUSED)]
    check(focused == ["Statement"], "focus starts in %s" % focused)


def check_presses(window, events):
    result = next(n for n in descendants(window) if n.name == "Result")
    for line, told in PRESSES:
        events.clear()
        xdotool("type", "--delay", "40", line)
        xdotool("key", "Return")
        wait_for(lambda: events or None, 10)
        pump(0.3)
        # The event names the object; its description is read from it, as a
        # screen reader does.
        heard = [(e.source.name, e.source.description) for e in events
                 if has_state(e.source, pyatspi.STATE_FOCUSED)]
        check(heard == [("Statement", told)],
              "%s: the focused control is told %s" % (line, heard))
        shown = told.split(": ", 1)[1]
        check(text_of(result) == shown, "%s: the result field shows %r" % (line, text_of(result)))


def key_binding(item):
    """The key a screen reader names for a menu item: its action's key binding."""
    try:
        action = item.queryAction()
    except NotImplementedError:
        return ""
    return action.getKeyBinding(0) if action.nActions else ""


def focused_menu_item(focus_events):
    for event in focus_events:
        if event.detail1 and event.source.getRoleName() == "menu item":
            return event.source
    return None


def check_about_route(app, key, focus_events):
    """Opens the focused field's menu with key, moves up to its last item, the
    way a screen reader user hears it, and chooses it."""
    focus_events.clear()
    xdotool("key", key, "Up")
    item = wait_for(lambda: focused_menu_item(focus_events))
    menu = item.parent if item is not None else None
    names = [menu.getChildAtIndex(i).name for i in range(menu.childCount)] if menu else []
    check(item is not None and item.name == "About Tarvin",
          "%s, Up: the focus is on %s" % (key, item.name if item else None))
    check(names[-4:] == ["", "Close", "", "About Tarvin"],
          "%s opens a menu ending in Close, About Tarvin: %s" % (key, names))
    close = menu.getChildAtIndex(menu.childCount - 3) if len(names) >= 3 else None
    check(close is not None and key_binding(close) == "Alt+F4",
          "%s: Close has the key Alt+F4: %r" % (key, key_binding(close) if close else None))
    xdotool("key", "Return")
    about = wait_for(lambda: window_named(app, "About Tarvin"))
    if not check(about is not None, "%s, Up, Enter opens the About box" % key):
        return
    buttons = [n.name for n in descendants(about) if n.getRoleName() == "push button"]
    check(buttons == ["OK"], "the About box has the button %s" % buttons)
    xdotool("key", "Escape")
    gone = wait_for(lambda: True if window_named(app, "About Tarvin") is None else None)
    check(gone is not None, "Escape closes the About box")


def check_help_viewer():
    xdotool("key", "F1")
    windows = wait_for(lambda: visible_windows("tarvin-help")) or []
    if not check(len(windows) == 1, "F1 opens one help viewer window: %s" % windows):
        return
    shown = subprocess.run(["xprop", "-id", windows[0], "WM_CLASS", "_NET_WM_ICON"],
                           capture_output=True, text=True, timeout=20).stdout
    check('"tarvin-help", "tarvin-help"' in shown.splitlines()[0],
          "the viewer's class is its desktop identity: %s" % shown.splitlines()[0])
    check("Icon (32 x 32)" in shown and "Icon (16 x 16)" in shown,
          "the viewer's window has the program's 32 and 16 pixel icons")


def active_window_name():
    shown = subprocess.run(["xdotool", "getactivewindow", "getwindowname"],
                           capture_output=True, text=True, timeout=20)
    return shown.stdout.strip()


def activate_main_window():
    """Gives the calculator the focus back; the window manager may hand it to
    the viewer once more as that one comes up."""
    def activated():
        xdotool("search", "--onlyvisible", "--name", "^Tarvin$", "windowactivate", "--sync")
        pump(0.2)
        return True if active_window_name() == "Tarvin" else None
    return wait_for(activated) is not None


def check_escape_ends(process):
    xdotool("key", "Escape")
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        pass
    check(process.poll() is not None, "Escape ends the program")


def run(program):
    with calculator(program) as (process, app, window):
        if not check(window is not None, "the window Tarvin is on the accessibility bus"):
            return
        events, focus_events = [], []
        pyatspi.Registry.registerEventListener(
            events.append, "object:property-change:accessible-description")
        pyatspi.Registry.registerEventListener(focus_events.append, "object:state-changed:focused")
        check_controls(window)
        check_presses(window, events)
        for key in ("Menu", "shift+F10"):
            check_about_route(app, key, focus_events)
        check_help_viewer()
        if check(activate_main_window(), "the calculator takes the focus back"):
            check_escape_ends(process)


def main():
    if len(sys.argv) != 2:
        print("usage: screen-reader-check.py TARVIN", file=sys.stderr)
        return 2
    run(sys.argv[1])
    return summary("screen-reader-check")


if __name__ == "__main__":
    sys.exit(main())
