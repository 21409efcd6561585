# SPDX-License-Identifier: GPL-3.0-or-later
"""A private desktop for tests and scripts that run the real program.

Every Python test and script that needs an X display starts it through this
module, so that there is one way to start, find and stop things. Standard
library only; use Debian's /usr/bin/python3 when pyatspi is needed as well.

    import testdesktop as td

    facts = td.load_facts()             # the program's own table, texts, questions
    with td.Desktop(screen=(1280, 1024), window_manager=True, accessibility=True,
                    time_limit=60) as desktop:
        app = desktop.start([program])  # QT_QPA_PLATFORM=xcb, bridge on with accessibility
        wid = desktop.find_window(facts.title, pid=app.pid, size=(706, 487))
        desktop.activate(wid)
        desktop.key("Tab", "space")
        desktop.click(wid, *facts.centre("main", "quit"))
        desktop.expect_exit(app, after="Выход")
    # Every process started here, and every process they left behind in this
    # desktop, is stopped by PID; the temporary HOME is removed.

Desktop(screen=(1280, 1024), depth=24, dpi=None, window_manager=False,
        session_bus=None, accessibility=False, time_limit=None, resets=False)
    A context manager. Starts Xvfb (-displayfd: the server picks a free display
    number itself, so parallel runs never collide; -nolisten tcp; a black root
    window, which the start-up benchmark relies on; no key repeat), then if asked
    openbox, a private session bus (dbus-daemon; on by default with
    accessibility) and the accessibility bus launcher. HOME and the XDG
    directories are in a fresh temporary folder. With accessibility the
    DISPLAY, DBUS_SESSION_BUS_ADDRESS and XDG_RUNTIME_DIR of this process are
    pointed at the desktop too (libatspi reads them from there) and restored at
    the end. time_limit: seconds after which the test fails with TimeLimit
    (SIGALRM), the desktop still being torn down. resets: the server resets
    when its last client leaves, as one started for a single program does
    (by default it never resets), and logs each client's coming and going.

    Attributes: display (":N"), env (the environment every child gets; it
        carries TESTDESKTOP_ID, by which leftovers are found and by which a
        program can tell it runs in a test desktop), home, runtime_dir, tmp
        (a scratch folder removed at the end).
    server_log() -> str: what the server wrote (with resets: lines "client N
        connected from ... pid=P )" and "client N disconnected").
    start_window_manager(): starts openbox now, in a desktop made without it,
        as in a session whose programs start before its window manager.
    start(args, env=None, **popen) -> Popen: runs a program in the desktop
        (tracked, stopped at the end); env adds or overrides variables.
    run(args, timeout=20, check=True) -> CompletedProcess (text): runs a tool
        such as xdotool or import to its end.
    find_window(title=None, pid=None, size=None, timeout=PATIENCE) -> window id
        (str): the one visible window with exactly that title, of that process
        and of that client size (any given condition).
    window_size(wid) -> (width, height) of the client area.
    activate(wid): gives the window the keyboard (windowactivate under the
        window manager, windowfocus without).
    key(*keys, delay=8), type(text, delay=8): xdotool to the focused window.
    click(wid, x, y): a left click at client coordinates.
    shot(wid="root") -> Image.
    settled_shot(wid, drawn=corners_drawn, what="the window to be drawn",
                 timeout=PATIENCE) -> Image: a shot once two in a row are alike
        and drawn(shot) holds (say, of every part the test is about to judge).
    expect_exit(proc, after, timeout=PATIENCE, status=0): fails unless the
        process ends by itself in time with that status.
    stop(proc): ends one process now (SIGTERM, then SIGKILL).
    leftovers() -> [pid]: processes still running that carry this desktop's
        mark in their environment (daemons its programs spawned).
    start_windows(args, prefix, debug="-all", env=None, **popen) -> Popen:
        runs a Windows program (args[0] its path) under Wine in that prefix
        (wine_env); Wine's server and helpers carry the desktop's mark and
        are stopped with it.

PATIENCE: how long a wait for what is sure to come gives it (seconds): a
    machine with both cores busy is slow, not failing.
SetupError: a tool is missing or did not start. TimeLimit: the time ran out.
time_limit(seconds): a context manager failing the block with TimeLimit.
run_with_time_limit(seconds, main, *args): the same around one call.
wait_for(what, condition, timeout=PATIENCE, interval=0.05): polls until a true value.
Image: RGB pixels (from_ppm, load(path), pixel(x, y), region(l, t, w, h)).
wine_env(prefix, debug="-all") -> dict: the variables that run Wine in that
    prefix: 32-bit, without the Mono and Gecko installers' dialogs, WINEDEBUG
    set to debug (e.g. "-all,+debugstr" for what programs log).
corners_drawn(shot): none of its corners black, as a window is before its first
    paint (the black root showing through).
load_facts(tool=None) -> Facts: runs the facts tool (default: the path in
    $DRILL_FACTS) and reads the program's facts, the JSON the page is built
    from: facts.title, facts.texts (name -> text), facts.questions (list of
    {"problem", "answers"}), facts.answers(problem) (accepted answers without
    their stored leading blanks), facts.window(name) ("main", "rule" or the
    window's own name, with "client" and each control's "box": pixel boxes at
    96 dpi), facts.control(window, name) (a main window's control also by its
    role: "verdict", "start", ...), facts.centre(window, name),
    facts.client_size(window), facts.announcements ("question", "correct",
    "wrong": what a screen reader is told),
    facts.question_announcement(number, problem).

Command line: runs one command inside a test desktop, as start() does, and
exits with its status.
    python3 -m testdesktop [--screen WxH] [--dpi N] [--wm] [--bus] [--a11y]
                           [--time-limit S] -- COMMAND [ARG...]
    (or python3 harness/testdesktop.py ... without PYTHONPATH)
"""

