# SPDX-License-Identifier: GPL-3.0-or-later
"""Reading the program through the accessibility bus, as assistive technology does.

The desktop itself (display, buses) comes from testdesktop. pyatspi is imported
only once the buses run: without them libatspi ends the process.
"""

import time

from testdesktop import PATIENCE


def wait_until(what, predicate, timeout=PATIENCE, detail=None):
    """Polls predicate, running the event loop in between, until it returns a true value."""
    deadline = time.monotonic() + timeout
    while True:
        pump(0.02)
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            extra = "" if detail is None else f"; {detail}"
            raise AssertionError(f"timed out after {timeout} s waiting for {what}{extra}")


def pump(seconds):
    """Delivers pending accessibility events to the registered listeners."""
    from gi.repository import GLib

    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= deadline:
            return
        time.sleep(0.01)


def settle(node):
    """Returns once every event the program sent before answering a call on
    node has reached the listeners: its answer follows them on the bus."""
    node.queryComponent().getExtents(0)
    pump(0)


def find_application(pid, timeout=PATIENCE):
    import pyatspi

    def lookup():
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.get_process_id() == pid and app.childCount > 0:
                return app
        return None

    return wait_until(f"the program (pid {pid}) on the accessibility bus", lookup, timeout)


def children(node):
    # A child that goes away while it is listed comes back as None.
    found = (node.getChildAtIndex(i) for i in range(node.childCount))
    return [child for child in found if child is not None]


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def role(node):
    """The node's role name; None once the node is gone (a message box that
    closes while its siblings are listed, say)."""
    from gi.repository import GLib

    try:
        return node.getRoleName()
    except GLib.GError as error:
        if "No such object" in str(error):
            return None
        raise


def has_state(node, state):
    return node.getState().contains(state)


def the_one(nodes, what):
    nodes = list(nodes)
    if len(nodes) != 1:
        raise AssertionError(f"expected exactly one {what}, found {len(nodes)}")
    return nodes[0]


def press(node):
    """Runs the control's "Press" action, as a screen reader's activate command does."""
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        raise AssertionError(f"{node.name!r} has no Press action, only {names}")
    action.doAction(names.index("Press"))
