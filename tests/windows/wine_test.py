#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows edition under Wine, in one prefix made once per run.

usage: wine_test.py PREFIX prefix FACTS_EXE       makes the prefix, writes PREFIX/facts.json
       wine_test.py PREFIX layout DPI EXE INSPECTOR [SHOTS]
       wine_test.py PREFIX drill keyboard|mouse EXE INSPECTOR
       wine_test.py PREFIX behaviour EXE INSPECTOR
       wine_test.py PREFIX msi MSI NAME VERSION

Windows are read by the inspector (window_inspector.exe, run in the same
prefix), input is real X input through xdotool, what a screen reader would be
told is read from the program's debug output and Wine's log of the annotations.
"""

import json
import os
import pathlib
import re
import subprocess
import sys
import threading
import time

import testdesktop as td

PREFIX = pathlib.Path(sys.argv[1]).resolve() if len(sys.argv) > 2 else None
KINDS = {"button": "Button", "textbox": "Edit", "label": "Static"}
SS_ICON, WS_BORDER, SS_SUNKEN = 0x3, 0x00800000, 0x1000
RUSSIAN_CHARSET, ROLE_TEXT = 204, 42
LIBERATION_1 = "/usr/share/fonts/truetype/liberation"  # fonts-liberation
# The program's debug output, its announcements in UTF-8 with bytes escaped.
ANNOUNCED = re.compile(r'OutputDebugStringA "transpose-drill: announce: (.*)\\n"')
# Wine stores no annotation but logs each: window, property, text.
PLANTED = "transpose-drill: planted library loaded"
ANNOTATED = re.compile(r'SetHwndPropStr \(([0-9A-F]+) \d+ \d+ \{([0-9a-f-]+)\} L"(.*)"\)')
NAME_PROPERTY, DESCRIPTION_PROPERTY = (
    "608d3df8-8128-4aa7-a428-f55e49267291",
    "4d48dfe4-bd3f-491f-a648-492d6f20c588",
)


FONTS = {"FONTCONFIG_FILE": str(PREFIX / "fonts.conf")} if PREFIX else {}


def facts():
    return td.load_facts(str(PREFIX / "facts.json"))


def wine(desktop, *args, timeout=120):
    # No pipes: a wine server started here would hold them open after the call.
    desktop.run(
        ["wine", *args],
        timeout=timeout,
        capture_output=False,
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )


def settle(desktop):
    # The server writes the registry out when it ends.
    desktop.run(["wineserver", "-w"], timeout=60)


def close_box(desktop, wid):
    # Alt+F4 to the window once it is active: what its close box does.
    desktop.run(["xdotool", "windowactivate", "--sync", wid, "key", "alt+F4"])


def set_dpi(desktop, dpi):
    wine(
        desktop,
        "reg",
        "add",
        r"HKCU\Control Panel\Desktop",
        "/v",
        "LogPixels",
        "/t",
        "REG_DWORD",
        "/d",
        str(dpi),
        "/f",
    )


def make_prefix(facts_exe):
    """wineboot once, and Arial drawn with its metric twin: Liberation Sans 1,
    whose fonts alone the programs see (fonts.conf); Wine 8 misplaces some of
    version 2's Cyrillic glyphs in edit boxes ("Записывать здесь")."""
    with td.Desktop(time_limit=240) as desktop:
        desktop.env.update(td.wine_env(PREFIX))
        PREFIX.mkdir(parents=True, exist_ok=True)
        (PREFIX / "fonts.conf").write_text(
            '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n<fontconfig>'
            f"<dir>{LIBERATION_1}</dir><cachedir>{PREFIX / 'fontconfig'}</cachedir></fontconfig>\n"
        )
        wine(desktop, "wineboot", "-i", timeout=200)
        wine(
            desktop,
            "reg",
            "add",
            r"HKCU\Software\Wine\Fonts\Replacements",
            "/v",
            "Arial",
            "/t",
            "REG_SZ",
            "/d",
            "Liberation Sans",
            "/f",
        )
        with open(PREFIX / "facts.json", "wb") as out:
            subprocess.run(
                ["wine", facts_exe],
                env=desktop.env,
                stdout=out,
                check=True,
                stderr=subprocess.DEVNULL,
                timeout=60,
            )
        settle(desktop)
    facts()  # it must parse
    print("PASS")