import argparse
import contextlib
import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

__all__ = [
    "Desktop",
    "Facts",
    "Image",
    "PATIENCE",
    "SetupError",
    "TimeLimit",
    "corners_drawn",
    "load_facts",
    "wine_env",
    "run_with_time_limit",
    "time_limit",
    "wait_for",
]


class SetupError(RuntimeError):
    """The desktop could not be started (a tool missing or not answering)."""


class TimeLimit(AssertionError):
    """The test ran past its time limit."""


# Variables passed on from the caller: the sanitizer settings of a test
# preset and what tests pass to their helpers. Nothing of the caller's own
# session (its display, bus, Wayland or Qt settings) gets through.
_PASSED_ON = (
    "PATH",
    "ASAN_OPTIONS",
    "UBSAN_OPTIONS",
    "LSAN_OPTIONS",
    "PYTHONPATH",
    "PYTHONDONTWRITEBYTECODE",
    "DRILL_FACTS",
    "TMPDIR",
)
_MARK = "TESTDESKTOP_ID"
# A wait for something sure to come (a window, its paint, a daemon's answer)
# ends as soon as it comes; only a fault lets it run out. A program starts many
# times slower on a machine whose every core is busy than on a quiet one.
PATIENCE = 90.0
_EXPORTED = ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR")


def _read_line(fd, proc, timeout, what):
    """The first line a starting daemon writes to fd."""
    deadline = time.monotonic() + timeout
    data = b""
    while b"\n" not in data:
        left = deadline - time.monotonic()
        if left <= 0:
            raise SetupError(f"{what} did not start within {timeout} s")
        if select.select([fd], [], [], min(left, 0.2))[0]:
            chunk = os.read(fd, 256)
            if not chunk:
                raise SetupError(f"{what} exited before it was ready")
            data += chunk
        elif proc.poll() is not None:
            raise SetupError(f"{what} exited with status {proc.returncode}")
    return data.split(b"\n", 1)[0].decode().strip()


def _end(proc, grace=3.0):
    if proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(grace)


