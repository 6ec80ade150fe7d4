#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Opens the help viewer from the calculator window, as a user does, and checks
where it opens and that its keys work.

    help-viewer-check.py TARVIN SCALE CLEAR

Runs inside a desktop session that has a display, a window manager and a
D-Bus session bus (see run-on-x11). Starts TARVIN at the scale factor SCALE and
presses F1. The viewer's frame must lie on the screen and never over the
calculator's input and result fields; with CLEAR 1, the screen has room for it
off the calculator's frame altogether, and it must keep off it. Then Ctrl+F,
Enter and F3 find text, Escape closes the find bar, Alt+Left and Alt+Right go
back and forward, and Ctrl+Plus, Ctrl+Minus and Ctrl+0 make the text larger,
smaller and its usual size again. Prints one line per check; exit status 0 when
all passed, 1 when one failed.
"""

import subprocess
import sys

import pyatspi

from atspi_checks import calculator, descendants, pump, visible_windows, wait_for, xdotool
from desktop_checks import check, summary

VIEWER_CLASS = "tarvin-help"


def frame_of(window):
    """The window's frame on the screen, in pixels: (left, top, right, bottom), ends excluded."""
    shown = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True,
                           timeout=20).stdout
    values = {}
    for line in shown.splitlines():
        name, _, value = line.strip().partition(":")
        values[name] = value.strip()
    left = int(values["Absolute upper-left X"])
    top = int(values["Absolute upper-left Y"])
    width, height = int(values["Width"]), int(values["Height"])
    extents = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"],
                             capture_output=True, text=True, timeout=20).stdout
    margins = [int(n) for n in extents.partition("=")[2].split(",")] if "=" in extents else [0] * 4
    return (left - margins[0], top - margins[2], left + width + margins[1],
            top + height + margins[3])


def screen_size():
    shown = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True,
                           timeout=20).stdout.split()
    return int(shown[0]), int(shown[1])


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def fields_of(window, scale):
    """The input and result fields together, in pixels; AT-SPI gives device-independent ones."""
    boxes = []
    for node in descendants(window):
        if node.getRoleName() == "text" and node.name in ("Statement", "Result"):
            box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            boxes.append((box.x, box.y, box.x + box.width, box.y + box.height))
    if len(boxes) != 2:
        return None
    return tuple(round(v * scale) for v in (min(b[0] for b in boxes), min(b[1] for b in boxes),
                                            max(b[2] for b in boxes), max(b[3] for b in boxes)))


def settled_frame(window):
    """The frame once the window has stopped moving: it places itself again once framed."""
    last = None
    for _ in range(20):
        pump(0.3)
        frame = frame_of(window)
        if frame == last:
            return frame
        last = frame
    return last


def check_placement(calculator, viewer, fields, clear):
    width, height = screen_size()
    frame = settled_frame(viewer)
    check(frame[0] >= 0 and frame[1] >= 0 and frame[2] <= width and frame[3] <= height,
          "the viewer's frame %s lies on the %dx%d screen" % (frame, width, height))
    check(not overlaps(frame, fields),
          "the viewer %s leaves the input and result fields %s clear" % (frame, fields))
    if clear:
        window = frame_of(calculator)
        check(not overlaps(frame, window),
              "the viewer %s keeps off the calculator %s" % (frame, window))


def viewer_title():
    shown = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", VIEWER_CLASS,
                            "getwindowname"], capture_output=True, text=True, timeout=20)
    return shown.stdout.strip()


def find_field(app):
    for node in descendants(app):
        if node.getRoleName() == "text" and node.name == "Find":
            return node
    return None


