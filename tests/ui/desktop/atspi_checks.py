# SPDX-License-Identifier: GPL-3.0-or-later
"""What the desktop checks that read a program through AT-SPI share: waiting for
its events, finding its application, windows and objects, and driving it with
xdotool, as a screen reader user's keys do."""

import contextlib
import os
import subprocess
import time

import pyatspi
from gi.repository import GLib


def pump(seconds):
    """Runs the event loop for a while, so that AT-SPI events arrive."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(find, seconds=15):
    """Polls find() until it gives something other than None."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found is not None:
            return found
        pump(0.1)
    return None


def descendants(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    for i in range(node.childCount):
        yield from descendants(node.getChildAtIndex(i), depth + 1)


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except GLib.GError:
            continue
    return None


def window_named(app, name):
    for i in range(app.childCount if app else 0):
        window = app.getChildAtIndex(i)
        if window is not None and window.name == name:
            return window
    return None


def has_state(node, state):
    return node.getState().contains(state)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=20)


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def visible_windows(wm_class):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", wm_class],
                           capture_output=True, text=True, timeout=20)
    return found.stdout.split() or None


@contextlib.contextmanager
def calculator(program, **environment):
    """Starts the calculator on X11 with accessibility on and the environment given, waits for
    its window "Tarvin" on the accessibility bus and activates it. Gives (process, app, window),
    the window None when it never came; the program is killed when the block ends."""
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               **environment)
    process = subprocess.Popen([program], env=env)
    try:
        app = wait_for(lambda: application(process.pid), 20)
        window = wait_for(lambda: window_named(app, "Tarvin")) if app else None
        if window is not None:
            xdotool("search", "--sync", "--onlyvisible", "--name", "^Tarvin$", "windowactivate",
                    "--sync")
        yield process, app, window
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