def wait_for(what, condition, timeout=PATIENCE, interval=0.05):
    """Polls condition until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


@contextlib.contextmanager
def time_limit(seconds):
    """Fails the block with TimeLimit rather than letting it hang."""

    def on_alarm(*_):
        raise TimeLimit(f"the test took longer than {seconds} s")

    previous = signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(int(seconds))
    try:
        yield
    finally:
        signal.alarm(0)
        signal.signal(signal.SIGALRM, previous)


def run_with_time_limit(seconds, main, *args):
    with time_limit(seconds):
        return main(*args)


class Desktop:
    def __init__(
        self,
        screen=(1280, 1024),
        depth=24,
        dpi=None,
        window_manager=False,
        session_bus=None,
        accessibility=False,
        time_limit=None,
        resets=False,
    ):
        self.screen = tuple(screen)
        self.depth = depth
        self.dpi = dpi
        self.window_manager = window_manager
        self.accessibility = accessibility
        self.session_bus = accessibility if session_bus is None else session_bus
        if accessibility and not self.session_bus:
            raise ValueError("the accessibility bus needs the session bus")
        self.limit = time_limit
        self.resets = resets
        self.display = None
        self.env = None
        self.tmp = self.home = self.runtime_dir = None
        self._procs = []
        self._saved_environ = None
        self._limit = None

    # --- starting and stopping ----------------------------------------------

    def __enter__(self):
        if self.limit:
            self._limit = time_limit(self.limit)
            self._limit.__enter__()
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
        root = tempfile.mkdtemp(prefix="drill-desktop-")
        self._root = root
        self.tmp = os.path.join(root, "tmp")
        self.home = os.path.join(root, "home")
        self.runtime_dir = os.path.join(root, "runtime")
        for path in (self.tmp, self.home, self.runtime_dir):
            os.mkdir(path, 0o700)
        self.env = {key: os.environ[key] for key in _PASSED_ON if key in os.environ}
        self.env.setdefault("PATH", "/usr/bin:/bin")
        self.env.update(
            {
                "HOME": self.home,
                "XDG_RUNTIME_DIR": self.runtime_dir,
                "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
                "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
                "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
                "LANG": "C.UTF-8",
                "LC_ALL": "C.UTF-8",
                _MARK: root,
            }
        )
        self._start_xvfb()
        if self.session_bus:
            self._start_session_bus()
        if self.accessibility:
            self._start_accessibility_bus()
            self._saved_environ = {key: os.environ.get(key) for key in _EXPORTED}
            os.environ.update({key: self.env[key] for key in _EXPORTED})
        if self.window_manager:
            self._start_window_manager()

    def _spawn_reporting(self, args, what, stderr=subprocess.DEVNULL):
        """Starts a daemon that writes one line (its address) to a pipe."""
        read_fd, write_fd = os.pipe()
        try:
            proc = self._spawn(
                [arg.format(fd=write_fd) for arg in args],
                pass_fds=(write_fd,),
                stdout=subprocess.DEVNULL,
                stderr=stderr,
            )
            os.close(write_fd)
            write_fd = None
            return _read_line(read_fd, proc, PATIENCE, what)
        finally:
            os.close(read_fd)
            if write_fd is not None:
                os.close(write_fd)

    def _start_xvfb(self):
        if not shutil.which("Xvfb"):
            raise SetupError("Xvfb is not installed")
        args = [
            "Xvfb",
            "-displayfd",
            "{fd}",
            "-screen",
            "0",
            f"{self.screen[0]}x{self.screen[1]}x{self.depth}",
            "-nolisten",
            "tcp",
            "-br",
            # No key repeat: on a busy machine xdotool's release of a key may
            # come later than the repeat delay, and the key would come twice.
            "-r",
        ]
        # Audit level 2 logs connections as well as refusals.
        args += ["-audit", "2"] if self.resets else ["-noreset"]
        if self.dpi:
            args += ["-dpi", str(self.dpi)]
        with open(self._server_log_path(), "wb") as log:
            self.display = ":" + self._spawn_reporting(args, "Xvfb", stderr=log)
        self.env["DISPLAY"] = self.display

    def _server_log_path(self):
        return os.path.join(self._root, "xvfb.log")

    def server_log(self):
        with open(self._server_log_path(), encoding="utf-8", errors="replace") as log:
            return log.read()

    def _start_session_bus(self):
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._spawn_reporting(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address={fd}"],
            "the session bus",
        )

    def _start_accessibility_bus(self):
        self._spawn(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"],
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )

        def bus_owned():
            # Asks without activating: the bus would start a launcher of its own.
            probe = self.run(
                [
                    "dbus-send",
                    "--session",
                    "--print-reply",
                    "--dest=org.freedesktop.DBus",
                    "/org/freedesktop/DBus",
                    "org.freedesktop.DBus.NameHasOwner",
                    "string:org.a11y.Bus",
                ],
                check=False,
            )
            return probe.returncode == 0 and "boolean true" in probe.stdout

        self._wait_setup("the accessibility bus", bus_owned)

    def start_window_manager(self):
        self.window_manager = True
        self._start_window_manager()

    def _start_window_manager(self):
        if not shutil.which("openbox"):
            raise SetupError("openbox is not installed")
        self._spawn(
            ["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL
        )

        def managing():
            # A window manager announces itself on the root window.
            probe = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
            return "window id" in probe.stdout

        self._wait_setup("the window manager", managing)

    def _wait_setup(self, what, condition, timeout=PATIENCE):
        try:
            wait_for(what, condition, timeout, interval=0.1)
        except AssertionError as error:
            raise SetupError(str(error)) from None

    def _spawn(self, args, env=None, **popen):
        popen.setdefault("stdin", subprocess.DEVNULL)
        proc = subprocess.Popen(args, env=env or self.env, **popen)
        self._procs.append(proc)
        return proc

    def start(self, args, env=None, **popen):
        """Runs a program in this desktop; it is stopped at the end if still running."""
        full = dict(self.env)
        full["QT_QPA_PLATFORM"] = "xcb"
        if self.accessibility:
            full["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        full.update(env or {})
        return self._spawn([str(arg) for arg in args], env=full, **popen)

    def start_windows(self, args, prefix, debug="-all", env=None, **popen):
        """Runs a Windows program under Wine in this desktop."""
        return self.start(["wine", *args], env={**wine_env(prefix, debug), **(env or {})}, **popen)

    def stop(self, proc):
        _end(proc)

    def leftovers(self):
        """PIDs of running processes carrying this desktop's mark, other than ours."""
        if self.env is None:
            return []
        mark = f"{_MARK}={self.env[_MARK]}".encode()
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                with open(f"/proc/{entry}/environ", "rb") as f:
                    if mark in f.read().split(b"\0"):
                        found.append(int(entry))
            except OSError:
                continue  # gone, or not ours to read
        return found

    def close(self):
        if self._limit is not None:
            signal.alarm(0)  # the time limit must not cut the clean-up short
        # Newest first: programs before the window manager, buses, display.
        try:
            for proc in reversed(self._procs):
                _end(proc)
            self._procs.clear()
            # Daemons the programs spawned (say, a speech server) outlive them.
            for pid in self.leftovers():
                with contextlib.suppress(ProcessLookupError):
                    os.kill(pid, signal.SIGTERM)
            deadline = time.monotonic() + 3
            while self.leftovers() and time.monotonic() < deadline:
                time.sleep(0.05)
            for pid in self.leftovers():
                with contextlib.suppress(ProcessLookupError):
                    os.kill(pid, signal.SIGKILL)
            if self._saved_environ is not None:
                for key, value in self._saved_environ.items():
                    if value is None:
                        os.environ.pop(key, None)
                    else:
                        os.environ[key] = value
                self._saved_environ = None
            if getattr(self, "_root", None):
                shutil.rmtree(self._root, ignore_errors=True)
                self._root = None
        finally:
            if self._limit is not None:
                limit, self._limit = self._limit, None
                limit.__exit__(None, None, None)

    # --- using it -------------------------------------------------------------

    def run(self, args, timeout=20, check=True, **kwargs):
        kwargs.setdefault("capture_output", True)
        kwargs.setdefault("text", True)
        return subprocess.run(
            [str(arg) for arg in args],
            env=self.env,
            timeout=timeout,
            check=check,
            stdin=subprocess.DEVNULL,
            **kwargs,
        )

    def find_window(self, title=None, pid=None, size=None, timeout=PATIENCE):
        # Options first: xdotool takes the title pattern as the last argument.
        query = ["xdotool", "search", "--all", "--onlyvisible"]
        if pid is not None:
            query += ["--pid", str(pid)]
        if title is not None:
            # An extended regular expression: its special characters are escaped.
            pattern = "".join("\\" + c if c in ".^$*+?()[]{}|\\" else c for c in title)
            query += ["--name", f"^{pattern}$"]
        elif pid is None:
            query += ["--name", "."]
        seen = []

        def one():
            nonlocal seen
            ids = self.run(query, check=False).stdout.split()
            seen = [(wid, self.window_size(wid)) for wid in ids]
            hits = [wid for wid, got in seen if size is None or got == tuple(size)]
            return hits[0] if len(hits) == 1 else None

        try:
            return wait_for("the window", one, timeout)
        except AssertionError:
            raise AssertionError(
                f"no single visible window titled {title!r} of pid {pid} sized {size} within "
                f"{timeout} s; found {seen}"
            ) from None

    def window_size(self, wid):
        info = self.run(["xwininfo", "-id", wid], check=False).stdout
        fields = dict(
            line.strip().split(":", 1)
            for line in info.splitlines()
            if line.strip().startswith(("Width:", "Height:"))
        )
        if len(fields) != 2:
            return None
        return int(fields["Width"]), int(fields["Height"])

    def activate(self, wid):
        verb = "windowactivate" if self.window_manager else "windowfocus"
        self.run(["xdotool", verb, "--sync", wid])

    def key(self, *keys, delay=8):
        self.run(["xdotool", "key", "--delay", str(delay), *keys])

    def type(self, text, delay=8):
        self.run(["xdotool", "type", "--delay", str(delay), "--", text])

    def click(self, wid, x, y):
        self.run(["xdotool", "mousemove", "--window", wid, str(x), str(y), "click", "1"])

    def shot(self, wid="root"):
        return Image.from_ppm(
            self.run(["import", "-window", wid, "-depth", "8", "ppm:-"], text=False).stdout
        )

    def settled_shot(self, wid, drawn=None, what="the window to be drawn", timeout=PATIENCE):
        """A shot of the window once its frame has settled: two shots in a row
        alike, pixel for pixel, in which drawn(shot) holds. A window is painted
        in parts, and on a busy machine the parts come apart: one part drawn
        does not tell that the rest is, nor that no paint is still to come."""
        drawn = drawn or corners_drawn
        previous = None

        def settled():
            nonlocal previous
            shot = self.shot(wid)
            alike = previous is not None and (shot.width, shot.height, shot.data) == (
                previous.width,
                previous.height,
                previous.data,
            )
            previous = shot
            return shot if alike and drawn(shot) else None

        return wait_for(what, settled, timeout, interval=0.1)

    def expect_exit(self, proc, after, timeout=PATIENCE, status=0):
        try:
            got = proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(
                f"the program was still running {timeout} s after {after}"
            ) from None
        if got != status:
            raise AssertionError(
                f"the program exited with status {got} after {after}, " f"expected {status}"
            )


