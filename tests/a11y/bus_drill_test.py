#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays one question of the drill the way a screen reader user does: everything is
read and pressed through the accessibility bus, never through the screen.

usage: bus_drill_test.py PROGRAM
"""

import sys

import atspi_tree as s
import testdesktop as td

FACTS = td.load_facts()
TITLE = FACTS.title
HINT = FACTS.texts["verdictHint"]
ANSWER_FIRST = FACTS.texts["answerFirst"]
MAIN = FACTS.window("Form1")["controls"]
BUTTONS = [c["text"] for c in MAIN if c["kind"] == "button"]
ANSWER_NAME = FACTS.control("Form1", "answerBox")["accessibleName"]


def rule_text(name):
    """A rule window label's text as read, its runs of blanks read as one."""
    return " ".join(FACTS.control("Form2", name)["text"].split())


RULE = rule_text("Label4")
EXAMPLE = f"{rule_text('Label1')} {rule_text('Label2')}; {rule_text('Label3')}"


def say(node):
    """What a screen reader has to speak for a node: role, name, description."""
    return f"[{s.role(node)}] {node.name!r} / {node.description!r}"


class Events:
    """Collects the name and description changes the program signals on the bus.

    Qt sends the changed object, not the new text, with each change; the text is
    read back from the object as the event arrives.
    """

    NAME = "object:property-change:accessible-name"
    DESCRIPTION = "object:property-change:accessible-description"

    def __init__(self):
        import pyatspi

        self.seen = []
        pyatspi.Registry.registerEventListener(self._on_event, self.NAME, self.DESCRIPTION)

    def _on_event(self, event):
        try:
            node = event.source
            seen = (
                event.type,
                node.name,
                node.description if event.type == self.DESCRIPTION else node.name,
            )
        except Exception as error:  # the source may be gone already
            seen = (event.type, "?", repr(error))
        self.seen.append(seen)

    def clear(self):
        self.seen.clear()

    def matching(self, kind, source_name, text=""):
        return [e for e in self.seen if e[0] == kind and e[1] == source_name and text in e[2]]


