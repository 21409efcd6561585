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
from wine_test import PREFIX, close_box, facts, settle, wine

INSTALLER_FOLDERS = tuple(
    "\\\\" + name for name in ("Features", "Products", "UpgradeCodes", "Components")
)
DEVICES = r"[System\\CurrentControlSet\\Control\\Class"
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
    """(name, version, publisher, icon) of each entry in Programs and Features;
    Windows Installer keeps the icon with the product, under its code."""
    entries, icons = {}, {}
    for entry in registry():
        key, _, value = entry.partition(" ")
        name, _, data = value.partition("=")
        data = unescape(data.strip('"'))
        if UNINSTALL in key and value:
            entries.setdefault(key.rsplit("{", 1)[1].rstrip("}"), {})[name.strip('"')] = data
        elif name == '"ProductIcon"':
            icons[data] = True
    return [
        (
            e.get("DisplayName"),
            e.get("DisplayVersion"),
            e.get("Publisher"),
            any(code in icon for icon in icons),
        )
        for code, e in entries.items()
        if "DisplayName" in e
    ]


def newer_copy(msi, folder, version):
    """The same package as a later version, as its build writes it: a new product
    code, and the older versions it replaces (and the newer it refuses) moved up."""
    copy = pathlib.Path(folder) / "newer.msi"
    shutil.copy(msi, copy)
    code = "{" + str(uuid.uuid4()).upper() + "}"
    rows = subprocess.run(
        ["msiinfo", "export", str(copy), "Upgrade"],
        check=True,
        capture_output=True,
        text=True,
        timeout=30,
    ).stdout.splitlines()[3:]
    queries = [
        f"UPDATE Property SET Value='{version}' WHERE Property='ProductVersion'",
        f"UPDATE Property SET Value='{code}' WHERE Property='ProductCode'",
        "DELETE FROM Upgrade",
    ]
    for row in rows:  # the versions are keys: rows go and come back moved
        upgrade, low, high, language, attributes, remove, action = row.split("\t")
        low, high = low and version, high and version
        queries.append(
            "INSERT INTO Upgrade (UpgradeCode, VersionMin, VersionMax, Language, "
            f"Attributes, Remove, ActionProperty) VALUES ('{upgrade}', '{low}', "
            f"'{high}', '{language}', {attributes}, '{remove}', '{action}')"
        )
    for query in queries:
        subprocess.run(["msibuild", str(copy), "-q", query], check=True, timeout=30)
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

        # The shortcut names the installed program, which starts from there.
        # (Wine's shell does not open this link itself: "failed to get data object".)
        link = (PREFIX / "drive_c" / links[0]).read_bytes()
        target = "C:\\" + exe.replace("/", "\\")
        assert any(target.encode(code) in link for code in ("ascii", "utf-16-le")), "link target"
        program = desktop.start_windows([PREFIX / "drive_c" / exe], PREFIX)
        design = facts()
        wid = desktop.find_window(design.title, size=design.client_size("main"), timeout=40)
        close_box(desktop, wid)
        desktop.expect_exit(program, after="the close box", timeout=15)

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
        # Windows has the installer's cache folder from the start; Wine makes it now.
        left = sorted(files() - before_files - {"windows/Installer"})
        assert not left, f"left behind: {left}"
        # Left: only Windows Installer's own empty folders, which Windows has from
        # the start, and Wine's own device data of the display it started on.
        keys = sorted(
            e
            for e in registry() - before_registry
            if not (" " not in e and e.endswith(INSTALLER_FOLDERS)) and not e.startswith(DEVICES)
        )
        assert not keys, f"left in the registry: {keys}"
        print(f"installed, started, upgraded to {later}, removed: {os.path.basename(msi_path)}")
    print("PASS")
