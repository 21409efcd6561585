# SPDX-License-Identifier: GPL-3.0-or-later
"""The drill played under Wine with real input, and the windows' behaviour:
message boxes, the rule window, the keyboard rules, the paste and the ways out.
The plan of answers is the desktop keyboard test's, replayed here."""

import os
import pathlib
import shutil
import sys

import testdesktop as td
from wine_msi import DEVICES, files, registry
from wine_test import PREFIX, SS_ICON, Program, close_box, set_dpi, settle

sys.path.insert(0, str(pathlib.Path(__file__).parents[1] / "a11y"))
os.environ["DRILL_FACTS"] = str(PREFIX / "facts.json")
from keyboard_drill_test import EXPECTED_MISTAKES, PLAN, WRONG  # noqa: E402

# The icon each message box shows, told apart by its colours on screen.
ICONS = {"confirmAnswer": "information", "drillOver": "information", "answerFirst": "warning"}
MESSAGE_TEXT_ID = 0xFFFF


def icon_kind(shot, box):
    pixels = shot.region(*box)
    blue = sum(1 for r, g, b in pixels if b > 150 and r < 120)
    yellow = sum(1 for r, g, b in pixels if r > 180 and g > 150 and b < 100)
    return "information" if blue > yellow else "warning" if yellow else None


class Driver:
    """Presses the table's controls by keyboard (Tab and Space or Return) or by mouse."""

    def __init__(self, program, by):
        self.p, self.by, self.d = program, by, program.desktop
        self.order = [
            c["name"]
            for c in sorted(
                (c for c in program.facts.window("main")["controls"] if c["tabIndex"] >= 0),
                key=lambda c: c["tabIndex"],
            )
        ]
        self.f = program.facts

    def name(self, role):
        return self.f.control("main", role)["name"]

    def focus(self, role):
        name = self.name(role)
        for _ in range(len(self.order) + 1):
            now = self.p.focused()
            if now == name:
                return
            self.d.key("Tab")
            td.wait_for("the focus to move", lambda: self.p.focused() != now)
        raise AssertionError(f"Tab never reached {name}")

    def press(self, role, key="space"):
        if self.by == "mouse":
            self.d.click(self.p.wid, *self.f.centre("main", role))
        else:
            self.focus(role)
            self.d.key(key)

    def type_answer(self, text):
        if self.by == "mouse":
            self.d.click(self.p.wid, *self.f.centre("main", "answerBox"))
        else:
            self.focus("answerBox")
        self.d.key("ctrl+a", "BackSpace")
        td.wait_for("an empty box", lambda: self.p.text("answerBox") == "")
        if text:
            self.d.type(text)
            td.wait_for(f"{text!r} typed", lambda: self.p.text("answerBox") == text)

    def wait_text(self, role, text):
        td.wait_for(f"{role} showing {text!r}", lambda: self.p.text(role) == text, timeout=5)

    def message(self, text_key):
        """The one message box: owned, modal, titled, with its text and icon; then OK."""
        box = self.p.wait_top("#32770")[0]
        main = self.p.top(self.f.window("main")["name"])
        assert box["owner"] == main["hwnd"], "the message box is not owned by the main window"
        assert not main["enabled"], "the main window takes input under its message box"
        assert box["text"] == self.f.title, box["text"]
        texts = [c["text"] for c in box["children"] if c["id"] == MESSAGE_TEXT_ID]
        assert texts == [self.f.texts[text_key]], texts
        icon = next(
            c for c in box["children"] if c["class"] == "Static" and c["style"] & 0xF == SS_ICON
        )
        x, y = box["client"][:2]
        shot = self.d.shot()
        kind = icon_kind(shot, (x + icon["client"][0], y + icon["client"][1], *icon["client"][2:]))
        assert kind == ICONS[text_key], (text_key, kind)
        # Its X window is its client area, titled as the box is.
        xwin = self.d.find_window(self.f.title, size=tuple(box["client"][2:]))
        if self.by == "mouse":
            ok = next(c for c in box["children"] if c["class"] == "Button")
            self.d.click(xwin, ok["client"][0] + 10, ok["client"][1] + 5)
        else:
            self.d.activate(xwin)
            inside = {c["hwnd"] for c in box["children"]}
            td.wait_for(
                "the box to take the keyboard", lambda: self.p.snapshot()["focus"] in inside
            )
            self.d.key("Return")
        self.p.wait_top("#32770", count=0)
        self.d.activate(self.p.wid)