def main(program):
    questions = {q["problem"] for q in FACTS.questions}
    with td.Desktop(accessibility=True, time_limit=600) as desktop:
        import pyatspi

        # Listen before the program starts, as a screen reader running already
        # does: the bridge learns of listeners when it starts, and may miss some
        # registered while it is starting.
        events = Events()
        s.pump(0.2)
        proc = desktop.start([program])
        app = s.find_application(proc.pid)
        main_window = desktop.find_window(TITLE, pid=proc.pid, size=FACTS.client_size("Form1"))
        desktop.activate(main_window)
        window = s.the_one((c for c in s.children(app) if c.name == TITLE), "main window")
        assert s.role(window) == "frame", say(window)
        print("window:", say(window))

        controls = s.children(window)
        buttons = {c.name: c for c in controls if s.role(c) == "push button"}
        assert sorted(buttons) == sorted(BUTTONS), sorted(buttons)
        answer = s.the_one((c for c in controls if s.role(c) == "text"), "answer box")
        assert answer.name == ANSWER_NAME, say(answer)

        def display(description):
            return s.the_one(
                (c for c in controls if s.role(c) == "label" and c.description == description),
                f"display described as {description!r}",
            )

        problem, number, mistakes, verdict = (
            display(FACTS.control("Form1", name)["accessibleDescription"])
            for name in ("problem", "questionNo", "mistakes", "verdict")
        )
        assert verdict.name == HINT, say(verdict)
        for node in (answer, *buttons.values()):
            print("before start:", say(node))

        s.press(buttons["Начало"])
        shown = s.wait_until("a problem on show", lambda: problem.name)
        assert shown in questions, f"unknown problem {shown!r}"
        assert number.name == "1", say(number)
        print("after Начало:", say(problem), "|", say(number))
        s.wait_until(
            "the new problem in the controls' description",
            lambda: shown in buttons["Принять ответ"].description,
        )
        s.wait_until(
            "a name change of the problem line signalled on the bus",
            lambda: events.matching(Events.NAME, shown, shown),
            detail=events.seen,
        )

        # Asking for the rule before answering is refused with a warning.
        s.press(buttons["Правило"])
        box = s.wait_until(
            "the warning box",
            lambda: next((c for c in s.children(app) if s.role(c) == "alert"), None),
        )
        print("message box:", say(box))
        assert box.name == TITLE, say(box)
        texts = [d.name for d in s.descendants(box) if s.role(d) == "label"]
        assert ANSWER_FIRST in texts, texts
        ok = s.the_one(
            (d for d in s.descendants(box) if s.role(d) == "push button"),
            "button in the warning box",
        )
        assert ok.name in ("OK", "ОК"), say(ok)
        print("  its text:", texts, "| its button:", say(ok))
        s.press(ok)
        s.wait_until(
            "the warning box to close",
            lambda: not any(s.role(c) == "alert" for c in s.children(app)),
        )
        # A window manager would hand the keyboard back to the main window.
        desktop.activate(main_window)

        # Type the answer into the box through its editable-text interface.
        typed = FACTS.answers(shown)[0]
        answer.queryEditableText().setTextContents(typed)
        s.wait_until(
            "the typed answer in the box", lambda: answer.queryText().getText(0, -1) == typed
        )

        accept = buttons["Принять ответ"]
        accept.queryComponent().grabFocus()
        s.wait_until("focus on Принять ответ", lambda: s.has_state(accept, pyatspi.STATE_FOCUSED))
        print("focused:", say(accept))
        events.clear()
        s.press(accept)
        s.wait_until("the verdict Верно", lambda: verdict.name == "Верно")
        heard = s.wait_until(
            "the verdict in the focused button's description",
            lambda: accept.description.endswith("Верно") and accept.description,
        )
        assert shown in heard, heard
        assert s.has_state(accept, pyatspi.STATE_FOCUSED), "the focus left Принять ответ"
        s.wait_until(
            "a description change of the focused button signalled on the bus",
            lambda: events.matching(Events.DESCRIPTION, "Принять ответ", "Верно"),
            detail=events.seen,
        )
        print("after Принять ответ:", say(accept), "|", say(verdict))

        # Next question: the new problem reaches the focused button too.
        following = buttons["Ещё пример"]
        following.queryComponent().grabFocus()
        s.wait_until("focus on Ещё пример", lambda: s.has_state(following, pyatspi.STATE_FOCUSED))
        events.clear()
        s.press(following)
        s.wait_until("question 2", lambda: number.name == "2")
        second = problem.name
        heard = s.wait_until(
            "the second problem in the description",
            lambda: second in following.description and following.description,
        )
        assert heard == f"Уравнение {second}. {HINT}", heard
        # The verdict line and the problem line both changed: one announcement, not
        # a stale half first.
        s.settle(following)
        told = events.matching(Events.DESCRIPTION, "Ещё пример")
        assert len(told) == 1, told
        print("after Ещё пример:", say(following), "|", say(mistakes))
        assert mistakes.name == "", say(mistakes)

        # A wrong answer is told the same way.
        answer.queryEditableText().setTextContents("x=1")
        s.wait_until(
            "the wrong answer in the box", lambda: answer.queryText().getText(0, -1) == "x=1"
        )
        assert "x=1" not in FACTS.answers(second)
        accept.queryComponent().grabFocus()
        s.wait_until("focus on Принять ответ", lambda: s.has_state(accept, pyatspi.STATE_FOCUSED))
        s.press(accept)
        heard = s.wait_until(
            "the verdict Ошибка in the focused button's description",
            lambda: accept.description.endswith("Ошибка") and accept.description,
        )
        assert heard == f"Уравнение {second}. Ошибка", heard
        assert verdict.name == "Ошибка", say(verdict)
        print("after a wrong answer:", say(accept))

        # With an answer given the rule window opens and reads in full.
        s.press(buttons["Правило"])
        rule = s.wait_until(
            "the rule window",
            lambda: next((c for c in s.children(app) if c.name == "Правило"), None),
        )
        print("rule window:", say(rule))
        assert s.role(rule) == "frame", say(rule)
        assert rule.description.startswith(RULE), rule.description
        assert rule.description.endswith(EXAMPLE), (rule.description, EXAMPLE)
        labels = [" ".join(c.name.split()) for c in s.children(rule)]
        assert RULE in labels, labels

        s.press(buttons["Выход"])
        desktop.expect_exit(proc, after="Выход")
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
