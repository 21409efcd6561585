#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program's own set-up, which the window tests do for themselves and
so cannot see: the window carries its icon, the buttons are drawn in the
Fusion style whatever style the desktop prefers, and Qt's own texts (here the
answer box's context menu) are in Russian whatever the desktop's language.

Usage: program_setup_e2e.py PROGRAM
"""

import re
import sys

import testdesktop as td


def main(program):
    facts = td.load_facts()
    button = facts.control("Form1", "accept")["box"]
    with td.Desktop(screen=(1024, 768), accessibility=True, time_limit=3 * td.PATIENCE) as desktop:
        import pyatspi
        from gi.repository import GLib

        # Qt reports the highlighted menu item as focused; listening before the
        # program starts, as a screen reader already running does.
        menus = []

        def on_focus(event):
            try:
                node = event.source
                if node.getRoleName() == "menu item" and node.parent is not None:
                    menus.append(
                        [node.parent.getChildAtIndex(i).name for i in range(node.parent.childCount)]
                    )
            except Exception:  # the menu may be gone already
                pass

        pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")

        def pumped(condition):
            def check():
                context = GLib.MainContext.default()
                while context.pending():
                    context.iteration(False)
                return condition()

            return check

        # A desktop whose own style is another: the program must still choose
        # Fusion, which paints buttons in their palette colour.
        app = desktop.start([program], env={"QT_STYLE_OVERRIDE": "Windows"})
        wid = desktop.find_window(facts.title, pid=app.pid, size=facts.client_size("Form1"))

        problems = []
        icon = desktop.run(["xprop", "-id", wid, "_NET_WM_ICON"]).stdout
        sizes = set(re.findall(r"Icon \((\d+) x \d+\)", icon))
        if not {"16", "32", "48"} <= sizes:
            problems.append(f"window icon sizes {sorted(sizes)}: {icon[:80]!r}")
        print("window icon sizes:", sorted(sizes, key=int))

        # Fusion outlines a button in a darker shade of its face; the Windows
        # style draws a white bevel along the top instead.
        left, top, width, height = button
        shot = desktop.settled_shot(
            wid, lambda s: s.pixel(left + width // 2, top + 3) != (0, 0, 0), "the button drawn"
        )
        edge = shot.pixel(left + width // 2, top)
        face = shot.pixel(left + width // 2, top + 3)
        if not all(e < f for e, f in zip(edge, face)):
            problems.append(
                f"button edge {edge} is not darker than its face {face}: " "not the Fusion style"
            )
        print("button edge", edge, "face", face)

        # The answer box's own menu, opened with the right button and walked
        # into with the keyboard.
        box = facts.control("Form1", "answerBox")["box"]
        desktop.run(
            [
                "xdotool",
                "mousemove",
                "--window",
                wid,
                str(box[0] + box[2] // 2),
                str(box[1] + box[3] // 2),
                "click",
                "3",
            ]
        )
        td.wait_for(
            "the context menu to open",
            lambda: len(
                desktop.run(
                    ["xdotool", "search", "--onlyvisible", "--pid", str(app.pid)], check=False
                ).stdout.split()
            )
            > 1,
        )
        desktop.key("Down")
        items = td.wait_for("the context menu on the accessibility bus", pumped(lambda: menus))[-1]
        texts = [item.split("\t")[0].replace("&", "") for item in items if item]
        print("context menu:", texts)
        for wanted in ("Копировать", "Вставить"):
            if wanted not in texts:
                problems.append(f"{wanted!r} not in the context menu {texts}")
        desktop.key("Escape")
    assert not problems, "\n".join(problems)
    print("PASS")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
