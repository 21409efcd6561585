#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""On a display with no other client, one that resets when its last client
leaves, the program's start-up check for a display must not be that last
client: the toolkit connects while the check's connection is still open, the
display is never left empty, and the window comes up.

Usage: lone_display_e2e.py PROGRAM
"""

import re
import sys

import testdesktop as td

EVENT = re.compile(r"client (\d+) (connected from .*pid=(\d+)|disconnected)")


def program_connected_twice(desktop, app):
    """True once the program holds two connections at a time; fails as soon as
    the display stands empty after its first client (the server resets then)."""
    clients = {}  # client number -> pid
    for number, what, pid in EVENT.findall(desktop.server_log()):
        if what == "disconnected":
            clients.pop(number, None)
            assert clients, "the display was left without clients while the program started"
        else:
            clients[number] = pid
        if list(clients.values()).count(str(app.pid)) >= 2:
            return True
    assert app.poll() is None, f"the program exited with status {app.returncode}"
    return False


def main(program):
    facts = td.load_facts()
    with td.Desktop(screen=(1024, 768), resets=True, time_limit=2 * td.PATIENCE) as desktop:
        # No platform chosen, as on a user's desktop: only then does the program check.
        app = desktop.start([program], env={"QT_QPA_PLATFORM": ""})
        # Nothing else may touch the display until the program is on it.
        td.wait_for(
            "the program's two connections",
            lambda: program_connected_twice(desktop, app),
        )
        desktop.find_window(facts.title, pid=app.pid, size=facts.client_size("Form1"))
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
