"""A private desktop for tests that drive the program through assistive technology.

Starts Xvfb on a free display, a session bus, the accessibility bus launcher and the
program with its accessibility bridge switched on, and ends every one of them again.
pyatspi is imported only once the buses run: without them libatspi ends the process.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time


class SetupError(RuntimeError):
    pass


def _read_line(fd, timeout, what):
    deadline = time.monotonic() + timeout
    data = b""
    os.set_blocking(fd, False)
    while time.monotonic() < deadline:
        try:
            chunk = os.read(fd, 4096)
        except BlockingIOError:
            chunk = None
        if chunk:
            data += chunk
            if b"\n" in data:
                return data.split(b"\n", 1)[0].decode().strip()
        elif chunk == b"":
            break
        time.sleep(0.02)
    raise SetupError(f"{what} did not start in {timeout} s")


def _stop(proc, grace=3.0):
    if proc is None or proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(grace)


class Desktop:
    """Xvfb, a session bus and the accessibility bus; a context manager.

    With accessibility=False only the display is started.
    """

    def __init__(self, screen="1280x1024x24", accessibility=True):
        self.screen = screen
        self.accessibility = accessibility
        self.procs = []
        self.env = None
        self.tmp = None

    def _spawn(self, args, **kwargs):
        proc = subprocess.Popen(args, env=self.env, stdin=subprocess.DEVNULL, **kwargs)
        self.procs.append(proc)
        return proc

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _start(self):
        self.tmp = tempfile.mkdtemp(prefix="drill-a11y-")
        runtime = os.path.join(self.tmp, "runtime")
        os.mkdir(runtime, 0o700)
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.tmp,
            "XDG_RUNTIME_DIR": runtime,
            "LANG": "C.UTF-8",
        }
        # Keep sanitizer settings of the calling test preset.
        for key in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
            if key in os.environ:
                self.env[key] = os.environ[key]

        read_fd, write_fd = os.pipe()
        try:
            self._spawn(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", self.screen,
                         "-nolisten", "tcp", "-noreset"],
                        pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL)
            os.close(write_fd)
            write_fd = None
            self.env["DISPLAY"] = ":" + _read_line(read_fd, 15, "Xvfb")
        finally:
            os.close(read_fd)
            if write_fd is not None:
                os.close(write_fd)

        if self.accessibility:
            self._start_buses()

    def _start_buses(self):
        read_fd, write_fd = os.pipe()
        try:
            self._spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                         f"--print-address={write_fd}"],
                        pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL)
            os.close(write_fd)
            write_fd = None
            self.env["DBUS_SESSION_BUS_ADDRESS"] = _read_line(read_fd, 15, "dbus-daemon")
        finally:
            os.close(read_fd)
            if write_fd is not None:
                os.close(write_fd)

        self._spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"],
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 15
        while True:
            # Asks without activating: the bus would start a launcher of its own.
            probe = subprocess.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                 "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                 "string:org.a11y.Bus"],
                env=self.env, capture_output=True, timeout=5)
            if probe.returncode == 0 and b"boolean true" in probe.stdout:
                break
            if time.monotonic() > deadline:
                raise SetupError("the accessibility bus did not start")
            time.sleep(0.1)

        # libatspi reads these from this process's own environment.
        for key in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"):
            os.environ[key] = self.env[key]

    def start_program(self, args, extra_env=None):
        env = dict(self.env)
        env["QT_QPA_PLATFORM"] = "xcb"
        if self.accessibility:
            env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env.update(extra_env or {})
        proc = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL)
        self.procs.append(proc)
        return proc

    def visible_window(self, pid, timeout=10):
        """The one visible window of the process, once it is there."""
        deadline = time.monotonic() + timeout
        while True:
            found = self.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)])
            ids = found.stdout.split()
            if len(ids) == 1:
                return ids[0]
            if time.monotonic() > deadline:
                raise SetupError(f"expected one visible window of pid {pid}, found {ids}")
            time.sleep(0.05)

    def focus_window(self, pid):
        """Gives the program's visible window the keyboard; there is no window manager."""
        window = self.visible_window(pid)
        self.run(["xdotool", "windowfocus", "--sync", window]).check_returncode()
        return window

    def run(self, args, **kwargs):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=20,
                              **kwargs)

    def close(self):
        # Newest first: the program before its buses, the buses before the display.
        for proc in reversed(self.procs):
            _stop(proc)
        self.procs.clear()
        if self.tmp:
            shutil.rmtree(self.tmp, ignore_errors=True)
            self.tmp = None


def wait_until(what, predicate, timeout=10.0, detail=None):
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


def find_application(pid, timeout=15.0):
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
    return node.getRoleName()


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


def load_questions(path):
    """problem -> accepted answers, read from the program's own question table."""
    import re

    text = open(path, encoding="utf-8").read()
    row = re.compile(r'\{\s*"([^"]*)"\s*,\s*"([^"]*)"\s*,\s*"([^"]*)"\s*,\s*"([^"]*)"\s*,'
                     r'\s*"([^"]*)"\s*\}')
    table = {m.group(1): [a.lstrip(" ") for a in m.groups()[1:]] for m in row.finditer(text)}
    if len(table) != 20:
        raise SetupError(f"read {len(table)} questions from {path}, expected 20")
    return table


def expect_clean_exit(proc, after):
    """The program ends by itself, with status 0, soon after the given action."""
    try:
        status = proc.wait(10)
    except subprocess.TimeoutExpired:
        raise AssertionError(f"the program did not end after {after}")
    assert status == 0, f"exit status {status}"


def run_with_time_limit(seconds, main, *args):
    """Runs the test's main, failing it rather than hanging past the limit."""
    def on_alarm(*_):
        raise AssertionError("the test took too long")

    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(seconds)
    main(*args)