def drill(by, exe, inspector):
    with td.Desktop(window_manager=True, time_limit=300) as desktop:
        program = Program(desktop, exe, inspector)
        f, drv = program.facts, Driver(program, by)
        correct, wrong = f.texts["correct"], f.texts["wrong"]
        problems = {q["problem"] for q in f.questions}
        assert program.focused() == drv.order[0], program.focused()

        mark = len(program.said)
        drv.press("start")
        drv.wait_text("questionNo", "1")
        for number in range(1, 21):
            shown = program.text("problem")
            assert shown in problems, shown
            program.heard([f.question_announcement(number, shown)], mark)
            right = f.answers(shown)[number % 4]
            how = PLAN.get(number, "right")
            key = "Return" if number % 2 else "space"
            said = len(program.said)

            def accept(verdict, heard=True):
                drv.press("accept", key)
                drv.wait_text("verdict", verdict)
                program.heard(
                    [f.announcements["correct" if verdict == correct else "wrong"]]
                    if heard
                    else [],
                    said,
                )

            if how == "right":
                drv.type_answer(right)
                accept(correct)
            elif how == "wrong":
                drv.type_answer(WRONG)
                accept(wrong)
            elif how == "skip":
                drv.type_answer("")
                drv.press("accept", key)
            elif how == "unconfirmed":
                drv.type_answer(right)
                drv.press("next")
                drv.message("confirmAnswer")
                assert program.text("questionNo") == str(number)
                accept(correct)
            elif how == "corrected":
                drv.type_answer(WRONG)
                drv.type_answer(right)
                accept(correct)
            elif how == "second try":
                drv.type_answer(WRONG)
                accept(wrong)
                said = len(program.said)
                drv.type_answer(right)
                drv.press("accept", key)
                program.heard([], said)
            mark = len(program.said)
            drv.press("next")
            if number < 20:
                drv.wait_text("questionNo", str(number + 1))
        drv.message("drillOver")
        drv.wait_text("mistakes", str(EXPECTED_MISTAKES))
        print(f"20 questions by {by}, {len(program.said)} announcements heard")
        if by == "keyboard":
            drv.press("quit")
            desktop.expect_exit(program.proc, after="Выход", timeout=15)
        else:
            # The close box ends the program too.
            close_box(desktop, program.wid)
            desktop.expect_exit(program.proc, after="the close box", timeout=15)
    print("PASS")


def behaviour(exe, inspector, planted):
    """Run as from a shared folder, with a library of a name it loads planted
    beside it: the planted one is never run, and the run writes nothing."""
    with td.Desktop(window_manager=True, time_limit=200) as desktop:
        desktop.env.update(td.wine_env(PREFIX))
        stick = PREFIX / "drive_c" / "stick"
        stick.mkdir(exist_ok=True)
        exe = shutil.copy(exe, stick)
        shutil.copy(planted, stick)
        set_dpi(desktop, 96)  # what the test itself writes, before it looks
        settle(desktop)
        before = files(), registry()
        # Wine takes a native copy of this library wherever the search finds one.
        overrides = td.wine_env(PREFIX)["WINEDLLOVERRIDES"]
        native = {"WINEDLLOVERRIDES": overrides + ";uiautomationcore=n,b"}
        # Started from its folder, as a double click on it does.
        program = Program(desktop, exe, inspector, env=native, cwd=stick)
        f, drv = program.facts, Driver(program, "keyboard")
        rule = f.window("rule")["name"]
        hint, start_text = f.texts["verdictHint"], program.text("answerBox")

        # Enter and Esc in the answer box: no default or cancel button.
        drv.focus("answerBox")
        desktop.key("Return", "Escape")
        drv.focus("accept")
        assert program.top("#32770") is None, "a key in the answer box raised a message"
        assert (program.text("answerBox"), program.text("verdict")) == (start_text, hint)

        # The rule: one window however often asked for, modeless, unowned, anew after a close.
        for _ in range(2):
            desktop.activate(program.wid)
            drv.press("rule")
            window = program.wait_top(rule)[0]
        assert window["owner"] == 0, "the rule window has an owner"
        assert program.top(program.main["class"])["enabled"], "the rule window is modal"
        rid = desktop.find_window(f.window("rule")["caption"])
        close_box(desktop, rid)
        program.wait_top(rule, count=0)
        desktop.activate(program.wid)
        drv.press("rule")
        program.wait_top(rule)

        # While a question waits for its answer the rule is refused with a warning;
        # the rule window, still open, leaves the main window usable.
        desktop.activate(program.wid)
        drv.press("start")
        drv.wait_text("questionNo", "1")
        drv.press("rule")
        drv.message("answerFirst")

        # A 1 MiB paste is cut to the box's limit and leaves the program idle.
        assert program.inspector_command(f"clip {1 << 20}") == {}
        drv.focus("answerBox")
        desktop.key("ctrl+a", "ctrl+v")
        limit = f.data["design"]["answerMaxLength"]
        td.wait_for("the paste", lambda: len(program.text("answerBox")) == limit, timeout=10)
        busy = program.cpu_share(2.0)
        assert busy < 0.2, f"the program used {busy:.0%} of a core after the paste"

        # The close box ends the program with the rule window open.
        close_box(desktop, program.wid)
        desktop.expect_exit(program.proc, after="the close box", timeout=15)
        assert not program.planted, "the library planted beside the program was loaded"
        program.inspector.stdin.close()
        settle(desktop)
        left = sorted(files() - before[0])
        keys = sorted(e for e in registry() - before[1] if not e.startswith(DEVICES))
        assert not left and not keys, f"the run wrote {left} {keys}"
        print(f"rule window, message box, paste ({busy:.0%} CPU after it) and close box")
    print("PASS")
