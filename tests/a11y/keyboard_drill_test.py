#!/usr/bin/python3
"""Plays a whole drill with the keyboard alone: Tab to move, typed answers, Space or
Return on the focused button. The screen is read through the accessibility bus only
to know which equation is shown and where the focus is.

usage: keyboard_drill_test.py PROGRAM QUESTION_TABLE_SOURCE
"""

import sys

import atspi_session as s

TITLE = "Перенос слагаемых из одной части уравнения в другую"
HINT = "Исправления - до нажатия ПРИНЯТЬ ОТВЕТ"
TAB_ORDER = ["Правило", "Начало", "Ещё пример", "Выход", "Ответ", "Принять ответ"]
WRONG = "x=1"

# How each question is answered; the rest are answered correctly.
PLAN = {
    3: "wrong",
    5: "skip",          # Принять ответ on an empty box, then on
    8: "wrong",
    11: "unconfirmed",  # Ещё пример before Принять ответ: asked to confirm first
    14: "corrected",    # a wrong answer retyped before Принять ответ
    17: "second try",   # only the first judged answer counts
}
EXPECTED_MISTAKES = 4  # 3, 5, 8 and 17


class Drill:
    def __init__(self, desktop, proc, questions):
        import pyatspi

        self.pyatspi = pyatspi
        self.desktop = desktop
        self.questions = questions
        self.app = s.find_application(proc.pid)
        self.window = s.the_one((c for c in s.children(self.app) if c.name == TITLE),
                                "main window")
        self.controls = s.children(self.window)
        self.answer = s.the_one((c for c in self.controls if s.role(c) == "text"), "answer box")

        def display(description):
            return s.the_one((c for c in self.controls if c.description == description),
                             description)

        self.problem = display("Уравнение")
        self.number = display("Номер вопроса")
        self.mistakes = display("Число ошибок")
        self.verdict = display("Результат проверки")

    def key(self, *keys):
        self.desktop.run(["xdotool", "key", "--delay", "8", *keys]).check_returncode()

    def type(self, text):
        self.desktop.run(["xdotool", "type", "--delay", "8", "--", text]).check_returncode()

    def focused(self):
        state = self.pyatspi.STATE_FOCUSED
        hits = [c.name for c in self.controls if s.has_state(c, state)]
        return hits[0] if len(hits) == 1 else None

    def expect_focus(self, name):
        s.wait_until(f"focus on {name}", lambda: self.focused() == name,
                     detail=f"focus is on {self.focused()!r}")

    def tab_to(self, name):
        for _ in range(len(TAB_ORDER)):
            if self.focused() == name:
                return
            before = self.focused()
            self.key("Tab")
            s.wait_until("the focus to move", lambda: self.focused() not in (None, before))
        self.expect_focus(name)

    def box_text(self):
        return self.answer.queryText().getText(0, -1)

    def type_answer(self, text):
        self.tab_to("Ответ")
        self.key("ctrl+a", "BackSpace")
        s.wait_until("an empty answer box", lambda: self.box_text() == "")
        if text:
            self.type(text)
            s.wait_until(f"{text!r} in the answer box", lambda: self.box_text() == text,
                         detail=f"the box holds {self.box_text()!r}")

    def accept(self, key, verdict):
        self.tab_to("Принять ответ")
        self.key(key)
        s.wait_until(f"the verdict {verdict!r}", lambda: self.verdict.name == verdict,
                     detail=f"the verdict line says {self.verdict.name!r}")
        self.expect_focus("Принять ответ")

    def alert(self):
        return next((c for c in s.children(self.app) if s.role(c) == "alert"), None)

    def dismiss_alert(self, text):
        box = s.wait_until(f"the message {text!r}", self.alert)
        texts = [d.name for d in s.descendants(box) if s.role(d) == "label"]
        assert text in texts, texts
        self.key("Return")
        s.wait_until("the message box to close", lambda: self.alert() is None)
        # A window manager would hand the keyboard back to the main window.
        self.desktop.focus_window(self.app.get_process_id())

    def next_example(self, number):
        self.tab_to("Ещё пример")
        self.key("space")
        if number <= 20:
            s.wait_until(f"question {number}", lambda: self.number.name == str(number))
            self.expect_focus("Ещё пример")


def main(program, question_source):
    questions = s.load_questions(question_source)
    with s.Desktop() as desktop:
        proc = desktop.start_program([program])
        drill = Drill(desktop, proc, questions)
        desktop.focus_window(proc.pid)

        drill.expect_focus("Правило")
        for name in TAB_ORDER[1:] + TAB_ORDER[:1]:
            drill.key("Tab")
            drill.expect_focus(name)
        drill.key("shift+Tab")
        drill.expect_focus("Принять ответ")

        drill.tab_to("Начало")
        drill.key("space")
        s.wait_until("the first problem", lambda: drill.problem.name in questions)
        assert drill.number.name == "1", drill.number.name
        drill.expect_focus("Начало")

        for number in range(1, 21):
            shown = drill.problem.name
            assert shown in questions, f"question {number}: unknown problem {shown!r}"
            right = questions[shown][number % 4]
            assert WRONG not in questions[shown]
            how = PLAN.get(number, "right")
            key = "Return" if number % 2 else "space"

            if how == "right":
                drill.type_answer(right)
                if number == 1:
                    # Enter in the answer box neither accepts nor moves on.
                    drill.key("Return")
                    s.pump(0.3)
                    assert drill.verdict.name == HINT, drill.verdict.name
                    assert drill.number.name == "1", drill.number.name
                    assert drill.box_text() == right, drill.box_text()
                    drill.expect_focus("Ответ")
                drill.accept(key, "Верно")
            elif how == "wrong":
                drill.type_answer(WRONG)
                drill.accept(key, "Ошибка")
            elif how == "skip":
                drill.type_answer("")
                drill.tab_to("Принять ответ")
                drill.key(key)
                s.pump(0.3)
                assert drill.verdict.name == HINT, drill.verdict.name
                drill.expect_focus("Принять ответ")
            elif how == "unconfirmed":
                drill.type_answer(right)
                drill.tab_to("Ещё пример")
                drill.key("space")
                drill.dismiss_alert("Подтвердите принятие ответа")
                drill.expect_focus("Ещё пример")
                assert drill.number.name == str(number), drill.number.name
                drill.accept(key, "Верно")
            elif how == "corrected":
                drill.type_answer(WRONG)
                drill.type_answer(right)
                drill.accept(key, "Верно")
            elif how == "second try":
                drill.type_answer(WRONG)
                drill.accept(key, "Ошибка")
                drill.type_answer(right)
                drill.accept(key, "Ошибка")
            print(f"question {number:2}: {shown:12} {how:11} -> {drill.verdict.name}")

            drill.next_example(number + 1)

        drill.dismiss_alert("Опрос окончен.")
        drill.expect_focus("Ещё пример")
        assert drill.mistakes.name == str(EXPECTED_MISTAKES), \
            f"mistakes shown {drill.mistakes.name!r}, made {EXPECTED_MISTAKES}"
        assert drill.number.name == "20", drill.number.name
        print("mistakes shown:", drill.mistakes.name)

        drill.tab_to("Выход")
        drill.key("space")
        s.expect_clean_exit(proc, "Выход")
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    s.run_with_time_limit(150, main, sys.argv[1], sys.argv[2])