class Image:
    """RGB pixels, read from binary PPM (the one format every tool here writes)."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def from_ppm(cls, blob):
        fields, pos = [], 0
        while len(fields) < 4:
            while blob[pos : pos + 1].isspace():
                pos += 1
            if blob[pos : pos + 1] == b"#":
                pos = blob.index(b"\n", pos) + 1
                continue
            end = pos
            while not blob[end : end + 1].isspace():
                end += 1
            fields.append(blob[pos:end])
            pos = end
        magic, width, height, maxval = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
        if magic != b"P6" or maxval != 255:
            raise ValueError("expected 8-bit binary PPM")
        pos += 1
        return cls(width, height, blob[pos : pos + width * height * 3])

    @classmethod
    def load(cls, path):
        """Any picture ImageMagick reads."""
        return cls.from_ppm(
            subprocess.run(
                ["convert", str(path), "-depth", "8", "ppm:-"],
                check=True,
                capture_output=True,
                timeout=30,
            ).stdout
        )

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i : i + 3])

    def region(self, left, top, width, height):
        return [
            self.pixel(x, y) for y in range(top, top + height) for x in range(left, left + width)
        ]


def corners_drawn(shot):
    return (0, 0, 0) not in [
        shot.pixel(x, y) for x in (0, shot.width - 1) for y in (0, shot.height - 1)
    ]


def _pixel_box(item):
    return [item["left"], item["top"], item["width"], item["height"]]


class Facts:
    """The program's own windows, texts and questions, as its facts tool prints them."""

    def __init__(self, data):
        self.data = data
        design = data["design"]
        self.roles = design["roles"]
        self.texts = data["texts"]
        self.title = self.texts["title"]
        self.questions = data["bank"]
        self.announcements = data["announcements"]
        self._answers = {
            q["problem"]: [a.lstrip(" ") for a in q["answers"]] for q in self.questions
        }
        self._windows = {}
        for place in ("main", "rule"):
            window = design[place]
            # A control's name as a screen reader hears it: its text unless the
            # table gives one.
            controls = [
                {**c, "box": _pixel_box(c), "accessibleName": c["accessibleName"] or c["text"]}
                for c in window["controls"]
            ]
            view = {**window, "client": _pixel_box(window), "controls": controls}
            self._windows[place] = self._windows[window["name"]] = view

    def answers(self, problem):
        """The accepted answers of a problem, as a user types them."""
        return self._answers[problem]

    def question_announcement(self, number, problem):
        """What a screen reader is told when question number shows problem."""
        return (
            self.announcements["question"]
            .replace("{number}", str(number))
            .replace("{problem}", problem)
        )

    def window(self, name):
        return self._windows[name]

    def control(self, window, name):
        if self.window(window) is self._windows["main"]:
            name = self.roles.get(name, name)
        for control in self.window(window)["controls"]:
            if control["name"] == name:
                return control
        raise KeyError(f"{window} has no control {name}")

    def centre(self, window, name):
        left, top, width, height = self.control(window, name)["box"]
        return left + width // 2, top + height // 2

    def client_size(self, window):
        return tuple(self.window(window)["client"][2:])