def check_keys(viewer_app):
    xdotool("key", "ctrl+f")
    field = wait_for(lambda: find_field(viewer_app))
    if not check(field is not None, "Ctrl+F opens the find bar with its field"):
        return
    xdotool("type", "--delay", "40", "variable")
    xdotool("key", "Return", "F3")
    told = wait_for(lambda: field.description if field.description.startswith("Match 3 of")
                    else None, 5)
    check(told is not None, "Enter and F3 go to the third match: %r" % field.description)
    xdotool("key", "shift+F3")
    told = wait_for(lambda: field.description if field.description.startswith("Match 2 of")
                    else None, 5)
    check(told is not None, "Shift+F3 goes back to the second: %r" % field.description)
    xdotool("key", "Escape")
    closed = wait_for(lambda: True if not field.getState().contains(pyatspi.STATE_SHOWING)
                      else None, 5)
    check(closed is not None and visible_windows(VIEWER_CLASS) is not None,
          "Escape closes the find bar and leaves the viewer open")
    first = viewer_title()
    xdotool("key", "alt+c")
    contents = wait_for(lambda: viewer_title() if viewer_title().endswith("Contents") else None, 5)
    check(contents is not None, "Alt+C shows the contents: %r" % viewer_title())
    xdotool("key", "alt+Left")
    back = wait_for(lambda: True if viewer_title() == first else None, 5)
    check(back is not None, "Alt+Left goes back to %r: %r" % (first, viewer_title()))
    xdotool("key", "alt+Right")
    forward = wait_for(lambda: True if viewer_title().endswith("Contents") else None, 5)
    check(forward is not None, "Alt+Right goes forward to the contents: %r" % viewer_title())
    check_zoom(viewer_app)


def letter_height(app):
    """The height of the page's first letter on the screen, as a screen reader measures it."""
    for node in descendants(app):
        if node.getRoleName() == "document frame":
            return node.queryText().getCharacterExtents(0, pyatspi.DESKTOP_COORDS)[3]
    return None


def check_zoom(viewer_app):
    usual = letter_height(viewer_app)
    xdotool("key", "ctrl+plus", "ctrl+plus")
    larger = wait_for(lambda: letter_height(viewer_app) if letter_height(viewer_app) > usual
                      else None, 5)
    check(larger is not None, "Ctrl+Plus twice makes the text larger: %s, then %s"
          % (usual, letter_height(viewer_app)))
    xdotool("key", "ctrl+minus", "ctrl+minus", "ctrl+minus")
    smaller = wait_for(lambda: True if letter_height(viewer_app) < usual else None, 5)
    check(smaller is not None,
          "Ctrl+Minus makes it smaller than usual: %s" % letter_height(viewer_app))
    xdotool("key", "ctrl+0")
    back = wait_for(lambda: True if letter_height(viewer_app) == usual else None, 5)
    check(back is not None, "Ctrl+0 gives the usual size back: %s" % letter_height(viewer_app))


def run(program, scale, clear):
    with calculator(program, QT_SCALE_FACTOR=str(scale)) as (_, _, window):
        if not check(window is not None, "the window Tarvin is on the accessibility bus"):
            return
        calculator_window = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^Tarvin$"], capture_output=True,
            text=True, timeout=20).stdout.split()
        fields = fields_of(window, scale)
        if not check(fields is not None, "the input and result fields are found"):
            return
        xdotool("key", "F1")
        viewers = wait_for(lambda: visible_windows(VIEWER_CLASS)) or []
        if not check(len(viewers) == 1, "F1 opens one help viewer window: %s" % viewers):
            return
        check_placement(calculator_window[0], viewers[0], fields, clear)
        xdotool("windowactivate", "--sync", viewers[0])
        viewer_app = next((a for a in pyatspi.Registry.getDesktop(0)
                           if a is not None and a.name == VIEWER_CLASS), None)
        if check(viewer_app is not None, "the viewer is on the accessibility bus"):
            check_keys(viewer_app)


def main():
    if len(sys.argv) != 4:
        print("usage: help-viewer-check.py TARVIN SCALE CLEAR", file=sys.stderr)
        return 2
    run(sys.argv[1], float(sys.argv[2]), sys.argv[3] == "1")
    return summary("help-viewer-check")


if __name__ == "__main__":
    sys.exit(main())
