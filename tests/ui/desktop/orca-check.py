#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Listens to the calculator through the Orca screen reader, keys only.

    orca-check.py TARVIN

Runs inside a desktop session that has a display, a window manager and a
D-Bus session bus (see run-on-x11). Starts the accessibility bus and Orca
with a throw-away home, then TARVIN, presses keys as a blind user does and
reads what Orca spoke from its debug log, where every utterance is a line
"SPEECH OUTPUT: '...'" whether or not a synthesizer is heard. Prints what
was spoken after each step and one line per check; exit status 0 when all
passed, 1 when one failed, 77 (skipped) when Orca is not installed or
another Orca of this user will not go away.
"""

import fcntl
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from desktop_checks import check, summary

SKIP = 77

# Steps in order: what the user does, the keys (a "type:" entry types text),
# what must be among the utterances, and what none of them may be. Every
# outcome is heard once, the same outcome twice in a row included.
STEPS = [
    ("start", [], ["Tarvin dialog", "Statement"], []),
    ("x= Enter", ["type:x=", "Return"], ["Result: Error"], []),
    ("Enter on an empty line, Error again", ["Return"], ["Result: Error"], []),
    ("2*21 Enter", ["type:2*21", "Return"], ["Result: 42"], []),
    ("6*7 Enter, the same outcome again", ["type:6*7", "Return"], ["Result: 42"], []),
    ("Tab to the result field", ["Tab"], ["Result", "42"], ["4", "4 selected", "= text"]),
    ("Tab to the archive", ["Tab"], ["Archive"], []),
    ("Enter in the archive", ["Return"], ["Result: Error"], []),
    ("Tab to Calculate", ["Tab"], ["Calculate"], []),
    ("Tab to Help", ["Tab"], ["Help"], []),
    ("Tab to the variables", ["Tab"], ["Variables"], []),
    ("Tab to the statement", ["Tab"], ["Statement"], []),
    ("Shift+F10, Up, Enter", ["shift+F10", "Up", "Return"], ["About Tarvin", "OK"], []),
    ("Escape closes the About box", ["Escape"], ["Tarvin dialog"], []),
    ("F1", ["F1"], ["Tarvin Help", "Calculating with Tarvin read only document"], []),
    ("Down in the help page", ["Down"], ["Tarvin computes one statement"], []),
]


# An utterance, then the voice it is spoken in. An utterance may run over
# several lines of the log, each continued line indented. Orca echoes each
# key as its name, a blank (the locking state that follows is empty) and,
# unlike other speech, a blank before the voice; those say nothing about the
# window.
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'( ?)\[?\{'", re.S)
CONTINUED_LINE = re.compile(r"\n\s+")

WAIT_SECONDS = 15
QUIET_SECONDS = 2.5
LONGEST_UTTERANCE = 1000


def skip(why):
    print("SKIPPED: " + why, flush=True)
    sys.exit(SKIP)


class Session:
    """A throw-away home for Orca, speech going nowhere."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="tarvin-orca.")
        home = self.root
        self.env = dict(os.environ, HOME=home,
                        XDG_CONFIG_HOME=os.path.join(home, "config"),
                        XDG_DATA_HOME=os.path.join(home, "data"),
                        XDG_CACHE_HOME=os.path.join(home, "cache"),
                        XDG_RUNTIME_DIR=os.path.join(home, "runtime"))
        for key in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"):
            os.makedirs(self.env[key], mode=0o700)
        # With no sound server the default audio output blocks and Orca freezes
        # after its first sentence; libao's null driver takes the sound instead.
        speechd = os.path.join(self.env["XDG_CONFIG_HOME"], "speech-dispatcher")
        os.makedirs(speechd)
        conf = "/etc/speech-dispatcher/speechd.conf"
        text = open(conf).read() if os.path.exists(conf) else ""
        with open(os.path.join(speechd, "speechd.conf"), "w") as out:
            out.write(text + '\nAudioOutputMethod "libao"\n')
        with open(os.path.join(home, ".libao"), "w") as out:
            out.write("default_driver=null\n")
        self.log = os.path.join(home, "orca.log")
        self.processes = []

    def start(self, argv, **kwargs):
        process = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, **kwargs)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        # speech-dispatcher, started by Orca, leaves with its session bus.
        shutil.rmtree(self.root, ignore_errors=True)


def spoken(log):
    """Every utterance in the log, key echoes included, as (text, echo)."""
    try:
        with open(log, errors="replace") as lines:
            text = lines.read()
    except FileNotFoundError:
        return []
    return [(CONTINUED_LINE.sub("\n", m.group(1)), bool(m.group(2)) and m.group(1).endswith(" "))
            for m in SPEECH.finditer(text)]


