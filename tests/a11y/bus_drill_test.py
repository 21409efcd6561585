#!/usr/bin/python3
"""Plays one question of the drill the way a screen reader user does: everything is
read and pressed through the accessibility bus, never through the screen.

usage: bus_drill_test.py PROGRAM QUESTION_TABLE_SOURCE
"""

import sys

import atspi_session as s

TITLE = "Перенос слагаемых из одной части уравнения в другую"
HINT = "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ"
ANSWER_FIRST = "Вначале дайте ответ, затем можете повторить правило."
RULE = ("При переносе слагаемого из одной части уравнения в другую, нужно поменять знак "
        "этого слагаемого на противоположный.")


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
            seen = (event.type, node.name,
                    node.description if event.type == self.DESCRIPTION else node.name)
        except Exception as error:  # the source may be gone already
            seen = (event.type, "?", repr(error))
        self.seen.append(seen)

    def clear(self):
        self.seen.clear()

    def matching(self, kind, source_name, text=""):
        return [e for e in self.seen if e[0] == kind and e[1] == source_name and text in e[2]]


def main(program, question_source):
    questions = s.load_questions(question_source)
    with s.Desktop() as desktop:
        import pyatspi

        # Listen before the program starts, as a screen reader running already
        # does: the bridge learns of listeners when it starts, and may miss some
        # registered while it is starting.
        events = Events()
        s.pump(0.2)
        proc = desktop.start_program([program])
        app = s.find_application(proc.pid)
        desktop.focus_window(proc.pid)
        window = s.the_one((c for c in s.children(app) if c.name == TITLE), "main window")
        assert s.role(window) == "frame", say(window)
        print("window:", say(window))

        controls = s.children(window)
        buttons = {c.name: c for c in controls if s.role(c) == "push button"}
        assert sorted(buttons) == sorted(
            ["Принять ответ", "Выход", "Ещё пример", "Начало", "Правило"]), sorted(buttons)
        answer = s.the_one((c for c in controls if s.role(c) == "text"), "answer box")
        assert answer.name == "Ответ", say(answer)

        def display(description):
            return s.the_one((c for c in controls
                              if s.role(c) == "label" and c.description == description),
                             f"display described as {description!r}")

        problem, number, mistakes, verdict = (display(d) for d in (
            "Уравнение", "Номер вопроса", "Число ошибок", "Результат проверки"))
        assert verdict.name == HINT, say(verdict)
        for node in (answer, *buttons.values()):
            print("before start:", say(node))

        s.press(buttons["Начало"])
        shown = s.wait_until("a problem on show", lambda: problem.name)
        assert shown in questions, f"unknown problem {shown!r}"
        assert number.name == "1", say(number)
        print("after Начало:", say(problem), "|", say(number))
        s.wait_until("the new problem in the controls' description",
                     lambda: shown in buttons["Принять ответ"].description)
        s.wait_until("a name change of the problem line signalled on the bus",
                     lambda: events.matching(Events.NAME, shown, shown), detail=events.seen)

        # Asking for the rule before answering is refused with a warning.
        s.press(buttons["Правило"])
        box = s.wait_until("the warning box", lambda: next(
            (c for c in s.children(app) if s.role(c) == "alert"), None))
        print("message box:", say(box))
        assert box.name == TITLE, say(box)
        texts = [d.name for d in s.descendants(box) if s.role(d) == "label"]
        assert ANSWER_FIRST in texts, texts
        ok = s.the_one((d for d in s.descendants(box) if s.role(d) == "push button"),
                       "button in the warning box")
        assert ok.name in ("OK", "ОК"), say(ok)
        print("  its text:", texts, "| its button:", say(ok))
        s.press(ok)
        s.wait_until("the warning box to close",
                     lambda: not any(s.role(c) == "alert" for c in s.children(app)))
        # A window manager would hand the keyboard back to the main window.
        desktop.focus_window(proc.pid)

        # Type the answer into the box through its editable-text interface.
        typed = questions[shown][0]
        answer.queryEditableText().setTextContents(typed)
        s.wait_until("the typed answer in the box",
                     lambda: answer.queryText().getText(0, -1) == typed)

        accept = buttons["Принять ответ"]
        accept.queryComponent().grabFocus()
        s.wait_until("focus on Принять ответ",
                     lambda: s.has_state(accept, pyatspi.STATE_FOCUSED))
        print("focused:", say(accept))
        events.clear()
        s.press(accept)
        s.wait_until("the verdict Верно", lambda: verdict.name == "Верно")
        heard = s.wait_until("the verdict in the focused button's description",
                             lambda: accept.description.endswith("Верно") and accept.description)
        assert shown in heard, heard
        assert s.has_state(accept, pyatspi.STATE_FOCUSED), "the focus left Принять ответ"
        s.wait_until("a description change of the focused button signalled on the bus",
                     lambda: events.matching(Events.DESCRIPTION, "Принять ответ", "Верно"),
                     detail=events.seen)
        print("after Принять ответ:", say(accept), "|", say(verdict))

        # Next question: the new problem reaches the focused button too.
        following = buttons["Ещё пример"]
        following.queryComponent().grabFocus()
        s.wait_until("focus on Ещё пример",
                     lambda: s.has_state(following, pyatspi.STATE_FOCUSED))
        events.clear()
        s.press(following)
        s.wait_until("question 2", lambda: number.name == "2")
        second = problem.name
        heard = s.wait_until("the second problem in the description",
                             lambda: second in following.description and following.description)
        assert heard == f"Уравнение {second}. {HINT}", heard
        # The verdict line and the problem line both changed: one announcement, not
        # a stale half first.
        s.pump(0.3)
        told = events.matching(Events.DESCRIPTION, "Ещё пример")
        assert len(told) == 1, told
        print("after Ещё пример:", say(following), "|", say(mistakes))
        assert mistakes.name == "", say(mistakes)

        # A wrong answer is told the same way.
        answer.queryEditableText().setTextContents("x=1")
        s.wait_until("the wrong answer in the box",
                     lambda: answer.queryText().getText(0, -1) == "x=1")
        assert "x=1" not in questions[second]
        accept.queryComponent().grabFocus()
        s.wait_until("focus on Принять ответ",
                     lambda: s.has_state(accept, pyatspi.STATE_FOCUSED))
        s.press(accept)
        heard = s.wait_until("the verdict Ошибка in the focused button's description",
                             lambda: accept.description.endswith("Ошибка") and accept.description)
        assert heard == f"Уравнение {second}. Ошибка", heard
        assert verdict.name == "Ошибка", say(verdict)
        print("after a wrong answer:", say(accept))

        # With an answer given the rule window opens and reads in full.
        s.press(buttons["Правило"])
        rule = s.wait_until("the rule window", lambda: next(
            (c for c in s.children(app) if c.name == "Правило"), None))
        print("rule window:", say(rule))
        assert s.role(rule) == "frame", say(rule)
        assert rule.description.startswith(RULE), rule.description
        assert rule.description.endswith("Например: 5-7x = 2x+8; -7x-2x = -5+8"), \
            rule.description
        labels = [" ".join(c.name.split()) for c in s.children(rule)]
        assert RULE in labels, labels

        s.press(buttons["Выход"])
        s.expect_clean_exit(proc, "Выход")
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    s.run_with_time_limit(100, main, sys.argv[1], sys.argv[2])