def wine_env(prefix, debug="-all"):
    """What runs Wine in that prefix, with no installer dialog for .NET or HTML."""
    return {
        "WINEPREFIX": str(prefix),
        "WINEARCH": "win32",
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        "WINEDEBUG": debug,
    }


def load_facts(tool=None):
    tool = tool or os.environ.get("DRILL_FACTS")
    if not tool:
        raise SetupError("no facts tool: pass its path or set DRILL_FACTS")
    if tool.endswith(".json"):  # the web build writes them once, as a file
        with open(tool, encoding="utf-8") as f:
            return Facts(json.load(f))
    out = subprocess.run([tool], check=True, capture_output=True, timeout=30).stdout
    return Facts(json.loads(out))


def main(argv=None):
    parser = argparse.ArgumentParser(
        prog="python3 -m testdesktop",
        description="Runs a command inside a private test desktop and exits with its status.",
    )
    parser.add_argument("--screen", default="1280x1024", help="WIDTHxHEIGHT")
    parser.add_argument("--dpi", type=int)
    parser.add_argument("--wm", action="store_true", help="start openbox")
    parser.add_argument("--bus", action="store_true", help="start a session bus")
    parser.add_argument("--a11y", action="store_true", help="start the accessibility bus")
    parser.add_argument("--time-limit", type=float)
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args(argv)
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command")
    width, height = (int(n) for n in args.screen.split("x"))
    with Desktop(
        screen=(width, height),
        dpi=args.dpi,
        window_manager=args.wm,
        session_bus=args.bus or None,
        accessibility=args.a11y,
        time_limit=args.time_limit,
    ) as desktop:
        # Signals reach the command; this process only waits and tears down.
        proc = desktop.start(command, stdin=None)
        try:
            status = proc.wait()
        except KeyboardInterrupt:
            return 130
        return 128 - status if status < 0 else status


if __name__ == "__main__":
    sys.exit(main())
