# SPDX-License-Identifier: GPL-3.0-or-later
"""The tally the desktop checks keep: each check printed on a line of its own
as it is made, and at the end how many failed, as the exit status says it."""

failures = 0


def check(ok, what):
    """Prints what was checked, with ok or FAIL; counts a failure; gives ok back."""
    global failures
    print(("ok: " if ok else "FAIL: ") + what, flush=True)
    if not ok:
        failures += 1
    return ok


def summary(name):
    """Prints how the checks of program name went; gives its exit status:
    0 when all passed, 1 when one failed."""
    print("%s: %d check(s) failed" % (name, failures) if failures
          else "%s: all checks passed" % name)
    return 1 if failures else 0
