#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian package into this system, starts the installed program
# on a private X server (installed_run.py), closes it with its exit button,
# then purges the package and checks that none of its files are left behind.
#
# The system is left as it was: with a copy of the package already installed
# the test refuses to run.
#
# Usage: install_test.sh DEB APP_ID      (exits 77, "skipped", without root or
#                                         with the package already installed)
set -euo pipefail

deb=$1 app_id=$2
package=transpose-drill
program=/usr/bin/transpose-drill
here=$(cd "$(dirname "$0")" && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

as_root=()
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        as_root=(sudo -n)
    else
        echo "SKIP: installing a package needs root or passwordless sudo"
        exit 77
    fi
fi
for tool in apt-get dpkg-deb fc-match Xvfb xdotool xprop xwininfo; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[[ -f $deb ]] || fail "no package at $deb"

# What the program needs beyond its libraries is on this machine anyway, so
# running it here would not notice a package that fails to bring it: the
# package's FIELD must name the one that owns FILE here.
names_owner() { # FIELD FILE WHAT
    local field=$1 file=$2 what=$3 owner value
    owner=$(dpkg-query -S "$file" | head -n 1 | cut -d: -f1) || fail "no package here has $file"
    value=$(dpkg-deb -f "$deb" "$field")
    tr ',|' '\n' <<<"$value" | sed 's/^ *//; s/[ (].*//' | grep -qx "$owner" ||
        fail "$field does not name $owner, which has $what: ${value:-(none)}"
}
# The windows are drawn in Liberation Sans where Arial is missing, as on a
# fresh Debian: its package must come with ours.
font=$(fc-match -f '%{family[0]}\t%{file}' 'Liberation Sans')
[[ ${font%%$'\t'*} == "Liberation Sans" ]] || fail "Liberation Sans is not installed here"
names_owner Depends "${font#*$'\t'}" "the windows' font"
# Qt's own texts (the answer box's context menu) are Russian only with Qt's
# translations; English ones still work, so they are recommended.
names_owner Recommends '*/qt6/translations/qtbase_ru.qm' "Qt's Russian texts"

apt() {
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get -q -y -o DPkg::Lock::Timeout=120 "$@"
}
package_status() {
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true
}

work=$(mktemp -d)
installed=0
cleanup() {
    if ((installed)); then
        apt purge "$package" >/dev/null 2>&1 || echo "could not purge $package" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# A copy someone installed to use is not this test's to replace and purge.
if [[ $(package_status) == *" installed" ]]; then
    echo "SKIP: $package is installed on this machine; remove it first to run this test"
    exit 77
fi

# apt reads local packages as its own unprivileged user: give it a readable copy.
chmod 755 "$work"
cp "$deb" "$work/"
chmod 644 "$work/${deb##*/}"
installed=1
# --reinstall: the same version already installed must not stand in for this build.
apt install --reinstall "$work/${deb##*/}" || fail "apt-get install failed"
[[ $(package_status) == "install ok installed" ]] || fail "dpkg status after install: $(package_status)"
[[ -x $program ]] || fail "$program is not installed"
dpkg-query -L "$package" >"$work/files"

# --- run the installed program ----------------------------------------------
/usr/bin/python3 "$here/installed_run.py" "$program" "/usr/share/applications/$app_id.desktop" ||
    fail "the installed program did not run as it should"

# --- remove it again ---------------------------------------------------------
apt purge "$package" || fail "apt-get purge failed"
installed=0
status_after=$(package_status)
[[ -z $status_after || $status_after == *not-installed ]] || fail "dpkg status after purge: $status_after"

# Every file must be gone. A directory may stay only while another package
# owns it or something else (an icon cache, say) still lives in it.
left=()
while IFS= read -r path; do
    [[ $path == "/." ]] && continue
    if [[ -d $path && ! -L $path ]]; then
        if [[ -z $(ls -A "$path") ]] && ! dpkg-query -S "$path" >/dev/null 2>&1; then
            left+=("$path/")
        fi
    elif [[ -e $path || -L $path ]]; then
        left+=("$path")
    fi
done <"$work/files"
((${#left[@]} == 0)) || fail "left behind after purge: ${left[*]}"
echo "purged: none of the package's $(wc -l <"$work/files") paths is left"
