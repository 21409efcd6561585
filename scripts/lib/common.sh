# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Shared by the scripts in scripts/: installs missing Debian packages.
# Usage: ensure_packages LIST...  where each LIST names scripts/lib/packages-LIST.txt
#        ensure_i386  (before a list with :i386 packages: Wine runs 32-bit programs)

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

ensure_packages() {
    local wanted=() missing=() list pkg
    for list in "$@"; do
        while read -r pkg _; do
            [[ -z "$pkg" || "$pkg" == \#* ]] && continue
            wanted+=("$pkg")
        done <"$repo_root/scripts/lib/packages-$list.txt"
    done
    for pkg in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    ((${#missing[@]} == 0)) && return 0

    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || {
            echo "Missing packages: ${missing[*]} (run as root or install sudo)" >&2
            return 1
        }
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
}

ensure_i386() {
    dpkg --print-foreign-architectures | grep -qx i386 && return 0
    local sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    echo "Adding the i386 architecture"
    "${sudo[@]}" dpkg --add-architecture i386
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
}