def utterances(log, start):
    """The utterances logged from the start-th on, key echoes left out."""
    return [text for text, echo in spoken(log)[start:] if not echo]


def spoken_count(log):
    return len(spoken(log))


def wait_until(condition, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(0.1)
    return condition()


def wait_quiet(log):
    """Waits until Orca has logged nothing new for a while."""
    end = time.monotonic() + 4 * WAIT_SECONDS
    count = spoken_count(log)
    quiet_since = time.monotonic()
    while time.monotonic() < end and time.monotonic() - quiet_since < QUIET_SECONDS:
        time.sleep(0.1)
        now = spoken_count(log)
        if now != count:
            count, quiet_since = now, time.monotonic()


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=20,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def press(keys):
    for key in keys:
        if key.startswith("type:"):
            xdotool("type", "--delay", "60", key[len("type:"):])
        else:
            xdotool("key", key)
        time.sleep(0.3)


def heard_all(heard, wanted):
    return all(any(w in u for u in heard) for w in wanted)


def run_steps(log, first_start):
    """first_start: where the log stood before the program started, so that
    what Orca says as its window comes up counts for the first step."""
    for number, (name, keys, wanted, unwanted) in enumerate(STEPS):
        start = first_start if number == 0 else spoken_count(log)
        press(keys)
        wait_until(lambda: heard_all(utterances(log, start), wanted) and wanted, WAIT_SECONDS)
        wait_quiet(log)
        heard = utterances(log, start)
        print("heard after %s: %s" % (name, heard), flush=True)
        check(heard_all(heard, wanted), "%s: Orca says %s" % (name, wanted))
        check(not any(u.strip().rstrip(".") in unwanted for u in heard),
              "%s: Orca says none of %s" % (name, unwanted))
        check(not any("\ufdd0" in u or "\ufdd1" in u for u in heard),
              "%s: no private marks are spoken" % name)
        check(all(len(u) <= LONGEST_UTTERANCE for u in heard),
              "%s: nothing is read as one block of text" % name)


# Orca writes its debug log in blocks, so an utterance may reach the file only
# when later ones push it out. Orca is run with that file opened line by line.
LINE_BUFFERED_ORCA = """
import builtins, runpy, sys
log, plain_open = sys.argv[1], builtins.open
def line_buffered_log(name, mode="r", *args, **kwargs):
    if name == log and "w" in mode:
        return plain_open(name, mode, 1)
    return plain_open(name, mode, *args, **kwargs)
builtins.open = line_buffered_log
sys.argv = ["orca", "--debug-file", log]
runpy.run_path(ORCA, run_name="__main__")
"""


def other_orca():
    found = subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                           capture_output=True, text=True)
    return found.stdout.split()


def run(program, session):
    session.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    orca = shutil.which("orca")
    session.start([sys.executable, "-c", LINE_BUFFERED_ORCA.replace("ORCA", repr(orca)),
                   session.log])
    if not wait_until(lambda: "Screen reader on" in " ".join(utterances(session.log, 0)), 60):
        check(False, "Orca started and said 'Screen reader on'")
        return
    wait_quiet(session.log)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    first_start = spoken_count(session.log)
    app = subprocess.Popen([program], env=env)
    session.processes.append(app)
    xdotool("search", "--sync", "--onlyvisible", "--name", "^Tarvin$", "windowactivate", "--sync")
    run_steps(session.log, first_start)


def main():
    if len(sys.argv) != 2:
        print("usage: orca-check.py TARVIN", file=sys.stderr)
        return 2
    if not shutil.which("orca") or not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        skip("Orca is not installed")
    # Orca refuses to start beside another Orca of the same user: such tests
    # take turns, and give up when an Orca of someone else's stays.
    lock = open(os.path.join(tempfile.gettempdir(), "tarvin-orca-check.lock"), "w")
    end = time.monotonic() + 180
    while True:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            break
        except BlockingIOError:
            if time.monotonic() > end:
                skip("another Orca check kept running")
            time.sleep(1)
    if not wait_until(lambda: not other_orca(), 30):
        skip("another Orca of this user is running")
    # A timeout's SIGTERM still ends Orca, the program and the session's files.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    session = Session()
    try:
        run(sys.argv[1], session)
    finally:
        # TARVIN_ORCA_LOG names a file to keep Orca's debug log in.
        if os.environ.get("TARVIN_ORCA_LOG") and os.path.exists(session.log):
            shutil.copy(session.log, os.environ["TARVIN_ORCA_LOG"])
        session.close()
    return summary("orca-check")


if __name__ == "__main__":
    sys.exit(main())
