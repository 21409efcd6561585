#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays a whole drill with the keyboard alone: Tab to move, typed answers, Space or
Return on the focused button. The screen is read through the accessibility bus only
to know which equation is shown and where the focus is.

usage: keyboard_drill_test.py PROGRAM
"""

import sys

import atspi_tree as s
import testdesktop as td

FACTS = td.load_facts()
TITLE = FACTS.title
HINT = FACTS.texts["verdictHint"]
# The controls that take the focus, by what a screen reader calls them, in tab order.
TAB_ORDER = [
    c["accessibleName"]
    for c in sorted(
        (c for c in FACTS.window("Form1")["controls"] if c["tabIndex"] >= 0),
        key=lambda c: c["tabIndex"],
    )
]
NAME = {role: FACTS.control("main", role)["accessibleName"] for role in FACTS.roles}
RULE, START, NEXT, EXIT, ANSWER, ACCEPT = (
    NAME[n] for n in ("rule", "start", "next", "quit", "answerBox", "accept")
)
CORRECT, WRONG_VERDICT = FACTS.texts["correct"], FACTS.texts["wrong"]
WRONG = "x=1"

# How each question is answered; the rest are answered correctly.
PLAN = {
    3: "wrong",
    5: "skip",  # Принять ответ on an empty box, then on
    8: "wrong",
    11: "unconfirmed",  # Ещё пример before Принять ответ: asked to confirm first
    14: "corrected",  # a wrong answer retyped before Принять ответ
    17: "second try",  # only the first judged answer counts
}
EXPECTED_MISTAKES = 4  # 3, 5, 8 and 17


class Drill:
    def __init__(self, desktop, proc):
        import pyatspi

        self.pyatspi = pyatspi
        self.desktop = desktop
        self.app = s.find_application(proc.pid)
        self.main_window = desktop.find_window(TITLE, pid=proc.pid, size=FACTS.client_size("Form1"))
        self.window = s.the_one((c for c in s.children(self.app) if c.name == TITLE), "main window")
        self.controls = s.children(self.window)
        self.answer = s.the_one((c for c in self.controls if s.role(c) == "text"), "answer box")

        def display(description):
            return s.the_one(
                (c for c in self.controls if c.description == description), description
            )

        self.problem, self.number, self.mistakes, self.verdict = (
            display(FACTS.control("Form1", name)["accessibleDescription"])
            for name in ("problem", "questionNo", "mistakes", "verdict")
        )

    def key(self, *keys):
        self.desktop.key(*keys)

    def type(self, text):
        self.desktop.type(text)

    def focused(self):
        state = self.pyatspi.STATE_FOCUSED
        hits = [c.name for c in self.controls if s.has_state(c, state)]
        return hits[0] if len(hits) == 1 else None

    def expect_focus(self, name):
        s.wait_until(
            f"focus on {name}",
            lambda: self.focused() == name,
            detail=f"focus is on {self.focused()!r}",
        )

    def tab_to(self, name):
        for _ in range(len(TAB_ORDER)):
            if self.focused() == name:
                return
            before = self.focused()
            self.key("Tab")
            s.wait_until("the focus to move", lambda: self.focused() not in (None, before))
        self.expect_focus(name)

    def settle_at(self, name):
        """Returns once the program has handled every key sent so far, the focus
        still on name: a Tab sent after them moves it on, Shift+Tab back."""
        self.key("Tab")
        self.expect_focus(TAB_ORDER[(TAB_ORDER.index(name) + 1) % len(TAB_ORDER)])
        self.key("shift+Tab")
        self.expect_focus(name)

    def box_text(self):
        return self.answer.queryText().getText(0, -1)

    def type_answer(self, text):
        self.tab_to(ANSWER)
        self.key("ctrl+a", "BackSpace")
        s.wait_until("an empty answer box", lambda: self.box_text() == "")
        if text:
            self.type(text)
            s.wait_until(
                f"{text!r} in the answer box",
                lambda: self.box_text() == text,
                detail=f"the box holds {self.box_text()!r}",
            )

    def accept(self, key, verdict):
        self.tab_to(ACCEPT)
        self.key(key)
        s.wait_until(
            f"the verdict {verdict!r}",
            lambda: self.verdict.name == verdict,
            detail=f"the verdict line says {self.verdict.name!r}",
        )
        self.expect_focus(ACCEPT)

    def alert(self):
        return next((c for c in s.children(self.app) if s.role(c) == "alert"), None)

    def dismiss_alert(self, text):
        box = s.wait_until(f"the message {text!r}", self.alert)
        texts = [d.name for d in s.descendants(box) if s.role(d) == "label"]
        assert text in texts, texts
        self.key("Return")
        s.wait_until("the message box to close", lambda: self.alert() is None)
        # A window manager would hand the keyboard back to the main window.
        self.desktop.activate(self.main_window)

    def next_example(self, number):
        self.tab_to(NEXT)
        self.key("space")
        if number <= 20:
            s.wait_until(f"question {number}", lambda: self.number.name == str(number))
            self.expect_focus(NEXT)


def main(program):
    problems = {q["problem"] for q in FACTS.questions}
    with td.Desktop(accessibility=True, time_limit=600) as desktop:
        proc = desktop.start([program])
        drill = Drill(desktop, proc)
        desktop.activate(drill.main_window)

        drill.expect_focus(RULE)
        for name in TAB_ORDER[1:] + TAB_ORDER[:1]:
            drill.key("Tab")
            drill.expect_focus(name)
        drill.key("shift+Tab")
        drill.expect_focus(ACCEPT)

        drill.tab_to(START)
        drill.key("space")
        s.wait_until("the first problem", lambda: drill.problem.name in problems)
        assert drill.number.name == "1", drill.number.name
        drill.expect_focus(START)

        for number in range(1, 21):
            shown = drill.problem.name
            assert shown in problems, f"question {number}: unknown problem {shown!r}"
            right = FACTS.answers(shown)[number % 4]
            assert WRONG not in FACTS.answers(shown)
            how = PLAN.get(number, "right")
            key = "Return" if number % 2 else "space"

            if how == "right":
                drill.type_answer(right)
                if number == 1:
                    # Enter in the answer box neither accepts nor moves on.
                    drill.key("Return")
                    drill.settle_at(ANSWER)
                    assert drill.verdict.name == HINT, drill.verdict.name
                    assert drill.number.name == "1", drill.number.name
                    assert drill.box_text() == right, drill.box_text()
                drill.accept(key, CORRECT)
            elif how == "wrong":
                drill.type_answer(WRONG)
                drill.accept(key, WRONG_VERDICT)
            elif how == "skip":
                drill.type_answer("")
                drill.tab_to(ACCEPT)
                drill.key(key)
                drill.settle_at(ACCEPT)
                assert drill.verdict.name == HINT, drill.verdict.name
            elif how == "unconfirmed":
                drill.type_answer(right)
                drill.tab_to(NEXT)
                drill.key("space")
                drill.dismiss_alert(FACTS.texts["confirmAnswer"])
                drill.expect_focus(NEXT)
                assert drill.number.name == str(number), drill.number.name
                drill.accept(key, CORRECT)
            elif how == "corrected":
                drill.type_answer(WRONG)
                drill.type_answer(right)
                drill.accept(key, CORRECT)
            elif how == "second try":
                drill.type_answer(WRONG)
                drill.accept(key, WRONG_VERDICT)
                drill.type_answer(right)
                drill.accept(key, WRONG_VERDICT)
            print(f"question {number:2}: {shown:12} {how:11} -> {drill.verdict.name}")

            drill.next_example(number + 1)

        drill.dismiss_alert(FACTS.texts["drillOver"])
        drill.expect_focus(NEXT)
        assert drill.mistakes.name == str(
            EXPECTED_MISTAKES
        ), f"mistakes shown {drill.mistakes.name!r}, made {EXPECTED_MISTAKES}"
        assert drill.number.name == "20", drill.number.name
        print("mistakes shown:", drill.mistakes.name)

        drill.tab_to(EXIT)
        drill.key("space")
        desktop.expect_exit(proc, after=EXIT)
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
