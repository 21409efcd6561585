"""A private X server for end-to-end runs, and the few X tools they need.

Used by the end-to-end test and the screenshot script; standard library only.
"""

import os
import select
import shutil
import subprocess
import time


class XvfbError(RuntimeError):
    pass


class Xvfb:
    """Starts Xvfb on a display number it picks itself (-displayfd), so that
    runs in parallel never share a server; stops it on exit."""

    def __init__(self, width=1024, height=768, timeout=10.0):
        self.size = (width, height)
        self.timeout = timeout
        self.process = None
        self.display = None

    def __enter__(self):
        if not shutil.which("Xvfb"):
            raise XvfbError("Xvfb is not installed")
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{self.size[0]}x{self.size[1]}x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        try:
            number = b""
            deadline = time.monotonic() + self.timeout
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise XvfbError("Xvfb did not report its display in time")
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise XvfbError("Xvfb exited before reporting its display")
                number += chunk
        except BaseException:
            self.__exit__(None, None, None)
            raise
        finally:
            os.close(read_end)
        self.display = ":" + number.decode().strip()
        return self

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        return False

    def env(self, **extra):
        env = dict(os.environ)
        env.pop("WAYLAND_DISPLAY", None)
        env.update(DISPLAY=self.display, QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8")
        env.update(extra)
        return env

    def run(self, *args, timeout=10.0):
        """Runs an X client on this display and returns its standard output."""
        return subprocess.run(args, env=self.env(), check=True, capture_output=True,
                              timeout=timeout).stdout

    def find_window(self, name, size, timeout=10.0):
        """The id of the visible window titled exactly name and of this client size."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                found = self.run("xdotool", "search", "--sync", "--onlyvisible", "--name",
                                 f"^{name}$", timeout=max(deadline - time.monotonic(), 0.1))
            except subprocess.TimeoutExpired:
                break
            except subprocess.CalledProcessError:
                time.sleep(0.1)
                continue
            for wid in found.split():
                if self.window_size(wid.decode()) == size:
                    return wid.decode()
            time.sleep(0.1)
        raise TimeoutError(f"no {size[0]}x{size[1]} window named {name!r} within {timeout} s")

    def window_size(self, wid):
        info = self.run("xwininfo", "-id", wid).decode()
        fields = dict(line.strip().split(":", 1) for line in info.splitlines()
                      if line.strip().startswith(("Width:", "Height:")))
        return int(fields["Width"]), int(fields["Height"])

    def click(self, wid, x, y):
        """A left click at a point given relative to the window's client area."""
        self.run("xdotool", "mousemove", "--window", wid, str(x), str(y), "click", "1")

    def shot(self, wid="root"):
        """The window's pixels as an Image."""
        return Image.from_ppm(self.run("import", "-window", wid, "-depth", "8", "ppm:-"))


class Image:
    """RGB pixels, read from binary PPM (the one format every tool here writes)."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @classmethod
    def from_ppm(cls, blob):
        fields, pos = [], 0
        while len(fields) < 4:
            while blob[pos:pos + 1].isspace():
                pos += 1
            if blob[pos:pos + 1] == b"#":
                pos = blob.index(b"\n", pos) + 1
                continue
            end = pos
            while not blob[end:end + 1].isspace():
                end += 1
            fields.append(blob[pos:end])
            pos = end
        magic, width, height, maxval = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
        if magic != b"P6" or maxval != 255:
            raise ValueError("expected 8-bit binary PPM")
        pos += 1
        return cls(width, height, blob[pos:pos + width * height * 3])

    @classmethod
    def load(cls, path):
        """Any picture ImageMagick reads."""
        convert = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
        return cls.from_ppm(subprocess.run([convert, path, "-depth", "8", "ppm:-"], check=True,
                                           capture_output=True, timeout=30).stdout)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def region(self, left, top, width, height):
        return [self.pixel(x, y) for y in range(top, top + height)
                for x in range(left, left + width)]
