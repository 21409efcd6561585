#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the Windows executable's imports and size.

Usage: check_imports.py OBJDUMP EXE IMPORTS_TXT

Every DLL the executable imports from must be one Windows loads only from its
protected list (KnownDLLs), or comctl32, which the manifest takes side by side;
every function must stand in IMPORTS_TXT with its reason, and every line there
must still be imported. The executable is at most 1 MiB.
"""

import re
import subprocess
import sys

# Windows 7's KnownDLLs (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs),
# which later versions keep, and ntdll, loaded into every process first.
KNOWN_DLLS = {
    "advapi32.dll",
    "clbcatq.dll",
    "comdlg32.dll",
    "difxapi.dll",
    "gdi32.dll",
    "imagehlp.dll",
    "imm32.dll",
    "kernel32.dll",
    "lpk.dll",
    "msctf.dll",
    "msvcrt.dll",
    "normaliz.dll",
    "nsi.dll",
    "ntdll.dll",
    "ole32.dll",
    "oleaut32.dll",
    "psapi.dll",
    "rpcrt4.dll",
    "sechost.dll",
    "setupapi.dll",
    "shell32.dll",
    "shlwapi.dll",
    "user32.dll",
    "usp10.dll",
    "wldap32.dll",
    "ws2_32.dll",
}
SIDE_BY_SIDE = {"comctl32.dll"}
MAX_SIZE = 1 << 20


def imports(objdump, exe):
    """{(dll, function)} from objdump -p's import tables."""
    found, dll = set(), None
    text = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    delayed = re.search(r"^Entry d [0-9a-f]+ ([0-9a-f]+) Delay Import Directory", text, re.M)
    if not delayed or int(delayed.group(1), 16) != 0:
        sys.exit("delay-loaded imports are not allowed: load at run time from the system folder")
    for line in text.splitlines():
        if m := re.match(r"\s*DLL Name: (\S+)", line):
            dll = m.group(1).lower()
        elif dll and (m := re.match(r"\s+[0-9a-f]+\s+(\d+)\s+(\S+)\s*$", line)):
            found.add((dll, m.group(2)))
        elif dll and not line.strip():
            dll = None
    return found


def allowed(path):
    """{(dll, function): reason} from the committed list: "dll function reason"."""
    listed = {}
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split(None, 2)
            if len(parts) < 3:
                sys.exit(f"{path}:{number}: wants a DLL, a function and its reason")
            listed[(parts[0].lower(), parts[1])] = parts[2].strip()
    return listed


def main():
    objdump, exe, listed_path = sys.argv[1:]
    problems = []
    with open(exe, "rb") as program:
        size = len(program.read())
    if size > MAX_SIZE:
        problems.append(f"{exe} is {size} bytes, more than {MAX_SIZE}")
    found, listed = imports(objdump, exe), allowed(listed_path)
    if not found:
        problems.append("no imports read: objdump's output was not understood")
    for dll in sorted({dll for dll, _ in found} - KNOWN_DLLS - SIDE_BY_SIDE):
        problems.append(f"{dll} is no protected system library: load it at run time")
    for dll, function in sorted(found - listed.keys()):
        problems.append(f"{dll} {function} is imported but not in {listed_path}")
    for dll, function in sorted(listed.keys() - found):
        problems.append(f"{dll} {function} is in {listed_path} but no longer imported")
    for problem in problems:
        print(problem)
    print(f"{len(found)} imports from {len({dll for dll, _ in found})} libraries, {size} bytes")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
