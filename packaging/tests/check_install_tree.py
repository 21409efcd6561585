#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Installs a build tree into a scratch prefix and checks that the desktop
files it lays out name one another and what is really installed: the menu
entry's program, icons and Russian lines, the metainfo's launchable, binary,
input controls and content rating, the manual page; and that the menu entry's own values file the drill where a school
desktop looks for it. Desktops fail quietly on such mismatches (no icon, no
menu entry, a second dock icon, a terminal opened with the program), so they
are checked here rather than found by users.

Usage: check_install_tree.py CMAKE BUILD_DIR SCRATCH_DIR APP_ID
"""

import configparser
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def main():
    cmake, build_dir, scratch, app_id = sys.argv[1:]
    root = Path(scratch)
    shutil.rmtree(root, ignore_errors=True)
    prefix = root / "usr"
    subprocess.run(
        [cmake, "--install", build_dir, "--prefix", str(prefix)],
        check=True,
        stdout=subprocess.DEVNULL,
    )

    problems = []
    share = prefix / "share"
    bindir = prefix / "bin"

    desktop_path = share / "applications" / f"{app_id}.desktop"
    metainfo_path = share / "metainfo" / f"{app_id}.metainfo.xml"
    for path in (desktop_path, metainfo_path):
        if not path.is_file():
            problems.append(f"not installed: {path.relative_to(root)}")
    if problems:
        return report(problems)

    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str  # keys are case-sensitive
    entry.read(desktop_path, encoding="utf-8")
    desktop = entry["Desktop Entry"]

    # What the menu does with the entry: a syntactically valid entry can
    # still file the drill under the wrong menu or open a terminal with it.
    expected = {
        "Type": "Application",
        "Terminal": "false",
        "Icon": app_id,
    }
    for key, value in expected.items():
        if desktop.get(key) != value:
            problems.append(f"{key}={desktop.get(key)!r}, expected {value!r}")
    # The program takes no files, URLs or options: no field codes either.
    if len(desktop.get("Exec", "").split()) != 1:
        problems.append(f"Exec={desktop.get('Exec')!r} should be the program alone")
    # A drill for school: Education is the main category menus file it under.
    categories = [c for c in desktop.get("Categories", "").split(";") if c]
    if categories != ["Education", "Math"]:
        problems.append(f"Categories {categories!r}, expected ['Education', 'Math']")
    for key in ("NoDisplay", "Hidden"):
        if desktop.get(key, "false") != "false":
            problems.append(f"{key}={desktop.get(key)!r} keeps the entry out of menus")

    # The program speaks only Russian: its menu name is the Russian one in
    # every language, the same as the software centre shows.
    component = ET.parse(metainfo_path).getroot()
    russian_name = component.findtext("name[@{http://www.w3.org/XML/1998/namespace}lang='ru']")
    for key in ("Name", "Name[ru]"):
        if not desktop.get(key) or desktop.get(key) != russian_name:
            problems.append(
                f"{key}={desktop.get(key)!r}, expected the metainfo's Russian "
                f"name {russian_name!r}"
            )

    # Exec must name the program, not a path: the tree may be installed to
    # any prefix, and the program is found on PATH.
    program = desktop.get("Exec", "").split()[0] if desktop.get("Exec") else ""
    if not program or "/" in program:
        problems.append(f"Exec should name the program only: {program!r}")
    elif not os.access(bindir / program, os.X_OK):
        problems.append(f"Exec names {program!r}, which is not an installed program")
    elif not (share / "man" / "man1" / f"{program}.1.gz").is_file():
        problems.append(f"no manual page for {program}")

    # Qt names the window class after the executable; a mismatch gives the
    # running program a second, icon-less dock entry.
    if desktop.get("StartupWMClass") != program:
        problems.append(
            f"StartupWMClass {desktop.get('StartupWMClass')!r} "
            f"is not the program name {program!r}"
        )

    # Menus look for 48x48, software centres for 64x64 and larger, and any
    # size the theme lacks is drawn from the scalable picture.
    icon = desktop.get("Icon", "")
    hicolor = share / "icons" / "hicolor"
    for size, ext in (("48x48", "png"), ("64x64", "png"), ("128x128", "png"), ("scalable", "svg")):
        if not (hicolor / size / "apps" / f"{icon}.{ext}").is_file():
            problems.append(f"Icon {icon!r} has no {size} picture in hicolor")

    # Menus show the entry's lines in the desktop's language: without the
    # Russian ones a Russian desktop shows the English comment.
    for key in ("GenericName", "Comment", "Keywords"):
        if desktop.get(key) and not desktop.get(f"{key}[ru]"):
            problems.append(f"{key} has no Russian {key}[ru]")

    if component.findtext("id") != app_id:
        problems.append(f"metainfo id {component.findtext('id')!r} is not {app_id!r}")
    launchable = component.findtext("launchable[@type='desktop-id']")
    if launchable != desktop_path.name:
        problems.append(f"metainfo launchable {launchable!r} is not {desktop_path.name!r}")
    for binary in component.findall("provides/binary"):
        if not os.access(bindir / binary.text, os.X_OK):
            problems.append(f"metainfo provides {binary.text!r}, which is not installed")
    if not component.findall("provides/binary"):
        problems.append("metainfo provides no binary")
    # Software centres say from these whether it works by keyboard alone.
    controls = {c.text for c in component.findall("supports/control")}
    if not {"pointing", "keyboard"} <= controls:
        problems.append(
            f"metainfo supports controls {sorted(controls)}, " "expected pointing and keyboard"
        )

    # Software centres with parental controls show a program without a rating
    # as unrated; the validator only notes its absence as an info.
    rating = component.find("content_rating")
    if rating is None or not rating.get("type", "").startswith("oars-"):
        problems.append("metainfo has no OARS content_rating: software centres show it unrated")

    # AppStream's own look at the tree as a whole (desktop entry included).
    tree = subprocess.run(
        ["appstreamcli", "validate-tree", "--no-net", str(root)],
        stdout=subprocess.PIPE,
        stderr=subprocess.STDOUT,
        text=True,
    )
    if tree.returncode != 0:
        problems.append("appstreamcli validate-tree:\n" + tree.stdout)
    else:
        print(tree.stdout)

    return report(problems)


def report(problems):
    for problem in problems:
        print(f"FAIL: {problem}", file=sys.stderr)
    if not problems:
        print("install tree consistent")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
