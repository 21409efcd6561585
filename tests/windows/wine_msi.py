# SPDX-License-Identifier: GPL-3.0-or-later
"""The installer under Wine's msiexec, silent both ways, as Group Policy runs it:
the program and its Start-menu shortcut in place under their Russian names, the
entry in Programs and Features, the program started from the shortcut, a newer
package replacing this one, and nothing left behind after the uninstall."""

import os
import pathlib
import re
import shutil
import subprocess
import uuid

import testdesktop as td
from wine_test import PREFIX, wine

UNINSTALL = r"[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{"


def registry():
    """Every key and value of the prefix's registry, its machine and user halves."""
    entries = set()
    for hive in ("system.reg", "user.reg"):
        key = None
        for line in (PREFIX / hive).read_text(errors="replace").splitlines():
            if line.startswith("["):
                key = line.split("]")[0]
                entries.add(key)
            elif key and line.startswith(('"', "@")):
                entries.add(key + " " + line)
    return entries


def files():
    root = PREFIX / "drive_c"
    skip = ("windows/temp", "windows/logs", "users/")  # scratch, and the profile's temp
    found = set()
    for path in root.rglob("*"):
        rel = path.relative_to(root).as_posix()
        if not rel.startswith(skip) or "Start Menu" in rel:
            found.add(rel)
    return found


def unescape(text):
    return re.sub(r"\\x([0-9a-f]{1,4})", lambda m: chr(int(m[1], 16)), text)


def products():
    """(name, version, publisher, icon) of each entry in Programs and Features."""
    entries = {}
    for entry in registry():
        if UNINSTALL not in entry:
            continue
        key, _, value = entry.partition(" ")
        if value:
            name, _, data = value.partition("=")
            entries.setdefault(key, {})[name.strip('"')] = unescape(data.strip('"'))
    return [(e.get("DisplayName"), e.get("DisplayVersion"), e.get("Publisher"),
             e.get("DisplayIcon")) for e in entries.values() if "DisplayName" in e]


def settle(desktop):
    # The server writes the registry out when it ends.
    desktop.run(["wineserver", "-w"], timeout=60)


def newer_copy(msi, folder, version):
    """The same package as a later version: a new product code, as a release has."""
    copy = pathlib.Path(folder) / "newer.msi"
    shutil.copy(msi, copy)
    for prop, value in (("ProductVersion", version),
                        ("ProductCode", "{" + str(uuid.uuid4()).upper() + "}")):
        subprocess.run(["msibuild", str(copy), "-q",
                        f"UPDATE Property SET Value='{value}' WHERE Property='{prop}'"],
                       check=True, timeout=30)
    return copy


def msi(msi_path, name, version):
    with td.Desktop(window_manager=True, time_limit=240) as desktop:
        desktop.env.update(td.wine_env(PREFIX))
        settle(desktop)
        before_files, before_registry = files(), registry()

        wine(desktop, "msiexec", "/i", msi_path, "/qn")
        settle(desktop)
        added = files() - before_files
        exe = "Program Files/transpose-drill/transpose-drill.exe"
        assert exe in added, sorted(added)
        links = [p for p in added if p.endswith(f"Start Menu/Programs/{name}.lnk")]
        assert len(links) == 1, sorted(added)
        listed = [p for p in products() if p[0] == name]
        assert len(listed) == 1 and listed[0][1] == version, products()
        assert listed[0][2] and listed[0][3], f"no publisher or icon: {listed}"

        # Started from the shortcut, as from the Start menu.
        wine(desktop, "start", "/unix", str(PREFIX / "drive_c" / links[0]))
        facts = td.load_facts(str(PREFIX / "facts.json"))
        wid = desktop.find_window(facts.title, size=facts.client_size("main"), timeout=40)
        desktop.run(["xdotool", "windowactivate", "--sync", wid, "key", "alt+F4"])
        td.wait_for("the program to end", lambda: not desktop.run(
            ["xdotool", "search", "--name", "."], check=False).stdout.count(wid), timeout=15)

        # A newer package replaces this one: one entry, the newer version.
        major, minor, patch = (int(n) for n in version.split("."))
        later = f"{major}.{minor}.{patch + 1}"
        newer = newer_copy(msi_path, desktop.tmp, later)
        wine(desktop, "msiexec", "/i", newer, "/qn")
        settle(desktop)
        assert [p[1] for p in products() if p[0] == name] == [later], products()
        assert exe in files()

        wine(desktop, "msiexec", "/x", newer, "/qn")
        settle(desktop)
        left = sorted(files() - before_files)
        assert not left, f"left behind: {left}"
        keys = sorted(e for e in registry() - before_registry if "transpose" in e.lower()
                      or name in unescape(e) or "Uninstall\\\\{" in e)
        assert not keys, f"left in the registry: {keys}"
        print(f"installed, started, upgraded to {later}, removed: {os.path.basename(msi_path)}")
    print("PASS")