class Program:
    """The drill under Wine, its windows as the inspector lists them."""

    def __init__(self, desktop, exe, inspector, dpi=96, fonts=False, env=None, cwd=None):
        self.desktop, self.dpi = desktop, dpi
        self.facts = facts()
        desktop.env.update(td.wine_env(PREFIX))
        set_dpi(desktop, dpi)
        debug = "-all,warn+seh,warn+debugstr,fixme+oleacc" + (",+font" if fonts else "")
        self.proc = desktop.start_windows(
            [exe],
            PREFIX,
            debug,
            stderr=subprocess.PIPE,
            text=True,
            errors="replace",
            env={**FONTS, **(env or {})},
            cwd=cwd,
        )
        self.said, self.fonts, self.annotations, self.planted = [], {}, set(), []
        threading.Thread(target=self._trace, daemon=True).start()
        size = tuple(self.scaled(self.facts.client_size("main")))
        self.wid = desktop.find_window(self.facts.title, size=size, timeout=40)
        self.inspector = desktop.start_windows(
            [inspector, self.facts.window("main")["name"]],
            PREFIX,
            stdin=subprocess.PIPE,
            stdout=subprocess.PIPE,
            text=True,
        )
        desktop.activate(self.wid)
        self.main = self.top(self.facts.window("main")["name"])
        # Each designed control by its place: the boxes are the table's.
        self.hwnd = {}
        for c in self.facts.window("main")["controls"]:
            self.hwnd[c["name"]] = self.child_at(self.main, self.scaled(c["box"]))["hwnd"]

    def _trace(self):
        for line in self.proc.stderr:
            if said := ANNOUNCED.search(line):
                self.said.append(unescape(said[1]).encode("latin-1").decode("utf-8"))
            elif PLANTED in line:
                self.planted.append(line)
            elif annotated := ANNOTATED.search(line):
                hwnd, prop, text = annotated.groups()
                self.annotations.add((int(hwnd, 16), prop, unescape(text)))
            elif "NtGdiHfontCreate" in line:
                # (height width esc orient pitch out clip quality charset) L"face" Bold => handle
                fields = re.search(
                    r'\((-?\d+) .* (\d+)\) L"([^"]*)" *(Bold)?.*=> (0x[0-9a-f]+)', line
                )
                if fields:
                    height, charset, face, bold, handle = fields.groups()
                    self.fonts[int(handle, 16)] = (int(height), face, int(charset), bool(bold))

    def scaled(self, box):
        return [int(n * self.dpi / 96 + 0.5) for n in box]

    def inspector_command(self, line):
        self.inspector.stdin.write(line + "\n")
        self.inspector.stdin.flush()
        return json.loads(self.inspector.stdout.readline())

    def snapshot(self):
        return self.inspector_command("")

    def cpu_share(self, seconds):
        """The share of one core the program used over that time."""

        def ticks():
            with open(f"/proc/{self.proc.pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            return int(fields[11]) + int(fields[12])

        before, start = ticks(), time.monotonic()
        time.sleep(seconds)
        return (ticks() - before) / os.sysconf("SC_CLK_TCK") / (time.monotonic() - start)

    def top(self, cls, snap=None):
        hits = [w for w in (snap or self.snapshot())["windows"] if w["class"] == cls]
        return hits[0] if len(hits) == 1 else None

    def wait_top(self, cls, count=1):
        def found():
            hits = [w for w in self.snapshot()["windows"] if w["class"] == cls]
            return (hits,) if len(hits) == count else None

        return td.wait_for(f"{count} window(s) of class {cls}", found)[0]

    def child_at(self, window, box):
        near = [
            c for c in window["children"] if all(abs(a - b) <= 1 for a, b in zip(c["client"], box))
        ]
        assert len(near) == 1, f"{window['class']}: no one control at {box}: {near}"
        return near[0]

    def control(self, role, snap=None):
        name = self.facts.control("main", role)["name"]
        main = self.top(self.facts.window("main")["name"], snap)
        return next(c for c in main["children"] if c["hwnd"] == self.hwnd[name])

    def text(self, role, snap=None):
        return self.control(role, snap)["text"]

    def focused(self):
        focus = self.snapshot()["focus"]
        return next((name for name, hwnd in self.hwnd.items() if hwnd == focus), None)

    def heard(self, expected, since):
        td.wait_for(
            f"the announcement {expected}", lambda: self.said[since:] == expected, timeout=5
        )


# --- layout ----------------------------------------------------------------


def check_window(program, window, design, shot):
    """Every control of a window at its scaled place, with its text, font and colours."""
    dpi = program.dpi
    assert window["text"] == design["caption"], window["text"]
    assert window["client"][2:] == program.scaled(design["client"][2:]), window["client"]
    left, top = window["client"][:2]
    for c in design["controls"]:
        got = program.child_at(window, program.scaled(c["box"]))
        where = f"{design['name']}.{c['name']} at {dpi} dpi"
        assert got["class"] == KINDS[c["kind"]], (where, got["class"])
        assert got["text"] == c["text"], (where, got["text"])
        # The control's own font where it tells it, else one the program made.
        made = (
            [program.fonts[got["font"]]] if got["font"] in program.fonts else program.fonts.values()
        )
        want = ("Arial", RUSSIAN_CHARSET, c["bold"])
        assert any(f[1:] == want and abs(-f[0] - c["fontPx"] * dpi / 96) <= 1 for f in made), (
            where,
            "no font",
            want,
            c["fontPx"],
            sorted(set(f for f in made if f[2] == RUSSIAN_CHARSET)),
        )
        if c["kind"] != "label":
            continue
        bordered = bool(got["style"] & (WS_BORDER | SS_SUNKEN))
        assert bordered == c["border"], (where, hex(got["style"]))
        # Opaque: its own background at a corner, over the picture.
        x, y = left + got["client"][0] + 2 + c["border"], top + got["client"][1] + 1 + c["border"]
        assert shot.pixel(x, y) == rgb(c["background"]), (where, shot.pixel(x, y))
        if c["text"]:
            pixels = shot.region(
                left + got["client"][0], top + got["client"][1], *got["client"][2:]
            )
            ink = rgb(c["color"])
            assert any(close(p, ink, 40) for p in pixels), (where, "no text in", c["color"])
    return shot


def eventually(check, timeout=5.0):
    """The check's result once it passes; painting may still be under way."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            return check()
        except AssertionError:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.1)


def unescape(text):
    """Wine's escapes: \\xNN bytes of narrow strings, \\NNNN characters of wide ones."""
    return re.sub(r"\\x([0-9a-f]{2})|\\([0-9a-f]{4})", lambda m: chr(int(m[1] or m[2], 16)), text)


def rgb(channels):
    return tuple(channels)


def close(a, b, tolerance):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def layout(dpi, exe, inspector, shots=None):
    with td.Desktop(screen=(1600, 1200), window_manager=True, time_limit=150) as desktop:
        program = Program(desktop, exe, inspector, dpi=int(dpi), fonts=True)
        f = program.facts
        main_design, rule_design = f.window("main"), f.window("rule")
        main = program.top(main_design["name"])
        shot = eventually(lambda: check_window(program, main, main_design, desktop.shot()))
        if program.dpi == 96:
            # The picture, unscaled from the top left, where no control covers it.
            picture = td.Image.load(pathlib.Path(__file__).parents[2] / "assets/background.jpg")
            for x, y in ((3, 470), (350, 2), (690, 250)):
                assert close(
                    shot.pixel(main["client"][0] + x, main["client"][1] + y),
                    picture.pixel(x, y),
                    24,
                ), ("picture", x, y)
        oleacc(program, main)
        if shots:
            desktop.run(["import", "-window", program.wid, f"{shots}/windows-main.png"])
        desktop.click(program.wid, *[round(n * program.dpi / 96) for n in f.centre("main", "rule")])
        rule = program.wait_top(rule_design["name"])[0]
        assert rule["owner"] == 0, "the rule window has an owner"
        eventually(lambda: check_window(program, rule, rule_design, desktop.shot()))
        if shots:
            rid = desktop.find_window(rule_design["caption"])
            desktop.run(["import", "-window", rid, f"{shots}/windows-rule.png"])
        print(
            f"{len(main_design['controls'])} + {len(rule_design['controls'])} controls, "
            f"{len(program.fonts)} fonts traced at {dpi} dpi"
        )
    print("PASS")


def oleacc(program, main):
    """What oleacc tells a screen reader: Wine derives the names from the texts
    and gives the edit box its role; the annotated names and descriptions and
    the buttons' roles need Windows' own oleacc."""
    for c in program.facts.window("main")["controls"]:
        hwnd = program.hwnd[c["name"]]
        got = next(w for w in main["children"] if w["hwnd"] == hwnd)
        if c["kind"] == "button":
            assert got["acc"]["name"] == c["accessibleName"], (c["name"], got["acc"])
        if c["kind"] == "textbox":
            assert got["acc"]["role"] == ROLE_TEXT, (c["name"], got["acc"])
        # The annotations, as the program hands them to the system.
        for prop, key in (
            (NAME_PROPERTY, "accessibleName"),
            (DESCRIPTION_PROPERTY, "accessibleDescription"),
        ):
            design = program.facts.data["design"]["main"]["controls"]
            if next(d for d in design if d["name"] == c["name"])[key]:
                assert (hwnd, prop, c[key]) in program.annotations, (c["name"], key)


# --- the drill -------------------------------------------------------------


def main_usage():
    sys.exit(__doc__)


def dispatch(argv):
    command = argv[2] if len(argv) > 2 else None
    if command == "prefix" and len(argv) == 4:
        return make_prefix(argv[3])
    if command == "layout" and len(argv) in (6, 7):
        return layout(*argv[3:])
    if command == "drill" and len(argv) == 6:
        import wine_drill

        return wine_drill.drill(*argv[3:])
    if command == "behaviour" and len(argv) == 6:
        import wine_drill

        return wine_drill.behaviour(*argv[3:])
    if command == "msi" and len(argv) == 6:
        import wine_msi

        return wine_msi.msi(*argv[3:])
    main_usage()


if __name__ == "__main__":
    td.run_with_time_limit(600, dispatch, sys.argv)
